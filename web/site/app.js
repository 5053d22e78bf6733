// Sorvane in the browser. Every date, name and time on this page comes from the program's
// C++ core compiled to WebAssembly (sorvane-cli.js): the terminal program's JSON documents
// (window.sorvane) and the calendar page's month and day documents. This script only lays
// them out.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const decoder = new TextDecoder();
  const core = SorvaneModule();

  // --- window.sorvane: the terminal program's JSON, the same bytes as sorvane-cli ---------
  async function run(args) {
    const m = await core;
    const r = m.runCli(args.map(String));
    return { status: r.status, stdout: decoder.decode(r.stdout), stderr: decoder.decode(r.stderr) };
  }
  async function json(args) {
    const r = await run(args);
    if (r.status !== 0) {
      const e = new Error(r.stderr.trim() || 'sorvane-cli: status ' + r.status);
      e.status = r.status;
      throw e;
    }
    return JSON.parse(r.stdout);
  }
  function placeArgs(place) {
    if (place === undefined || place === null || place === '') {
      return [];
    }
    if (typeof place === 'string') {
      return ['--place', place];
    }
    return ['--lat', String(place.lat), '--lon', String(place.lon)];
  }
  function rangeArgs(from, to) {
    return (from ? ['--from', from] : []).concat(to ? ['--to', to] : []);
  }
  window.sorvane = {
    run: run,
    days: (year) => json([year, '--days', '--json']),
    notes: (year) => json([year, '--notes', '--json']),
    find: (query, from, to) => json(['--find', query].concat(rangeArgs(from, to), ['--json'])),
    sun: (year, place) => json([year, '--sun'].concat(placeArgs(place), ['--json'])),
    year: (year) => json([year, '--json']),
  };

  // --- The calendar page's documents --------------------------------------------------------
  let page = null;
  async function pageDoc(fn, types, args) {
    const m = await core;
    if (page === null) {
      page = m.ccall('sorvane_page_new', 'number', [], []);
      if (!page) {
        throw new Error('暦の表を読み込めませんでした');
      }
    }
    const doc = JSON.parse(m.ccall(fn, 'string', ['number'].concat(types), [page].concat(args)));
    if (doc.error) {
      throw new Error(doc.error);
    }
    return doc;
  }
  const monthDoc = (y, mo) => pageDoc('sorvane_page_month', ['number', 'number'], [y, mo]);
  const dayDoc = (y, mo, d, place) =>
    pageDoc('sorvane_page_day', ['number', 'number', 'number', 'string', 'number', 'number'],
      [y, mo, d, typeof place === 'string' ? place : '',
        typeof place === 'string' ? 0 : place.lat, typeof place === 'string' ? 0 : place.lon]);

  // --- State --------------------------------------------------------------------------------
  const store = {
    get(key, fallback) {
      try {
        const v = localStorage.getItem('sorvane.' + key);
        return v === null ? fallback : JSON.parse(v);
      } catch (e) {
        return fallback;
      }
    },
    set(key, value) {
      try {
        localStorage.setItem('sorvane.' + key, JSON.stringify(value));
      } catch (e) { /* private mode: kept for this visit only */ }
    },
  };
  const pad = (n, w) => String(Math.abs(n)).padStart(w, '0');
  const isoYear = (y) => (y < 0 ? '-' + pad(y, 4) : pad(y, 4));
  const isoDate = (y, m, d) => isoYear(y) + '-' + pad(m, 2) + '-' + pad(d, 2);
  function todayInJapan() {
    const parts = new Intl.DateTimeFormat('en-CA', {
      timeZone: 'Asia/Tokyo', year: 'numeric', month: '2-digit', day: '2-digit',
    }).formatToParts(new Date());
    const get = (t) => Number(parts.find((p) => p.type === t).value);
    return { y: get('year'), m: get('month'), d: get('day') };
  }
  function parseDate(text) {
    const m = /^(-?\d{4,5})-(\d{2})(?:-(\d{2}))?$/.exec(text);
    return m ? { y: Number(m[1]), m: Number(m[2]), d: m[3] ? Number(m[3]) : 0 } : null;
  }
  // Moves a day by n days (the proleptic Gregorian calendar of JavaScript's Date).
  function addDays(y, m, d, n) {
    const t = new Date(0);
    t.setUTCFullYear(y, m - 1, d + n);
    return { y: t.getUTCFullYear(), m: t.getUTCMonth() + 1, d: t.getUTCDate() };
  }
  const today = todayInJapan();
  const state = {
    y: today.y, m: today.m, selected: null, doc: null,
    notes: store.get('notes', false),
    place: store.get('place', '東京'),
  };

  function status(text, isError) {
    const s = $('status');
    s.textContent = text || '';
    s.classList.toggle('error', !!isError);
    s.hidden = !text;
  }

  // --- The month page ------------------------------------------------------------------------
  const phaseSymbols = { '朔': '●', '上弦': '◐', '望': '○', '下弦': '◑' };
  function el(tag, cls, text) {
    const e = document.createElement(tag);
    if (cls) {
      e.className = cls;
    }
    if (text !== undefined) {
      e.textContent = text;
    }
    return e;
  }
  function dayContent(cell) {
    const box = el('div', 'day');
    box.dataset.date = cell.date;
    const head = el('div', 'head');
    head.appendChild(el('span', 'num', String(cell.day)));
    if (cell.phase) {
      head.appendChild(el('span', 'phase', phaseSymbols[cell.phase.name] || cell.phase.name));
      head.lastChild.title = cell.phase.name + ' ' + cell.phase.time;
    }
    if (cell.rokuyo) {
      head.appendChild(el('span', 'rokuyo', cell.rokuyo));
    }
    box.appendChild(head);
    if (cell.holiday) {
      box.appendChild(el('div', 'holiday', cell.holiday));
    }
    const sub = [cell.lunar, cell.kanshi].filter(Boolean).join(' ');
    box.appendChild(el('div', 'sub', sub));
    for (const mark of cell.marks) {
      box.appendChild(el('div', 'mark', mark));
    }
    if (state.notes) {
      for (const line of cell.notes) {
        box.appendChild(el('div', 'note', line));
      }
    }
    if (cell.period) {
      const band = el('div', 'band' + (cell.period.first ? ' first' : '') + (cell.period.last ? ' last' : ''),
        cell.period.first || cell.day === 1 ? cell.period.name : '\u00a0');
      band.title = cell.period.name;
      box.appendChild(band);
    }
    const cls = ['cell'];
    // Weekdays as the core counts them: 1 Sunday .. 7 Saturday.
    if (cell.weekday === 1 || cell.holiday) {
      cls.push('red');
    } else if (cell.weekday === 7) {
      cls.push('blue');
    }
    if (cell.date === isoDate(today.y, today.m, today.d)) {
      cls.push('today');
    }
    return { box, cls };
  }
  function smallMonth(target, small) {
    target.textContent = '';
    if (!small) {
      return;
    }
    const t = el('table', 'mini');
    const cap = el('caption', null, small.month + '月');
    t.appendChild(cap);
    let tr = el('tr');
    const lead = small.firstWeekday - 1; // blank squares before the 1st
    for (let i = 0; i < lead; i++) {
      tr.appendChild(el('td'));
    }
    for (let d = 1; d <= small.days; d++) {
      if (tr.children.length === 7) {
        t.appendChild(tr);
        tr = el('tr');
      }
      const td = el('td', null, String(d));
      const wd = (lead + d - 1) % 7; // 0 Sunday .. 6 Saturday
      if (wd === 0 || small.holidays.includes(d)) {
        td.className = 'red';
      } else if (wd === 6) {
        td.className = 'blue';
      }
      tr.appendChild(td);
    }
    t.appendChild(tr);
    target.appendChild(t);
    target.onclick = () => showMonth(small.year, small.month);
  }
  function renderMonth(doc) {
    state.doc = doc;
    $('title-month').textContent = doc.month + '月';
    $('title-year').textContent = [doc.yearText + '年', doc.era, doc.yearKanshi + '年'].filter(Boolean).join('　');
    smallMonth($('small-prev'), doc.previous);
    smallMonth($('small-next'), doc.next);
    const body = document.createElement('tbody');
    const rows = [];
    for (let r = 0; r < doc.rows; r++) {
      const tr = el('tr');
      for (let c = 0; c < 7; c++) {
        tr.appendChild(el('td'));
      }
      rows.push(tr);
      body.appendChild(tr);
    }
    const list = $('daylist');
    list.textContent = '';
    for (const cell of doc.cells) {
      if (cell.slot.part === 'hidden') {
        continue;
      }
      const td = rows[cell.slot.row].children[cell.slot.column];
      if (!cell.inMonth) {
        td.className = 'out';
        td.appendChild(el('div', 'num', String(cell.day)));
        continue;
      }
      const { box, cls } = dayContent(cell);
      if (cell.slot.part !== 'whole') {
        td.classList.add('split');
        box.classList.add(cell.slot.part);
      }
      box.classList.add(...cls);
      box.tabIndex = -1;
      td.appendChild(box);
      // The phone's list: the same day again, one a line.
      const li = dayContent(cell);
      li.box.classList.add(...li.cls);
      li.box.querySelector('.num').textContent = cell.day + '日（' + '日月火水木金土'[cell.weekday - 1] + '）';
      const item = el('li');
      item.appendChild(li.box);
      list.appendChild(item);
    }
    $('grid').replaceChild(body, $('grid').tBodies[0]);
    $('limits').textContent = doc.limitNotes.join('　');
    $('mode').textContent = doc.modeText;
    $('year-input').value = doc.year;
    $('month-input').value = doc.month;
    document.title = '暦 ' + doc.yearText + '年' + doc.month + '月 — Sorvane';
  }
  async function showMonth(y, m, selectDay) {
    if (y < -32768 || y > 32767) {
      return;
    }
    try {
      const doc = await monthDoc(y, m);
      state.y = y;
      state.m = m;
      renderMonth(doc);
      const day = selectDay || (state.selected && state.selected.y === y && state.selected.m === m
        ? state.selected.d : (y === today.y && m === today.m ? today.d : 1));
      await selectDate(y, m, day, !!selectDay);
      const hash = selectDay ? isoDate(y, m, selectDay) : isoYear(y) + '-' + pad(m, 2);
      if (location.hash !== '#' + hash) {
        history.replaceState(null, '', '#' + hash);
      }
      status('');
    } catch (e) {
      status(e.message, true);
    }
  }
  async function selectDate(y, m, d, focus) {
    state.selected = { y, m, d };
    const date = isoDate(y, m, d);
    for (const e of document.querySelectorAll('.day.selected')) {
      e.classList.remove('selected');
    }
    const cells = document.querySelectorAll('.day[data-date="' + date + '"]');
    for (const e of cells) {
      e.classList.add('selected');
    }
    if (focus && cells[0]) {
      cells[0].focus({ preventScroll: true });
    }
    try {
      const doc = await dayDoc(y, m, d, state.place);
      const pane = $('details');
      pane.textContent = '';
      const lines = doc.details.slice();
      pane.appendChild(el('h2', null, lines.shift()));
      for (const line of lines) {
        pane.appendChild(el('p', null, line));
      }
      if (doc.sky.length) {
        pane.appendChild(el('h3', null, doc.place.replace(/^日の出入り・月の出入り：/, '')));
        for (const line of doc.sky) {
          pane.appendChild(el('p', 'sky', line));
        }
      }
      if (state.notes) {
        pane.appendChild(el('h3', null, '暦注'));
        for (const line of doc.notes) {
          pane.appendChild(el('p', 'note', line));
        }
      }
    } catch (e) {
      status(e.message, true);
    }
  }
  // The length of a month (JavaScript's proleptic Gregorian calendar).
  function daysIn(y, m) {
    const t = new Date(0);
    t.setUTCFullYear(y, m, 0);
    return t.getUTCDate();
  }
  // Turns the page by n months, keeping the selected day of the month where the month has it.
  function stepMonth(n) {
    const t = state.y * 12 + (state.m - 1) + n;
    const y = Math.floor(t / 12);
    const m = ((t % 12) + 12) % 12 + 1;
    showMonth(y, m, state.selected ? Math.min(state.selected.d, daysIn(y, m)) : undefined);
  }
  function moveSelection(n) {
    const s = state.selected || { y: state.y, m: state.m, d: 1 };
    const t = addDays(s.y, s.m, s.d, n);
    if (t.y === state.y && t.m === state.m) {
      selectDate(t.y, t.m, t.d, true);
      history.replaceState(null, '', '#' + isoDate(t.y, t.m, t.d));
    } else {
      showMonth(t.y, t.m, t.d);
    }
  }

  // --- The year ------------------------------------------------------------------------------
  async function showYear(y) {
    $('year-only').value = y;
    $('year-theory-text').hidden = true;
    const body = $('year-body');
    try {
      const precise = y >= -1999 && y <= 3000;
      const doc = await json([y, '--json', '--zassetsu'].concat(precise ? ['--precise'] : [])
        .concat(y >= 1948 && y <= 2100 ? ['--holidays'] : []));
      body.textContent = '';
      body.appendChild(el('h2', null, y + '年の二十四節気と土用' +
        (doc.mode === 'precise' ? '（国立天文台と同じ計算方法）' : '（既定の理論）')));
      const t = el('table', 'moments');
      for (const e of doc.events) {
        const tr = el('tr');
        // The month the line belongs to, then the line as the program prints it.
        tr.appendChild(el('td', 'month', e.month + '月'));
        tr.appendChild(el('td', 'line', e.line));
        t.appendChild(tr);
      }
      body.appendChild(t);
      if (doc.zassetsu) {
        body.appendChild(el('h2', null, '雑節'));
        const z = el('ul', 'plain');
        for (const e of doc.zassetsu) {
          z.appendChild(el('li', null, e.line.trim()));
        }
        body.appendChild(z);
      }
      if (doc.holidays && doc.holidays.length) {
        body.appendChild(el('h2', null, '祝日'));
        const h = el('ul', 'plain');
        for (const e of doc.holidays) {
          h.appendChild(el('li', null, e.date + '　' + e.name));
        }
        body.appendChild(h);
      }
      status('');
    } catch (e) {
      body.textContent = '';
      status(e.message, true);
    }
  }

  // --- 日を探す: in a worker, restarted whenever the query changes --------------------------
  let finder = null;
  let findSerial = 0;
  const senjitsu = ['一粒万倍日', '天赦日', '寅の日', '巳の日', '己巳の日', '甲子の日', '不成就日',
    '三隣亡', '八専', '十方暮', '天一天上'];
  const findGroups = {
    'find-rokuyo': ['大安', '友引', '先勝', '先負', '赤口', '仏滅'],
    'find-week': ['月', '火', '水', '木', '金', '土', '日', '祝日', '休日'],
    // 危 is also a 二十八宿: the query names its kind.
    'find-choku': ['建', '除', '満', '平', '定', '執', '破', '十二直:危', '成', '納', '開', '閉'],
    'find-kyusei': ['一白水星', '二黒土星', '三碧木星', '四緑木星', '五黄土星', '六白金星', '七赤金星',
      '八白土星', '九紫火星'],
    'find-senjitsu': senjitsu,
    'find-senjitsu-not': senjitsu,
  };
  function checked(id) {
    return Array.from($(id).querySelectorAll('input:checked')).map((i) => i.value);
  }
  function findQuery() {
    const words = [];
    for (const id of ['find-rokuyo', 'find-week', 'find-choku', 'find-kyusei']) {
      const names = checked(id);
      if (names.length) {
        words.push(names.join('|'));
      }
    }
    const sen = checked('find-senjitsu');
    if (sen.length) {
      const all = document.querySelector('input[name="senjitsu-mode"]:checked').value === 'all';
      words.push(all ? sen.join(' ') : sen.join('|'));
    }
    for (const n of checked('find-senjitsu-not')) {
      words.push('-' + n);
    }
    const typed = $('find-query').value.trim();
    if (typed) {
      words.push(typed);
    }
    return words.join(' ');
  }
  function startFind() {
    const query = findQuery();
    const from = $('find-from').value;
    const to = $('find-to').value;
    store.set('find', { query: $('find-query').value, from, to });
    if (finder) {
      finder.terminate(); // the last query's search, if still running, is dropped
      finder = null;
    }
    const serial = ++findSerial;
    if (!query) {
      $('find-count').textContent = '条件を入れてください';
      $('find-list').textContent = '';
      $('find-notes').textContent = '';
      return;
    }
    $('find-count').textContent = '探しています…';
    finder = new Worker('worker.js');
    finder.onmessage = (ev) => {
      if (serial !== findSerial) {
        return;
      }
      finder.terminate();
      finder = null;
      showFound(ev.data);
    };
    finder.postMessage({ args: ['--find', query].concat(rangeArgs(from, to), ['--json']) });
  }
  function showFound(r) {
    const list = $('find-list');
    list.textContent = '';
    const notes = r.stderr.split('\n').filter(Boolean).map((l) => l.replace(/^sorvane-cli: (note: )?/, ''));
    $('find-notes').textContent = r.status === 0 ? notes.join('　') : '';
    if (r.status !== 0) {
      $('find-count').textContent = notes.join('　');
      return;
    }
    const doc = JSON.parse(r.stdout);
    $('find-count').textContent = doc.count + '日';
    for (const day of doc.days) {
      const li = el('li');
      const a = el('a', null, day.date + '（' + day.weekday + '）');
      a.href = '#' + day.date;
      li.appendChild(a);
      li.appendChild(el('span', 'why', ' ' + (day.notes || []).join('・')));
      list.appendChild(li);
    }
  }

  // --- Calendar files ------------------------------------------------------------------------
  async function download(args, name, statusId) {
    const r = await run(args);
    const text = r.stderr.split('\n').filter(Boolean).map((l) => l.replace(/^sorvane-cli: (note: )?/, '')).join('　');
    if (r.status !== 0 || r.stdout === '') {
      $(statusId).textContent = text || '書き出せませんでした';
      return;
    }
    const url = URL.createObjectURL(new Blob([r.stdout], { type: 'text/calendar' }));
    const a = el('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
    $(statusId).textContent = name + ' を保存しました' + (text ? '（' + text + '）' : '');
  }

  // --- Views and controls --------------------------------------------------------------------
  const views = ['month', 'year', 'find', 'files'];
  function showView(name) {
    for (const v of views) {
      $('view-' + v).hidden = v !== name;
      $('tab-' + v).setAttribute('aria-selected', String(v === name));
    }
    if (name === 'year') {
      showYear(Number($('year-only').value) || state.y);
    }
    if (name === 'find' && !$('find-count').textContent) {
      startFind();
    }
  }
  function fromHash() {
    const d = parseDate(decodeURIComponent(location.hash.slice(1)));
    if (d && d.m >= 1 && d.m <= 12) {
      showView('month');
      return showMonth(d.y, d.m, d.d || undefined);
    }
    return showMonth(state.y, state.m);
  }
  async function setPlace(place) {
    state.place = place;
    store.set('place', place);
    if (state.selected) {
      await selectDate(state.selected.y, state.selected.m, state.selected.d);
    }
  }

  async function start() {
    const monthSelect = $('month-input');
    for (let m = 1; m <= 12; m++) {
      const o = el('option', null, m + '月');
      o.value = m;
      monthSelect.appendChild(o);
    }
    for (const [id, names] of Object.entries(findGroups)) {
      for (const n of names) {
        const label = el('label');
        const box = el('input');
        box.type = 'checkbox';
        box.value = n;
        label.appendChild(box);
        label.appendChild(document.createTextNode(n.replace(/^十二直:/, '')));
        $(id).appendChild(label);
      }
    }
    const savedFind = store.get('find', null);
    $('find-query').value = savedFind ? savedFind.query : '';
    $('find-from').value = savedFind && savedFind.from ? savedFind.from : isoDate(today.y, today.m, today.d);
    $('find-to').value = savedFind && savedFind.to ? savedFind.to : isoDate(today.y, 12, 31);
    $('notes-toggle').checked = state.notes;
    $('year-only').value = today.y;
    $('files-year').value = today.y;
    $('feed-from').value = today.y;
    $('feed-to').value = today.y;

    for (const v of views) {
      $('tab-' + v).onclick = () => showView(v);
    }
    $('prev-month').onclick = () => stepMonth(-1);
    $('next-month').onclick = () => stepMonth(1);
    $('prev-year').onclick = () => stepMonth(-12);
    $('next-year').onclick = () => stepMonth(12);
    $('today').onclick = () => showMonth(today.y, today.m, today.d);
    $('year-input').onchange = () => showMonth(Number($('year-input').value), state.m);
    $('month-input').onchange = () => showMonth(state.y, Number($('month-input').value));
    $('notes-toggle').onchange = () => {
      state.notes = $('notes-toggle').checked;
      store.set('notes', state.notes);
      if (state.doc) {
        renderMonth(state.doc);
        if (state.selected) {
          selectDate(state.selected.y, state.selected.m, state.selected.d);
        }
      }
    };
    $('grid').addEventListener('click', (ev) => {
      const day = ev.target.closest('.day');
      if (day) {
        const d = parseDate(day.dataset.date);
        selectDate(d.y, d.m, d.d, true);
        history.replaceState(null, '', '#' + day.dataset.date);
      }
    });
    $('daylist').addEventListener('click', (ev) => {
      const day = ev.target.closest('.day');
      if (day) {
        const d = parseDate(day.dataset.date);
        selectDate(d.y, d.m, d.d);
      }
    });
    document.addEventListener('keydown', (ev) => {
      if ($('view-month').hidden || ev.target.matches('input, select, textarea')) {
        return;
      }
      const keys = {
        ArrowLeft: () => moveSelection(-1), ArrowRight: () => moveSelection(1),
        ArrowUp: () => moveSelection(-7), ArrowDown: () => moveSelection(7),
        PageUp: () => stepMonth(ev.shiftKey ? -12 : -1), PageDown: () => stepMonth(ev.shiftKey ? 12 : 1),
        Home: () => showMonth(today.y, today.m, today.d),
        End: () => showMonth(state.y, state.m, daysIn(state.y, state.m)),
      };
      if (keys[ev.key]) {
        ev.preventDefault();
        keys[ev.key]();
      }
    });
    window.addEventListener('hashchange', fromHash);

    const places = await pageDoc('sorvane_page_places', [], []);
    const select = $('place-select');
    for (const p of places) {
      const o = el('option', null, p.name);
      o.value = p.name;
      select.appendChild(o);
    }
    const other = el('option', null, '緯度・経度…');
    other.value = '';
    select.appendChild(other);
    if (typeof state.place === 'string') {
      select.value = state.place;
    } else {
      select.value = '';
      $('place-coords').hidden = false;
      $('lat').value = state.place.lat;
      $('lon').value = state.place.lon;
    }
    select.onchange = () => {
      $('place-coords').hidden = select.value !== '';
      if (select.value) {
        setPlace(select.value);
      }
    };
    $('coords-set').onclick = () => {
      const lat = Number($('lat').value);
      const lon = Number($('lon').value);
      if ($('lat').value === '' || $('lon').value === '' || !(Math.abs(lat) <= 90) || !(Math.abs(lon) <= 180)) {
        status('緯度は-90〜90、経度は-180〜180の数で入れてください', true);
        return;
      }
      status('');
      setPlace({ lat, lon });
    };

    $('year-prev').onclick = () => showYear(Number($('year-only').value) - 1);
    $('year-next').onclick = () => showYear(Number($('year-only').value) + 1);
    $('year-only').onchange = () => showYear(Number($('year-only').value));
    $('year-theory').onclick = async () => {
      const pre = $('year-theory-text');
      const r = await run([Number($('year-only').value)]);
      pre.textContent = r.stdout + r.stderr;
      pre.hidden = false;
    };

    let typing = null;
    $('find-form').addEventListener('input', () => {
      clearTimeout(typing);
      typing = setTimeout(startFind, 150);
    });
    $('find-form').addEventListener('submit', (ev) => ev.preventDefault());
    $('find-ics').onclick = () => download(['--find', findQuery()].concat(rangeArgs($('find-from').value, $('find-to').value), ['--ics', '-']),
      'sorvane-find.ics', 'find-notes');
    $('find-list').addEventListener('click', (ev) => {
      const a = ev.target.closest('a');
      if (a) {
        showView('month');
      }
    });
    $('files-year-ics').onclick = () => download([$('files-year').value, '--ics', '-'], 'sorvane-' + $('files-year').value + '.ics', 'files-status');
    $('files-notes-ics').onclick = () => download([$('files-year').value, '--notes', '--ics', '-'], 'sorvane-senjitsu-' + $('files-year').value + '.ics', 'files-status');
    for (const b of document.querySelectorAll('[data-feed]')) {
      b.onclick = () => download(['--feed', b.dataset.feed, '--from', $('feed-from').value, '--to', $('feed-to').value],
        'sorvane-' + b.dataset.feed + '.ics', 'files-status');
    }

    await fromHash();
    window.sorvaneTimes = { firstMonth: performance.now() };
    document.body.dataset.ready = 'true';
  }

  start().catch((e) => status('読み込めませんでした：' + e.message, true));

  if ('serviceWorker' in navigator && location.protocol.startsWith('http')) {
    navigator.serviceWorker.register('sw.js').catch(() => { /* the page works without it */ });
  }
})();

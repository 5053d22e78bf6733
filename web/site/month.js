// 月: the month page (the desktop's calendar page from the core's month document), the
// selected day's details, the phone's list of days.
import { $, el, isoDate, isoYear, pad, addDays, status, today, yearFromBox } from './shared.js';
import { monthDoc, dayDoc, ahead } from './core.js';

// found: the day last opened from 日を探す ({date, why}), whose details say why it was found.
export const state = { y: today.y, m: today.m, selected: null, doc: null, notes: false, place: '東京', found: null };

const phaseSymbols = { '朔': '●', '上弦': '◐', '望': '○', '下弦': '◑' };

function dayContent(cell) {
  const box = el('div', 'day');
  box.dataset.date = cell.date;
  const head = el('div', 'head');
  head.appendChild(el('span', 'num', String(cell.day)));
  if (cell.phase) {
    const phase = el('span', 'phase', phaseSymbols[cell.phase.name] || cell.phase.name);
    phase.dataset.phase = cell.phase.name;
    phase.title = cell.phase.name + ' ' + cell.phase.time;
    phase.setAttribute('role', 'img');
    phase.setAttribute('aria-label', phase.title);
    head.appendChild(phase);
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
  if (cell.eclipse) {
    box.appendChild(el('div', 'mark eclipse', cell.eclipse));
  }
  if (state.notes) {
    for (const line of cell.notes) {
      box.appendChild(el('div', 'note', line));
    }
  } else if (cell.senjitsu && cell.senjitsu.length) {
    // The 選日 are shown always; the toggle adds the other 暦注.
    box.appendChild(el('div', 'note senjitsu', cell.senjitsu.join(' ')));
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
  target.onclick = null;
  if (!small) {
    return;
  }
  const t = el('table', 'mini');
  t.appendChild(el('caption', null, small.month + '月'));
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

// The phone's layout (style.css): the list of days in place of the grid.
const phoneLayout = window.matchMedia('(max-width: 640px)');
const narrow = () => phoneLayout.matches;

export function renderMonth(doc) {
  // A focused square is let go before the page changes: letting it go (or removing it with
  // its month) lays the half-changed page out once more before the new month's layout.
  const focused = document.activeElement;
  if (focused && focused.classList.contains('day')) {
    focused.blur();
  }
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
  // The list is made only where it is shown (the grid's squares a second time, half the
  // work of a turn of the page otherwise); the month is redrawn when the layout changes.
  const list = $('daylist');
  list.textContent = '';
  const withList = narrow();
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
    if (!withList) {
      continue;
    }
    // The phone's list: the same day again, one a line.
    const li = dayContent(cell);
    li.box.classList.add(...li.cls);
    li.box.querySelector('.num').textContent = cell.day + '日（' + cell.weekdayName + '）';
    const item = el('li');
    item.appendChild(li.box);
    list.appendChild(item);
  }
  $('grid').replaceChild(body, $('grid').tBodies[0]);
  $('limits').textContent = doc.limitNotes.join('　');
  $('lunar-note').textContent = doc.lunarNote;
  $('mode').textContent = doc.modeText;
  $('year-input').value = doc.year;
  $('month-input').value = doc.month;
  document.title = '暦 ' + doc.yearText + '年' + doc.month + '月 — Sorvane';
}

// The month's own days in the core's document.
const monthDays = (doc) => doc.cells.filter((c) => c.inMonth).map((c) => c.day);
const lastDay = (doc) => Math.max(...monthDays(doc));

// Shows year-month, selecting selectDay when given (a day past the month's end selects its
// last day) and putting the focus on it when focus is true (by default, when a day is
// given). Resolves to true when the month is shown; a month the core refuses keeps the page
// as it was and says why.
export async function showMonth(y, m, selectDay, focus = selectDay !== undefined) {
  // The day the month opens on, when it does not depend on the month's document, is asked for
  // with the month: the worker computes it while the page draws the month.
  const opening = selectDay ? null : openingDay(y, m);
  if (opening) {
    dayDoc(y, m, opening, state.place).catch(() => {});
  }
  let doc;
  try {
    doc = await monthDoc(y, m);
  } catch (e) {
    status(e.message, true);
    return false;
  }
  state.y = y;
  state.m = m;
  renderMonth(doc);
  const day = selectDay ? Math.min(selectDay, lastDay(doc)) : openingDay(y, m);
  status('');
  await selectDate(y, m, day, focus && !!selectDay);
  const hash = selectDay ? isoDate(y, m, day) : isoYear(y) + '-' + pad(m, 2);
  if (location.hash !== '#' + hash) {
    history.replaceState(null, '', '#' + hash);
  }
  lookAhead(y, m, day);
  return true;
}

// The day a month opens on without a day asked for: the day selected in it, today in this
// month, or else the 1st.
function openingDay(y, m) {
  if (state.selected && state.selected.y === y && state.selected.m === m) {
    return state.selected.d;
  }
  return y === today.y && m === today.m ? today.d : 1;
}

// The months the page turns to next (the next and the previous month, the same month a year
// on and a year back) with the day stepMonth would select in each, asked for while the page
// waits on the reader: a turn then only draws.
function lookAhead(y, m, d) {
  const jobs = [1, -1, 12, -12].map((n) => () => {
    const t = monthAfter(y, m, n);
    return monthDoc(t.y, t.m).then((doc) => dayDoc(t.y, t.m, Math.min(d, lastDay(doc)), state.place));
  });
  ahead(jobs);
}

// The month n months after year-month.
function monthAfter(y, m, n) {
  const t = y * 12 + (m - 1) + n;
  return { y: Math.floor(t / 12), m: ((t % 12) + 12) % 12 + 1 };
}

// Whether the month shown has the day (the address's 2026-02-30 has none).
export const monthHasDay = (d) => state.doc !== null && monthDays(state.doc).includes(d);

export async function selectDate(y, m, d, focus) {
  state.selected = { y, m, d };
  const date = isoDate(y, m, d);
  for (const e of document.querySelectorAll('.day.selected')) {
    e.classList.remove('selected');
  }
  const cells = document.querySelectorAll('.day[data-date="' + date + '"]');
  for (const e of cells) {
    e.classList.add('selected');
  }
  // Focusing a square lays the page out: it is done once the details are in too, so that a
  // turn of the page is laid out once, not once for the month and again for its day.
  const focusCell = () => {
    if (focus && cells[0]) {
      cells[0].focus({ preventScroll: true });
    }
  };
  const pane = $('details');
  try {
    const doc = await dayDoc(y, m, d, state.place);
    pane.textContent = '';
    const lines = doc.details.slice();
    pane.appendChild(el('h2', null, lines.shift()));
    if (state.found && state.found.date === date && state.found.why) {
      pane.appendChild(el('p', 'found-why', '日を探すで見つかった日：' + state.found.why));
    }
    for (const line of lines) {
      pane.appendChild(el('p', null, line));
    }
    // The day's eclipse with the place's contacts, as the core words it.
    for (const line of doc.eclipses || []) {
      pane.appendChild(el('p', 'eclipse', line));
    }
    if (doc.lunarNote) {
      pane.appendChild(el('p', 'lunar-note', doc.lunarNote));
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
    } else if (doc.senjitsu && doc.senjitsu.length) {
      pane.appendChild(el('h3', null, '選日'));
      pane.appendChild(el('p', 'note', doc.senjitsu.join('・')));
    }
    focusCell();
    if (focus && narrow()) {
      // On a phone the details are below the list of days: the chosen day's details are
      // brought into view (a day opened from the address or 日を探す, a tapped day).
      pane.scrollIntoView({ block: 'start' });
    }
  } catch (e) {
    pane.textContent = '';
    pane.appendChild(el('p', 'error', e.message));
    status(e.message, true);
    focusCell();
  }
}

// Turns the page by n months, keeping the selected day of the month where the month has it;
// focus: whether the focus goes to that day (the keys), or stays where it is (a button, so
// that pressing it again turns the page again).
export function stepMonth(n, focus) {
  const t = monthAfter(state.y, state.m, n);
  return showMonth(t.y, t.m, state.selected ? state.selected.d : undefined, focus);
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

// The month view's buttons, fields and keys.
export function setUpMonth(span) {
  const monthSelect = $('month-input');
  for (let m = 1; m <= 12; m++) {
    const o = el('option', null, m + '月');
    o.value = m;
    monthSelect.appendChild(o);
  }
  $('year-input').min = span.first;
  $('year-input').max = span.last;
  $('prev-month').onclick = () => stepMonth(-1, false);
  $('next-month').onclick = () => stepMonth(1, false);
  $('prev-year').onclick = () => stepMonth(-12, false);
  $('next-year').onclick = () => stepMonth(12, false);
  $('today').onclick = () => showMonth(today.y, today.m, today.d, false);
  $('year-input').onchange = () => {
    const y = yearFromBox($('year-input'));
    if (y === null) {
      $('year-input').value = state.y;
    } else {
      showMonth(y, state.m);
    }
  };
  $('month-input').onchange = () => showMonth(state.y, Number($('month-input').value));
  $('grid').addEventListener('click', (ev) => {
    const day = ev.target.closest('.day');
    if (day) {
      const [y, m, d] = dateOf(day);
      selectDate(y, m, d, true);
      history.replaceState(null, '', '#' + day.dataset.date);
    }
  });
  phoneLayout.addEventListener('change', redraw);
  $('daylist').addEventListener('click', (ev) => {
    const day = ev.target.closest('.day');
    if (day) {
      const [y, m, d] = dateOf(day);
      selectDate(y, m, d, true);
      history.replaceState(null, '', '#' + day.dataset.date);
    }
  });
  document.addEventListener('keydown', (ev) => {
    if ($('view-month').hidden || ev.target.matches('input, select, textarea')) {
      return;
    }
    const keys = {
      ArrowLeft: () => moveSelection(-1), ArrowRight: () => moveSelection(1),
      ArrowUp: () => moveSelection(-7), ArrowDown: () => moveSelection(7),
      PageUp: () => stepMonth(ev.shiftKey ? -12 : -1, true), PageDown: () => stepMonth(ev.shiftKey ? 12 : 1, true),
      Home: () => showMonth(today.y, today.m, today.d),
      End: () => state.doc && showMonth(state.y, state.m, lastDay(state.doc)),
    };
    if (keys[ev.key]) {
      ev.preventDefault();
      keys[ev.key]();
    }
  });
}

// A square's date (its data-date, which the core wrote).
function dateOf(day) {
  const m = /^(-?\d+)-(\d{2})-(\d{2})$/.exec(day.dataset.date);
  return [Number(m[1]), Number(m[2]), Number(m[3])];
}

// Redraws the month and the details (after the 暦注 toggle or a place change).
export async function redraw() {
  if (state.doc) {
    renderMonth(state.doc);
  }
  if (state.selected) {
    await selectDate(state.selected.y, state.selected.m, state.selected.d);
  }
}


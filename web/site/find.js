// 日を探す: the check boxes (the core's vocabulary), the query they write with the typed
// condition, and the search in a worker that is ended and started afresh when the query
// changes. The worker answers with the core's search document.
import { $, el, store, today, isoDate, parseDate, addDays, refused, told } from './shared.js';
import { brokenMessage, newWorker } from './core.js';
import { download } from './files.js';

let finder = null;
let findSerial = 0;
// The search's fields by the names the core's errors give them.
const findFields = { query: 'find-query', from: 'find-from', to: 'find-to' };

function checked(id) {
  return Array.from($(id).querySelectorAll('input:checked')).map((i) => i.value);
}

export function findQuery() {
  const words = [];
  for (const id of ['find-rokuyo', 'find-week', 'find-choku', 'find-kyusei', 'find-shio']) {
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

function stopFind() {
  if (finder) {
    finder.terminate(); // the last query's search, if still running, is dropped
    finder = null;
  }
}

export function startFind() {
  const query = findQuery();
  const from = $('find-from').value;
  const to = $('find-to').value;
  store.set('find', { query: $('find-query').value, from, to });
  stopFind();
  const serial = ++findSerial;
  told('find-count', null, '探しています…');
  finder = newWorker();
  const done = (doc) => {
    if (serial !== findSerial) {
      return;
    }
    stopFind();
    showFound(doc);
  };
  finder.onmessage = (ev) => done(ev.data);
  finder.onerror = (ev) => {
    ev.preventDefault();
    done({ error: brokenMessage, code: 'calculation-failed', field: '' });
  };
  finder.postMessage({ find: { query, from, to } });
}

function showFound(doc) {
  const list = $('find-list');
  list.textContent = '';
  told('find-notes', null, '');
  if (doc.code === 'query-empty') {
    // Nothing asked yet: the core's hint, without marking the field as wrong.
    told('find-count', findFields, doc.error);
    $('find-count').dataset.code = doc.code;
    return;
  }
  if (doc.error) {
    refused('find-count', doc, findFields);
    return;
  }
  told('find-count', findFields, doc.countText);
  told('find-notes', null, doc.notes.join('　'));
  for (const day of doc.days) {
    const li = el('li');
    const a = el('a', null, day.dateText + '（' + day.weekday + '）');
    a.href = '#' + day.date;
    a.dataset.why = (day.notes || []).join('・');
    li.appendChild(a);
    li.appendChild(el('span', 'why', ' ' + (day.notes || []).join('・')));
    list.appendChild(li);
  }
  if (doc.more > 0) {
    list.appendChild(el('li', 'more', '…ほか ' + doc.more + ' 日（カレンダーファイルにはすべての日を書き出します）'));
  }
}

// Today to the eve of the same date a year later (28 February when today is 29 February).
function yearFromToday() {
  const same = today.m === 2 && today.d === 29 ? { y: today.y + 1, m: 3, d: 1 } : { y: today.y + 1, m: today.m, d: today.d };
  const eve = addDays(same.y, same.m, same.d, -1);
  return { from: isoDate(today.y, today.m, today.d), to: isoDate(eve.y, eve.m, eve.d) };
}

// Two ISO dates compare as text only when both have four-digit years of the common era.
const sameYearForm = (a, b) => /^\d{4}-/.test(a) && /^\d{4}-/.test(b);

const validFind = (v) => v !== null && typeof v === 'object' && typeof v.query === 'string' &&
  ['from', 'to'].every((k) => v[k] === undefined || v[k] === '' || (typeof v[k] === 'string' && parseDate(v[k]) !== null));

// The check boxes from the core's vocabulary, the stored query, the fields' events.
export function setUpFind(vocabulary, openFoundDay) {
  for (const group of vocabulary.groups) {
    const targets = group.key === 'senjitsu' ? ['find-senjitsu', 'find-senjitsu-not'] : ['find-' + group.key];
    for (const id of targets) {
      for (const n of group.names) {
        const label = el('label');
        const box = el('input');
        box.type = 'checkbox';
        box.value = n.word;
        label.appendChild(box);
        label.appendChild(document.createTextNode(n.label));
        $(id).appendChild(label);
      }
    }
  }
  const saved = store.load('find', null, validFind, '日を探すの条件');
  $('find-query').value = saved ? saved.query : '';
  // The range kept from the last visit, unless it has ended before today: then a year from
  // today, as the desktop's window opens.
  const start = isoDate(today.y, today.m, today.d);
  const kept = saved && saved.from && saved.to && saved.to >= start && sameYearForm(saved.from, saved.to);
  const range = kept ? { from: saved.from, to: saved.to } : yearFromToday();
  $('find-from').value = range.from;
  $('find-to').value = range.to;
  const setRange = (from, to) => {
    $('find-from').value = from;
    $('find-to').value = to;
    startFind();
  };
  const fromDay = () => parseDate($('find-from').value) || today;
  $('find-range-year').onclick = () => {
    const d = fromDay();
    setRange(isoDate(d.y, 1, 1), isoDate(d.y, 12, 31));
  };
  $('find-range-month').onclick = () => {
    const d = fromDay();
    const last = addDays(d.m === 12 ? d.y + 1 : d.y, d.m === 12 ? 1 : d.m + 1, 1, -1);
    setRange(isoDate(d.y, d.m, 1), isoDate(last.y, last.m, last.d));
  };

  let typing = null;
  $('find-form').addEventListener('input', () => {
    clearTimeout(typing);
    typing = setTimeout(startFind, 150);
  });
  $('find-form').addEventListener('submit', (ev) => ev.preventDefault());
  // The core reads the fields again for the file: a query or range it refused gets its
  // message, with the field to change marked; no day found is said the same way.
  $('find-ics').onclick = () => download({ file: 'find', query: findQuery(), from: $('find-from').value, to: $('find-to').value },
    'find-notes', findFields);
  $('find-list').addEventListener('click', (ev) => {
    const a = ev.target.closest('a');
    if (a) {
      openFoundDay(a.getAttribute('href').slice(1), a.dataset.why);
    }
  });
}

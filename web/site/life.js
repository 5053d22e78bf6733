// 行事: the days of a family's life (お宮参り, 七五三, 厄年, 法要 ..) as the core plans them:
// the kinds and what each takes from the core's list, the dates, the alternatives and the
// ranked candidate days from its document, each opening its day on the month view; the
// dates as a calendar file made by the terminal program in a worker (--life .. --ics -).
import { $, el, today, isoDate, refused, told } from './shared.js';
import { lifeDoc } from './core.js';
import { download } from './files.js';

let kinds = [];
let shown = null; // the request of the plan shown, for the calendar file
// The fields by the names the core's errors give them.
const lifeFields = { kind: 'life-kind', date: 'life-date', year: 'life-year', sex: 'life-sex' };

const todayText = () => isoDate(today.y, today.m, today.d);

function kindOf(name) {
  return kinds.find((k) => k.name === name) || kinds[0];
}

// The fields the kind reads: a date (its label the kind's: 誕生日, 出産予定日, 命日), a year,
// 男/女.
function showFields() {
  const kind = kindOf($('life-kind').value);
  $('life-date-label').hidden = kind.input === 'year';
  if (kind.dateLabel) {
    $('life-date-label').firstChild.textContent = kind.dateLabel + (kind.input === 'birthdayOrYear' ? '（空欄なら年の表）' : '') + ' ';
  }
  $('life-year-label').hidden = !kind.takesYear;
  $('life-sex-label').hidden = !kind.needsSex;
}

// 2026-02-07 as a calendar writes it: 2026年2月7日 (the address keeps the ISO date).
function link(date) {
  const [y, m, d] = date.split(/(?!^)-/);
  const a = el('a', null, Number(y) + '年' + Number(m) + '月' + Number(d) + '日');
  a.href = '#' + date;
  return a;
}

function dateList(dates) {
  const ul = el('ul', 'life-dates');
  for (const d of dates) {
    const li = el('li');
    li.appendChild(el('span', 'name', d.name + '　'));
    if (d.date) {
      li.appendChild(link(d.date));
    } else if (d.year !== undefined) {
      li.appendChild(document.createTextNode(d.year + '年'));
    }
    const extra = [d.note, d.age !== undefined ? '数え' + d.age : '', d.sexagenary, d.era].filter(Boolean);
    if (extra.length) {
      li.appendChild(el('span', 'why', '　' + extra.join('　')));
    }
    ul.appendChild(li);
  }
  return ul;
}

function render(doc) {
  const out = $('life-result');
  out.textContent = '';
  out.appendChild(el('p', 'convention', '決まり：' + doc.convention));
  out.appendChild(dateList(doc.dates || []));
  if (doc.candidates && doc.candidates.length) {
    out.appendChild(el('h3', null, '候補日'));
    const ol = el('ol', 'found');
    for (const c of doc.candidates) {
      const li = el('li');
      li.appendChild(el('span', 'name', c.for + '　'));
      li.appendChild(link(c.date));
      li.appendChild(document.createTextNode('（' + c.weekday + '）' + (c.rokuyo ? '　' + c.rokuyo : '')));
      li.appendChild(el('span', 'why', '　' + c.reasons.join('・')));
      ol.appendChild(li);
    }
    out.appendChild(ol);
  }
  for (const alt of doc.alternatives || []) {
    const box = el('details');
    box.appendChild(el('summary', null, 'ほかの決まり：' + alt.convention));
    box.appendChild(dateList(alt.dates));
    out.appendChild(box);
  }
  for (const n of doc.notes || []) {
    out.appendChild(el('p', 'limits', n));
  }
}

// The request the fields make: the arguments of the core's document and of --life.
function request() {
  const kind = kindOf($('life-kind').value);
  const date = kind.input === 'year' ? '' : $('life-date').value;
  // 厄年: a birthday gives a person's years; without one, the year's table.
  const year = kind.takesYear && !(kind.input === 'birthdayOrYear' && date) ? $('life-year').value : '';
  return { kind: kind.name, date, year, sex: kind.needsSex ? $('life-sex').value : '', today: todayText() };
}

async function plan() {
  const r = request();
  told('life-status', lifeFields);
  $('life-ics').disabled = true;
  try {
    const doc = await lifeDoc(r.kind, r.date, r.year, r.sex, r.today);
    shown = r;
    render(doc);
    $('life-ics').disabled = !(doc.dates || []).some((d) => d.date);
  } catch (e) {
    shown = null;
    $('life-result').textContent = '';
    refused('life-status', e, lifeFields);
  }
}

export function setUpLife(list) {
  kinds = list.kinds;
  for (const k of kinds) {
    const o = el('option', null, k.name);
    o.value = k.name;
    $('life-kind').appendChild(o);
  }
  $('life-date').value = todayText();
  $('life-year').value = today.y;
  $('life-kind').onchange = showFields;
  showFields();
  $('life-form').addEventListener('submit', (ev) => {
    ev.preventDefault();
    plan();
  });
  $('life-ics').onclick = () => {
    if (!shown) {
      return;
    }
    download(Object.assign({ file: 'life' }, shown), 'life-status', lifeFields);
  };
}

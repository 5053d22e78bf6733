// 和暦: one day between 和暦 and the Western calendars, as the core reads and describes it
// (元禄15年12月14日, 1703-01-30, or a Julian date); the Gregorian date opens on the month view.
import { $, el, refused, told } from './shared.js';
import { warekiDoc } from './core.js';

function row(table, head, value) {
  const tr = el('tr');
  tr.appendChild(el('th', null, head));
  const td = el('td');
  if (value instanceof Node) {
    td.appendChild(value);
  } else {
    td.textContent = value;
  }
  tr.appendChild(td);
  table.appendChild(tr);
}

function render(doc) {
  const out = $('wareki-result');
  out.textContent = '';
  const table = el('table', 'wareki');
  row(table, '和暦', doc.wareki.length ? doc.wareki.join('　') : '（元号のない年）');
  const historical = doc.historicalCalendar === 'julian' ? 'ユリウス暦' : 'グレゴリオ暦';
  const open = el('a', null, doc.gregorian);
  open.href = '#' + doc.gregorian;
  const gregorian = el('span');
  gregorian.appendChild(open);
  gregorian.appendChild(document.createTextNode(doc.historicalCalendar === 'julian' ? '（先発グレゴリオ暦）' : ''));
  row(table, 'グレゴリオ暦', gregorian);
  row(table, 'ユリウス暦', doc.julian + (doc.historicalCalendar === 'julian' ? '' : '（先発ユリウス暦）'));
  row(table, '当時の西暦', historical);
  row(table, '曜日', doc.weekday);
  row(table, '干支', doc.sexagenary);
  if (doc.lunisolar) {
    row(table, '旧暦', doc.lunisolar.text);
  }
  if (doc.rokuyo) {
    row(table, '六曜', doc.rokuyo);
  }
  out.appendChild(table);
}

async function convert() {
  const fields = { wareki: 'wareki-input' };
  told('wareki-status', fields);
  try {
    render(await warekiDoc($('wareki-input').value, $('wareki-julian').checked));
  } catch (e) {
    $('wareki-result').textContent = '';
    refused('wareki-status', e, fields);
  }
}

export function setUpWareki() {
  $('wareki-form').addEventListener('submit', (ev) => {
    ev.preventDefault();
    convert();
  });
}

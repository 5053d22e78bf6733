// 年: the year's 28 moments (the core's year document, in the precise mode wherever it
// reaches, or in the solar theory's minutes when asked), its 雑節 and holidays.
import { $, el, status, yearFromBox } from './shared.js';
import { yearDoc } from './core.js';
import { state } from './month.js';

let theory = false; // the solar theory's minutes asked for

export async function showYear(y) {
  $('year-only').value = y;
  const body = $('year-body');
  try {
    const doc = await yearDoc(y, state.place, theory);
    // The other mode is offered where the precise one reaches (elsewhere both are the theory).
    $('year-theory').hidden = !doc.preciseReaches;
    $('year-theory').textContent = theory ? '国立天文台と同じ計算方法で表示' : '既定の理論で計算した時刻を表示';
    body.textContent = '';
    body.appendChild(el('h2', null, doc.heading));
    const t = el('table', 'moments');
    for (const e of doc.events) {
      const tr = el('tr');
      // The month the line belongs to, then the line as the program prints it.
      tr.appendChild(el('td', 'month', e.month + '月'));
      tr.appendChild(el('td', 'line', e.line));
      t.appendChild(tr);
    }
    body.appendChild(t);
    if (doc.zassetsu && doc.zassetsu.length) {
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
        h.appendChild(el('li', null, e.dateText + '　' + e.name));
      }
      body.appendChild(h);
    }
    // The year's eclipses with the contacts at the place of the rising and setting times.
    body.appendChild(el('h2', null, doc.eclipseHeading));
    if (doc.eclipseNote) {
      body.appendChild(el('p', 'eclipse-note', doc.eclipseNote));
    }
    for (const e of doc.eclipses) {
      const box = el('div', 'eclipse-year');
      box.dataset.date = e.date;
      box.appendChild(el('p', 'eclipse-head', e.dateText + '　' + e.lines[0]));
      for (const line of e.lines.slice(1)) {
        box.appendChild(el('p', 'eclipse-contact', line));
      }
      body.appendChild(box);
    }
    status('');
  } catch (e) {
    body.textContent = '';
    status(e.message, true);
  }
}

export function setUpYear(span) {
  $('year-only').min = span.first;
  $('year-only').max = span.last;
  $('year-prev').onclick = () => showYear(Number($('year-only').value) - 1);
  $('year-next').onclick = () => showYear(Number($('year-only').value) + 1);
  $('year-only').onchange = () => {
    const y = yearFromBox($('year-only'));
    if (y !== null) {
      showYear(y);
    }
  };
  $('year-theory').onclick = () => {
    theory = !theory;
    showYear(Number($('year-only').value));
  };
}

// 年: the year's 28 moments (the core's year document, in the precise mode wherever it
// reaches), its 雑節 and holidays, and the solar theory's lines as the terminal program
// prints them.
import { $, el, status, yearFromBox } from './shared.js';
import { run, yearDoc } from './core.js';
import { state } from './month.js';

export async function showYear(y) {
  $('year-only').value = y;
  $('year-theory-text').hidden = true;
  const body = $('year-body');
  try {
    const doc = await yearDoc(y, state.place);
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
  $('year-theory').onclick = async () => {
    const pre = $('year-theory-text');
    try {
      const r = await run([Number($('year-only').value)]);
      pre.textContent = r.refused || r.stdout + r.stderr;
    } catch (e) {
      pre.textContent = e.message;
    }
    pre.hidden = false;
  };
}

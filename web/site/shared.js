// Helpers every view shares: elements, the page's settings in the browser's storage, the
// status line and the notes of the page's load, dates as the page writes them.

export const $ = (id) => document.getElementById(id);

export function el(tag, cls, text) {
  const e = document.createElement(tag);
  if (cls) {
    e.className = cls;
  }
  if (text !== undefined) {
    e.textContent = text;
  }
  return e;
}

// The page's settings. load() gives a stored value only when valid(value) says it is; a
// value that is not (unreadable, of the wrong shape) is removed and named in a note.
export const store = {
  load(key, fallback, valid, what) {
    let text = null;
    try {
      text = localStorage.getItem('sorvane.' + key);
    } catch (e) {
      return fallback; // storage refused (private mode): the default
    }
    if (text === null) {
      return fallback;
    }
    let value;
    try {
      value = JSON.parse(text);
    } catch (e) {
      value = undefined;
    }
    if (value !== undefined && valid(value)) {
      return value;
    }
    this.drop(key, what);
    return fallback;
  },
  drop(key, what) {
    try {
      localStorage.removeItem('sorvane.' + key);
    } catch (e) { /* nothing stored then */ }
    notice('保存されていた' + what + 'を読めなかったため、既定に戻しました。');
  },
  set(key, value) {
    try {
      localStorage.setItem('sorvane.' + key, JSON.stringify(value));
    } catch (e) { /* private mode or full: kept for this visit only */ }
  },
};

// The status line: what the page is doing, or why the last step failed.
export function status(text, isError) {
  const s = $('status');
  s.textContent = text || '';
  s.classList.toggle('error', !!isError);
  // The line keeps its room when empty, so that the page below it never jumps.
  s.classList.toggle('idle', !text);
}

// The year in a year box, or null after saying in the status line what to write: an empty
// box, text that is not a whole number, a year outside the box's min..max.
export function yearFromBox(box) {
  const text = box.value.trim();
  const y = Number(text);
  if (text === '' || box.validity.badInput || !Number.isInteger(y) ||
      y < Number(box.min) || y > Number(box.max)) {
    status('年は ' + box.min + '〜' + box.max + ' の整数で入れてください' +
      '（紀元前1年は 0、紀元前501年は -500）。', true);
    return null;
  }
  return y;
}

// The notes of the page's load (a dropped setting, an address it could not read): they stay
// until the user closes them.
export function notice(text) {
  const box = $('notice');
  box.appendChild(el('p', null, text));
  box.hidden = false;
}

export const pad = (n, w) => String(Math.abs(n)).padStart(w, '0');
export const isoYear = (y) => (y < 0 ? '-' + pad(y, 4) : pad(y, 4));
export const isoDate = (y, m, d) => isoYear(y) + '-' + pad(m, 2) + '-' + pad(d, 2);

// YYYY-MM or YYYY-MM-DD (the year of 4 or 5 digits, a leading '-' before year 1), as the
// page writes its address and the core its dates; null for any other text.
export function parseDate(text) {
  const m = /^(-?\d{4,5})-(\d{2})(?:-(\d{2}))?$/.exec(text);
  return m ? { y: Number(m[1]), m: Number(m[2]), d: m[3] ? Number(m[3]) : 0 } : null;
}

// Today's date in Japan, from the browser's clock.
export function todayInJapan() {
  const parts = new Intl.DateTimeFormat('en-CA', {
    timeZone: 'Asia/Tokyo', year: 'numeric', month: '2-digit', day: '2-digit',
  }).formatToParts(new Date());
  const get = (t) => Number(parts.find((p) => p.type === t).value);
  return { y: get('year'), m: get('month'), d: get('day') };
}

// Moves a day by n days (the proleptic Gregorian calendar of JavaScript's Date).
export function addDays(y, m, d, n) {
  const t = new Date(0);
  t.setUTCFullYear(y, m - 1, d + n);
  return { y: t.getUTCFullYear(), m: t.getUTCMonth() + 1, d: t.getUTCDate() };
}

export const today = todayInJapan();

// A refusal of the core ({error, code, field}, or an Error made from one) in the line at
// lineId: its message shown, its code kept on the line (data-code), and the field it names
// (fields maps the core's field names to the view's inputs) marked invalid and focused. A
// later answer without an error clears the mark (told(lineId, fields, text)).
export function refused(lineId, error, fields) {
  const line = $(lineId);
  line.textContent = error.error || error.message || '';
  line.dataset.code = error.code || '';
  line.classList.add('error');
  for (const [name, id] of Object.entries(fields || {})) {
    const input = $(id);
    if (name === error.field) {
      input.setAttribute('aria-invalid', 'true');
      input.setAttribute('aria-describedby', lineId);
    } else {
      input.removeAttribute('aria-invalid');
    }
  }
}

export function told(lineId, fields, text) {
  const line = $(lineId);
  line.textContent = text || '';
  delete line.dataset.code;
  line.classList.remove('error');
  for (const id of Object.values(fields || {})) {
    $(id).removeAttribute('aria-invalid');
  }
}

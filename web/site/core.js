// The program's C++ core compiled to WebAssembly (sorvane-cli.js): the terminal program's
// JSON documents (window.sorvane) and the calendar page's documents (web/page_entry.cpp).
// A call that breaks the module (a trap inside it) is answered with an error, and the next
// call gets a new module: one failure never spoils the calls after it.

const decoder = new TextDecoder();
let core = null;
let page = null;

async function module() {
  if (core === null) {
    core = SorvaneModule();
    page = null;
  }
  const m = await core;
  if (m.broken) {
    core = null;
    return module();
  }
  return m;
}

// A failure inside the module (a trap, whose own text is the engine's English): the module
// is made again on the next call.
function broken() {
  core = null;
  page = null;
  return pageError({ error: brokenMessage, code: 'calculation-failed', field: '' });
}

// What the page says when the module itself failed and so cannot say it.
export const brokenMessage = '計算の途中で失敗しました。もう一度試すか、ページを開き直してください。';

// The Error of a page document's error ({error, code, field}): the message shown, the code a
// script compares, the field to change.
export function pageError(doc) {
  const e = new Error(doc.error);
  e.code = doc.code || '';
  e.field = doc.field || '';
  return e;
}

// The terminal program's answer to a command line: {status, stdout, stderr} (and refused, a
// Japanese message, when the line was too long to run).
export async function run(args) {
  const m = await module();
  let r;
  try {
    r = m.runCli(args.map(String));
  } catch (e) {
    throw broken();
  }
  return {
    status: r.status, stdout: decoder.decode(r.stdout), stderr: decoder.decode(r.stderr),
    refused: r.refused,
  };
}

async function json(args) {
  const r = await run(args);
  if (r.status !== 0) {
    const e = new Error(r.refused || r.stderr.trim() || 'sorvane-cli: status ' + r.status);
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
  run,
  days: (year) => json([year, '--days', '--json']),
  notes: (year) => json([year, '--notes', '--json']),
  find: (query, from, to) => json(['--find', query].concat(rangeArgs(from, to), ['--json'])),
  sun: (year, place) => json([year, '--sun'].concat(placeArgs(place), ['--json'])),
  year: (year) => json([year, '--json']),
};

// One of the calendar page's documents; rejects with the core's Japanese message.
async function pageDoc(fn, args) {
  const m = await module();
  let text;
  try {
    if (page === null) {
      page = m._sorvane_page_new();
      if (!page) {
        page = null;
        // No page to ask: the answer every call gives without one.
        text = m.pageCall(fn, [0].concat(args));
      }
    }
    if (page) {
      text = m.pageCall(fn, [page].concat(args));
    }
  } catch (e) {
    if (m.broken) {
      throw broken();
    }
    throw e; // the module's own Japanese message (no memory for a text)
  }
  const doc = JSON.parse(text);
  if (doc.error) {
    throw pageError(doc);
  }
  return doc;
}

// A year, month or day as the core's int takes it. WebAssembly would cut any other number
// to 32 bits (4294969322 to 2026, 2026.5 to 2026): such a number is handed over as one no
// calendar has, so that the core refuses it with its message.
const whole = (v) => (Number.isInteger(v) && Math.abs(v) <= 2147483647 ? v : 2147483647);

export const monthDoc = (y, mo) => pageDoc('sorvane_page_month', [whole(y), whole(mo)]);
export const dayDoc = (y, mo, d, place) =>
  pageDoc('sorvane_page_day', [whole(y), whole(mo), whole(d), typeof place === 'string' ? place : '',
    typeof place === 'string' ? 0 : place.lat, typeof place === 'string' ? 0 : place.lon]);
export const placesDoc = () => pageDoc('sorvane_page_places', []);
export const yearDoc = (y, theory) => pageDoc('sorvane_page_year', [whole(y), theory ? 1 : 0]);
export const vocabularyDoc = () => pageDoc('sorvane_page_vocabulary', []);
export const coverageDoc = () => pageDoc('sorvane_page_coverage', []);
export const warekiDoc = (text, julian) => pageDoc('sorvane_page_wareki', [String(text), julian ? 1 : 0]);
export const lifeKindsDoc = () => pageDoc('sorvane_page_life_kinds', []);
export const lifeDoc = (kind, date, year, sex, today) =>
  pageDoc('sorvane_page_life', [kind, date, String(year), sex, today].map(String));

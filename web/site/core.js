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

// A failure inside the module, said in Japanese; the module is made again on the next call.
function broken(e) {
  core = null;
  page = null;
  return new Error('計算の途中で失敗しました（' + (e && e.message ? e.message : String(e)) + '）');
}

// The terminal program's answer to a command line: {status, stdout, stderr} (and refused, a
// Japanese message, when the line was too long to run).
export async function run(args) {
  const m = await module();
  let r;
  try {
    r = m.runCli(args.map(String));
  } catch (e) {
    throw broken(e);
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

export function rangeArgs(from, to) {
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
        throw new Error('暦の表を読み込めませんでした');
      }
    }
    text = m.pageCall(fn, [page].concat(args));
  } catch (e) {
    if (m.broken) {
      throw broken(e);
    }
    throw e;
  }
  const doc = JSON.parse(text);
  if (doc.error) {
    throw new Error(doc.error);
  }
  return doc;
}

// A year, month or day as the core's int takes it. WebAssembly would cut any other number
// to 32 bits (4294969322 to 2026, 2026.5 to 2026): such a number is handed over as one no
// calendar has, so that the core refuses it with its message.
const whole = (v) => (Number.isInteger(v) && Math.abs(v) <= 2147483647 ? v : 2147483647);

export const monthDoc = (y, mo) => pageDoc('sorvane_page_month', [whole(y), whole(mo)]);
// A place as the core takes it: a name of the place list, or '' and a latitude and longitude.
const pagePlace = (place) => typeof place === 'string' ? [place, 0, 0] : ['', place.lat, place.lon];
export const dayDoc = (y, mo, d, place) =>
  pageDoc('sorvane_page_day', [whole(y), whole(mo), whole(d)].concat(pagePlace(place)));
export const placesDoc = () => pageDoc('sorvane_page_places', []);
export const yearDoc = (y, place) => pageDoc('sorvane_page_year', [whole(y)].concat(pagePlace(place)));
export const vocabularyDoc = () => pageDoc('sorvane_page_vocabulary', []);
export const coverageDoc = () => pageDoc('sorvane_page_coverage', []);
export const warekiDoc = (text, julian) => pageDoc('sorvane_page_wareki', [String(text), julian ? 1 : 0]);
export const lifeKindsDoc = () => pageDoc('sorvane_page_life_kinds', []);
export const lifeDoc = (kind, date, year, sex, today) =>
  pageDoc('sorvane_page_life', [kind, date, String(year), sex, today].map(String));

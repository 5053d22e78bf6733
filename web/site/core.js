// The program's C++ core compiled to WebAssembly (sorvane-cli.js), run in a worker
// (worker.js) so that no computation holds the page's thread: the terminal program's JSON
// documents (window.sorvane) and the calendar page's documents (web/page_entry.cpp). A call
// that breaks the module (a trap inside it) is answered with an error, and the next call gets
// a new module; a worker that fails altogether is made again on the next call.

let worker = null;
let serial = 0;
const waiting = new Map(); // id -> {resolve, reject}

// What the worker said of its start and each call (ms): the page's timings.
export const timings = { startup: null, calls: [] };

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

const brokenError = () => pageError({ error: brokenMessage, code: 'calculation-failed', field: '' });

function failAll() {
  for (const w of waiting.values()) {
    w.reject(brokenError());
  }
  waiting.clear();
}

// A worker running worker.js with the compiled module handed over (index.html's
// sorvaneWorkers); the page's core takes over the worker index.html started.
export const newWorker = () => window.sorvaneWorkers.newWorker();

function takeWorker() {
  window.sorvaneWorkers.begin();
  const first = window.sorvaneWorkers.first;
  window.sorvaneWorkers.first = null;
  return first || newWorker();
}

function engine() {
  if (worker === null) {
    worker = takeWorker();
    worker.onmessage = (ev) => {
      const a = ev.data;
      if (a.startup) {
        timings.startup = a.startup;
      }
      const w = waiting.get(a.id);
      if (!w) {
        return;
      }
      waiting.delete(a.id);
      if (timings.calls.length < 200) {
        timings.calls.push(a.took);
      }
      if (a.error !== undefined) {
        w.reject(pageError(a));
      } else {
        w.resolve(a);
      }
      setTimeout(pump, 0);
    };
    worker.onerror = (ev) => {
      ev.preventDefault();
      worker.terminate();
      worker = null;
      failAll();
    };
  }
  return worker;
}

// Sends a call to the worker; resolves to its answer.
function ask(message) {
  return new Promise((resolve, reject) => {
    const id = ++serial;
    waiting.set(id, { resolve, reject });
    try {
      engine().postMessage(Object.assign({ id }, message));
    } catch (e) {
      waiting.delete(id);
      reject(brokenError());
    }
  });
}

// The terminal program's answer to a command line: {status, stdout, stderr} (and refused, a
// Japanese message, when the line was too long to run).
export async function run(args) {
  const r = await ask({ cli: args.map(String) });
  return {
    status: r.status, stdout: r.stdout, stderr: r.stderr,
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
  const doc = JSON.parse((await ask({ page: [fn, args] })).text);
  if (doc.error) {
    throw pageError(doc);
  }
  return doc;
}

// A year, month or day as the core's int takes it. WebAssembly would cut any other number
// to 32 bits (4294969322 to 2026, 2026.5 to 2026): such a number is handed over as one no
// calendar has, so that the core refuses it with its message.
const whole = (v) => (Number.isInteger(v) && Math.abs(v) <= 2147483647 ? v : 2147483647);

// The months and days asked for last, kept (as the promises of their documents): a month
// shown again, or one asked for ahead (ahead()), comes without waiting on the worker. Both
// documents depend on nothing but their arguments; a failed one is not kept.
const kept = new Map();
const keptLimit = 64;

function keep(key, make) {
  let p = kept.get(key);
  if (p !== undefined) {
    kept.delete(key); // the newest at the end
  } else {
    p = make();
    p.catch(() => {
      if (kept.get(key) === p) {
        kept.delete(key);
      }
    });
  }
  kept.set(key, p);
  while (kept.size > keptLimit) {
    kept.delete(kept.keys().next().value);
  }
  return p;
}

// The documents the build made ahead (index.html's sorvaneWorkers.made): the file of a month
// of the build's years, or null. Its documents are the module's own answers, so a document
// found there is the one the module would give.
const made = window.sorvaneWorkers.made;

function madeFile(y, mo) {
  if (!made || !Number.isInteger(y) || !Number.isInteger(mo) || y < made.from || y > made.to || mo < 1 || mo > 12) {
    return Promise.resolve(null);
  }
  return made.file(y + '-' + String(mo).padStart(2, '0'));
}

// The document pick(file) of the month's file made ahead, or else the module's.
async function madeOr(y, mo, pick, compute) {
  const f = await madeFile(y, mo);
  const doc = f ? pick(f) : undefined;
  return doc !== undefined && doc !== null ? doc : compute();
}

// The module made ready (downloaded, compiled, its tables read) by a first call: resolves
// when it has answered, or failed.
export const readyModule = () => pageDoc('sorvane_page_coverage', []).then(() => true, () => false);

export const monthDoc = (y, mo) => keep('m' + y + '-' + mo, () =>
  madeOr(y, mo, (f) => f.month, () => pageDoc('sorvane_page_month', [whole(y), whole(mo)])));
// A place as the core takes it: a name of the place list, or '' and a latitude and longitude.
const pagePlace = (place) => typeof place === 'string' ? [place, 0, 0] : ['', place.lat, place.lon];
export const dayDoc = (y, mo, d, place) => keep('d' + y + '-' + mo + '-' + d + ' ' + JSON.stringify(place), () =>
  madeOr(y, mo, (f) => (place === f.place && f.days && Number.isInteger(d) ? f.days[d] : undefined),
    () => pageDoc('sorvane_page_day', [whole(y), whole(mo), whole(d)].concat(pagePlace(place)))));

// Work asked for ahead: each job (a function that asks the core and returns its promise)
// starts only while no other call waits on the worker, one at a time, so that what the page
// asks for meanwhile waits behind one job at most. A new list replaces the jobs not started.
let laterJobs = [];
let laterRunning = false;

function pump() {
  if (laterRunning || waiting.size > 0 || laterJobs.length === 0) {
    return;
  }
  const job = laterJobs.shift();
  laterRunning = true;
  const next = () => {
    laterRunning = false;
    setTimeout(pump, 0);
  };
  job().then(next, next);
}

export function ahead(jobs) {
  laterJobs = jobs.slice();
  setTimeout(pump, 0);
}

// One of the documents the page reads before its first month: from the first month's file
// made ahead when there is one, or else from pages/start.json (index.html fetches it when the
// page opens on a month outside the years made ahead), or else the module's.
async function startDoc(name, fn) {
  const f = made && made.first ? await made.first : null;
  const s = f ? f : made && made.start ? await made.start : null;
  return s && s.start && s.start[name] ? s.start[name] : pageDoc(fn, []);
}

export const placesDoc = () => startDoc('places', 'sorvane_page_places');
export const yearDoc = (y, place, theory) =>
  pageDoc('sorvane_page_year', [whole(y)].concat(pagePlace(place), [theory ? 1 : 0]));
export const vocabularyDoc = () => startDoc('vocabulary', 'sorvane_page_vocabulary');
export const coverageDoc = () => startDoc('coverage', 'sorvane_page_coverage');
export const warekiDoc = (text, julian) => pageDoc('sorvane_page_wareki', [String(text), julian ? 1 : 0]);
export const lifeKindsDoc = () => startDoc('lifeKinds', 'sorvane_page_life_kinds');
export const lifeDoc = (kind, date, year, sex, today) =>
  pageDoc('sorvane_page_life', [kind, date, String(year), sex, today].map(String));

// The module off the page's thread. Two kinds of worker run this script:
// - the page's core (core.js): one worker for the page's life, answering each numbered call
//   ({id, page: [function, args]} or {id, cli: args}) with {id, text} or {id, status, stdout,
//   stderr, refused}, or {id, error, code, field} in Japanese. A call that breaks the module
//   (a trap inside it) is answered with an error, and the next call gets a new module.
// - one task per worker: 日を探す's search (the core's search document) or a calendar file (the
//   core reads the page's fields into a command line of the terminal program, whose output is
//   handed over in pieces; the core also says how the run went, so the program's own English
//   lines are never shown). The page ends the worker when the query changes or the file has
//   come, and with it the module's memory.
// Each answer of the core says how long the call took in the worker (ms), and the first one
// also how long the module and the page's tables took to be ready: the page's timings.
'use strict';
const started = performance.now();
importScripts('sorvane-cli.js');
const decoder = new TextDecoder();
let ready = null;
let page = 0;
let startup = null;
let startupTold = false;

// What the worker says when the module itself failed and so cannot say it.
const failed = () => ({
  error: '計算の途中で失敗しました。もう一度試すか、ページを開き直してください。',
  code: 'calculation-failed',
  field: '',
});

// The compiled module: the worker's own download, compiled while it arrives, for the page's
// first worker (index.html's begin: {download}), which gives it to the page for the others;
// the one the page hands over to a later worker (newWorker: {handover} first, then
// {compiled}, a WebAssembly.Module or null). Null, or a promise of null, when the module
// cannot be compiled so: the module's own loader then downloads it.
let given = null;
let receiveGiven = null;

function download() {
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.compileStreaming !== 'function') {
    return Promise.resolve(null);
  }
  return WebAssembly.compileStreaming(fetch('sorvane-cli.wasm')).catch(() => null);
}

// Gives the page the compiled module (or null), for its later workers.
function tell(compiled) {
  try {
    postMessage({ compiledModule: compiled });
  } catch (e) {
    postMessage({ compiledModule: null });
  }
}

// A new module: instantiated from the module handed over, or from the worker's own download.
// An instantiation that fails rejects (and the next try downloads), never leaves a call
// waiting.
function make() {
  return (given || Promise.resolve(null)).then((compiled) => {
    if (!compiled) {
      return SorvaneModule();
    }
    let fail = null;
    const notMade = new Promise((_, reject) => {
      fail = reject;
    });
    const made = SorvaneModule({
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled), (e) => {
          given = null;
          fail(e);
        });
        return {};
      },
    });
    return Promise.race([made, notMade]);
  });
}

async function module() {
  if (ready === null) {
    ready = make();
    page = 0;
  }
  const m = await ready;
  if (m.broken) {
    ready = null;
    return module();
  }
  return m;
}

// The page's tables, made on the first call that needs them; 0 when they cannot be read.
function pageOf(m) {
  if (!page) {
    page = m._sorvane_page_new();
  }
  return page;
}

// After a trap the module is made again on the next call.
function forget(m) {
  if (m.broken) {
    ready = null;
    page = 0;
  }
}

// One page document. Without a page (the tables not read) the core answers its own error.
function pageDoc(m, fn, args) {
  return JSON.parse(m.pageCall(fn, [pageOf(m)].concat(args)));
}

function find(m, { query, from, to }) {
  try {
    return pageDoc(m, 'sorvane_page_find', [query, from, to]);
  } catch (e) {
    forget(m);
    return failed();
  }
}

// A calendar file: {pieces, name} or the core's error document.
function file(m, request) {
  let made;
  try {
    made = pageDoc(m, 'sorvane_page_file', [JSON.stringify(request)]);
  } catch (e) {
    forget(m);
    return { doc: failed() };
  }
  if (made.error) {
    return { doc: made };
  }
  let r;
  try {
    r = m.runCli(made.args, true);
  } catch (e) {
    forget(m);
    return { doc: failed() };
  }
  const size = r.stdout.reduce((n, p) => n + p.byteLength, 0);
  let outcome;
  try {
    // A line too long to run (refused before the program starts) is a refused request.
    outcome = pageDoc(m, 'sorvane_page_file_outcome', [r.refused ? 2 : r.status, size > 0 ? 1 : 0]);
  } catch (e) {
    forget(m);
    return { doc: failed() };
  }
  if (outcome.error) {
    return { doc: outcome };
  }
  return { doc: { name: made.name, pieces: r.stdout.map((p) => p.buffer) } };
}

// The month the page opens on, when the page told it ({download, warm: {year, month}}): its
// call's arguments and, once computed, the answer, kept for that one call.
let warm = null;

// The page's tables, and the worker's start-up timings with them; then the month the page
// opens on, computed before the page asks (whichever comes first, the warm-up or a call, does
// both before any call is answered).
function prepare(m) {
  if (startup === null) {
    const moduleReady = performance.now();
    pageOf(m);
    startup = { script: started, module: moduleReady - started, tables: performance.now() - moduleReady };
  }
  if (warm !== null && warm.text === undefined) {
    const t = performance.now();
    try {
      warm.text = m.pageCall(warm.fn, [pageOf(m)].concat(warm.args));
      startup.warm = performance.now() - t;
    } catch (e) {
      forget(m);
      warm = null;
    }
  }
}

// The answer computed ahead for this call of the page, or undefined; given once.
function warmed(fn, args) {
  if (warm === null || warm.text === undefined || warm.fn !== fn ||
      JSON.stringify(warm.args) !== JSON.stringify(args)) {
    return undefined;
  }
  const text = warm.text;
  warm = null;
  return text;
}

// A worker handed the module makes the module and the page's tables at once, while the page
// is still loading; a failure here is met again (and answered) by the first call.
async function warmUp() {
  try {
    prepare(await module());
  } catch (e) {
    ready = null;
  }
}

// One call of the page's core.
async function call(data) {
  let m;
  try {
    m = await module();
  } catch (e) {
    ready = null; // tried again on the next call
    return failed();
  }
  prepare(m);
  const t = performance.now();
  try {
    if (data.cli) {
      const r = m.runCli(data.cli);
      return {
        status: r.status, stdout: decoder.decode(r.stdout), stderr: decoder.decode(r.stderr),
        refused: r.refused, took: performance.now() - t,
      };
    }
    const [fn, args] = data.page;
    const ahead = warmed(fn, args);
    if (ahead !== undefined) {
      return { text: ahead, took: 0, warmed: true };
    }
    return { text: m.pageCall(fn, [pageOf(m)].concat(args)), took: performance.now() - t };
  } catch (e) {
    if (m.broken) {
      forget(m);
      return failed();
    }
    // The module's own Japanese message (no memory for a text).
    return { error: e && e.message ? e.message : String(e), code: '', field: '' };
  }
}

onmessage = async (ev) => {
  if (ev.data.download) {
    const w = ev.data.warm;
    if (w && Number.isInteger(w.year) && Number.isInteger(w.month)) {
      warm = { fn: 'sorvane_page_month', args: [w.year, w.month] };
    }
    given = download();
    given.then(tell);
    warmUp();
    return;
  }
  if (ev.data.handover) {
    given = new Promise((resolve) => {
      receiveGiven = resolve;
    });
    warmUp();
    return;
  }
  if (ev.data.compiled !== undefined) {
    if (receiveGiven) {
      receiveGiven(ev.data.compiled);
      receiveGiven = null;
    }
    return;
  }
  if (ev.data.id !== undefined) {
    const answer = await call(ev.data);
    answer.id = ev.data.id;
    if (startup !== null && !startupTold) {
      answer.startup = startup;
      startupTold = true;
    }
    postMessage(answer);
    return;
  }
  let m;
  try {
    m = await module();
  } catch (e) {
    ready = null;
    postMessage(failed());
    return;
  }
  if (ev.data.find) {
    postMessage(find(m, ev.data.find));
    return;
  }
  const { doc } = file(m, ev.data.file);
  postMessage(doc, doc.pieces || []);
};

// The module off the page's thread. Two kinds of worker run this script:
// - the page's core (core.js): one worker for the page's life, answering each numbered call
//   ({id, page: [function, args]} or {id, cli: args}) with {id, text} or {id, status, stdout,
//   stderr, refused}, or {id, error} in Japanese. A call that breaks the module (a trap inside
//   it) is answered with an error, and the next call gets a new module.
// - one task per worker: 日を探す's search (the core's search document) or a calendar file (a
//   command line of the terminal program, its output handed over in pieces). The page ends the
//   worker when the query changes or the file has come, and with it the module's memory.
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

const reason = (e) => (e && e.message ? e.message : String(e));

async function module() {
  if (ready === null) {
    ready = SorvaneModule();
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

function find(m, { query, from, to }) {
  try {
    return pageOf(m) ? JSON.parse(m.pageCall('sorvane_page_find', [page, query, from, to]))
      : { error: '暦の表を読み込めませんでした' };
  } catch (e) {
    return { error: '探せませんでした（' + reason(e) + '）' };
  }
}

// One call of the page's core.
async function call(data) {
  let m;
  try {
    m = await module();
  } catch (e) {
    ready = null; // tried again on the next call
    return { error: '計算の部分を読み込めませんでした（' + reason(e) + '）' };
  }
  if (startup === null) {
    const moduleReady = performance.now();
    pageOf(m);
    startup = { script: started, module: moduleReady - started, tables: performance.now() - moduleReady };
  }
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
    if (!pageOf(m)) {
      return { error: '暦の表を読み込めませんでした' };
    }
    return { text: m.pageCall(fn, [page].concat(args)), took: performance.now() - t };
  } catch (e) {
    if (m.broken) {
      ready = null;
      page = 0;
      return { error: '計算の途中で失敗しました（' + reason(e) + '）' };
    }
    return { error: reason(e) };
  }
}

onmessage = async (ev) => {
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
  const m = await module();
  if (ev.data.find) {
    postMessage(find(m, ev.data.find));
    return;
  }
  let r;
  try {
    r = m.runCli(ev.data.run, true);
  } catch (e) {
    postMessage({ error: '書き出せませんでした（' + reason(e) + '）' });
    return;
  }
  const pieces = r.stdout.map((p) => p.buffer);
  postMessage({ status: r.status, pieces, stderr: decoder.decode(r.stderr), refused: r.refused }, pieces);
};

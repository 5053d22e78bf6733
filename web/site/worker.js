// The page's long work off its thread, one task per worker: 日を探す's search (the core's
// search document) or a calendar file (a command line of the terminal program, its output
// handed over in pieces). The page ends the worker when the query changes or the file has
// come, and with it the module's memory.
'use strict';
importScripts('sorvane-cli.js');
const ready = SorvaneModule();
const decoder = new TextDecoder();
let page = 0;

function find(m, { query, from, to }) {
  try {
    if (!page) {
      page = m._sorvane_page_new();
    }
    return page ? JSON.parse(m.pageCall('sorvane_page_find', [page, query, from, to]))
      : { error: '暦の表を読み込めませんでした' };
  } catch (e) {
    return { error: '探せませんでした（' + (e && e.message ? e.message : String(e)) + '）' };
  }
}

onmessage = async (ev) => {
  const m = await ready;
  if (ev.data.find) {
    postMessage(find(m, ev.data.find));
    return;
  }
  let r;
  try {
    r = m.runCli(ev.data.run, true);
  } catch (e) {
    postMessage({ error: '書き出せませんでした（' + (e && e.message ? e.message : String(e)) + '）' });
    return;
  }
  const pieces = r.stdout.map((p) => p.buffer);
  postMessage({ status: r.status, pieces, stderr: decoder.decode(r.stderr), refused: r.refused }, pieces);
};

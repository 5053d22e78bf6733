// The page's long work off its thread, one task per worker: 日を探す's search (the core's
// search document) or a calendar file (the core reads the page's fields into a command line
// of the terminal program, whose output is handed over in pieces; the core also says how the
// run went, so the program's own English lines are never shown). The page ends the worker
// when the query changes or the file has come, and with it the module's memory.
'use strict';
importScripts('sorvane-cli.js');
const ready = SorvaneModule();
// What the worker says when the module itself failed and so cannot say it.
const failed = { error: '計算の途中で失敗しました。もう一度試すか、ページを開き直してください。', code: 'calculation-failed', field: '' };
let page = 0;

function pageDoc(m, fn, args) {
  if (!page) {
    page = m._sorvane_page_new();
  }
  // Without a page the core answers its own error (the tables not read).
  return JSON.parse(m.pageCall(fn, [page].concat(args)));
}

function find(m, { query, from, to }) {
  try {
    return pageDoc(m, 'sorvane_page_find', [query, from, to]);
  } catch (e) {
    return failed;
  }
}

// A calendar file: {pieces, name} or the core's error document.
function file(m, request) {
  let made;
  try {
    made = pageDoc(m, 'sorvane_page_file', [JSON.stringify(request)]);
  } catch (e) {
    return { doc: failed };
  }
  if (made.error) {
    return { doc: made };
  }
  let r;
  try {
    r = m.runCli(made.args, true);
  } catch (e) {
    return { doc: failed };
  }
  const size = r.stdout.reduce((n, p) => n + p.byteLength, 0);
  let outcome;
  try {
    // A line too long to run (refused before the program starts) is a refused request.
    outcome = pageDoc(m, 'sorvane_page_file_outcome', [r.refused ? 2 : r.status, size > 0 ? 1 : 0]);
  } catch (e) {
    return { doc: failed };
  }
  if (outcome.error) {
    return { doc: outcome };
  }
  return { doc: { name: made.name, pieces: r.stdout.map((p) => p.buffer) } };
}

onmessage = async (ev) => {
  const m = await ready;
  if (ev.data.find) {
    postMessage(find(m, ev.data.find));
    return;
  }
  const { doc } = file(m, ev.data.file);
  postMessage(doc, doc.pieces || []);
};

// 日を探す's search off the page's thread: one command line of the terminal program, its
// result posted back. The page ends the worker when the query changes.
'use strict';
importScripts('sorvane-cli.js');
const ready = SorvaneModule();
const decoder = new TextDecoder();
onmessage = async (ev) => {
  const m = await ready;
  const r = m.runCli(ev.data.args);
  postMessage({ status: r.status, stdout: decoder.decode(r.stdout), stderr: decoder.decode(r.stderr) });
};

// 日を探す's search off the page's thread: the core's search document for one query, posted
// back. The page ends the worker when the query changes.
'use strict';
importScripts('sorvane-cli.js');
const ready = SorvaneModule();
let page = 0;
onmessage = async (ev) => {
  const m = await ready;
  const { query, from, to } = ev.data.find;
  let doc;
  try {
    if (!page) {
      page = m._sorvane_page_new();
    }
    doc = page ? JSON.parse(m.pageCall('sorvane_page_find', [page, query, from, to]))
      : { error: '暦の表を読み込めませんでした' };
  } catch (e) {
    doc = { error: '探せませんでした（' + (e && e.message ? e.message : String(e)) + '）' };
  }
  postMessage(doc);
};

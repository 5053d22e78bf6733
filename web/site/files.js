// カレンダーファイル: the year, its 選日, the search's days and the subscription feeds, as
// the terminal program writes them (--ics -, --feed), made in a worker and saved as .ics
// files.
import { $, el } from './shared.js';

// The file a command line writes, made in a worker (the page never waits on it, and the
// module's memory goes with the worker) and saved as name; statusId's line says how it went.
// A second request while one runs replaces it.
const running = {};

export function download(args, name, statusId) {
  if (running[statusId]) {
    running[statusId].terminate();
  }
  const worker = new Worker('worker.js');
  running[statusId] = worker;
  $(statusId).textContent = name + ' を書き出しています…';
  return new Promise((resolve) => {
    const finish = (text) => {
      worker.terminate();
      if (running[statusId] === worker) {
        delete running[statusId];
        $(statusId).textContent = text;
      }
      resolve();
    };
    worker.onerror = (ev) => {
      ev.preventDefault();
      finish('書き出せませんでした（' + (ev.message || '計算の途中で失敗しました') + '）');
    };
    worker.onmessage = (ev) => {
      const r = ev.data;
      if (r.error || r.refused) {
        finish(r.error || r.refused);
        return;
      }
      const text = r.stderr.split('\n').filter(Boolean).map((l) => l.replace(/^sorvane-cli: (note: )?/, '')).join('　');
      const size = r.pieces.reduce((n, p) => n + p.byteLength, 0);
      if (r.status !== 0 || size === 0) {
        finish(text || '書き出せませんでした');
        return;
      }
      const url = URL.createObjectURL(new Blob(r.pieces, { type: 'text/calendar' }));
      const a = el('a');
      a.href = url;
      a.download = name;
      document.body.appendChild(a);
      a.click();
      a.remove();
      setTimeout(() => URL.revokeObjectURL(url), 10000);
      finish(name + ' を保存しました' + (text ? '（' + text + '）' : ''));
    };
    worker.postMessage({ run: args.map(String) });
  });
}

export function setUpFiles(coverage, year) {
  for (const id of ['files-year']) {
    $(id).min = coverage.year.first;
    $(id).max = coverage.year.last;
  }
  for (const id of ['feed-from', 'feed-to']) {
    $(id).min = coverage.icalendar.first;
    $(id).max = coverage.icalendar.last;
  }
  $('files-year').value = year;
  $('feed-from').value = year;
  $('feed-to').value = year;
  $('files-year-ics').onclick = () => download([$('files-year').value, '--ics', '-'], 'sorvane-' + $('files-year').value + '.ics', 'files-status');
  $('files-notes-ics').onclick = () => download([$('files-year').value, '--notes', '--ics', '-'], 'sorvane-senjitsu-' + $('files-year').value + '.ics', 'files-status');
  for (const b of document.querySelectorAll('[data-feed]')) {
    const span = coverage.feeds[b.dataset.feed];
    if (span) {
      b.title = span.first + '〜' + span.last + '年';
    }
    b.onclick = () => download(['--feed', b.dataset.feed, '--from', $('feed-from').value, '--to', $('feed-to').value],
      'sorvane-' + b.dataset.feed + '.ics', 'files-status');
  }
}

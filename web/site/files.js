// カレンダーファイル: the year, its 選日, the search's days and the subscription feeds, as
// the terminal program writes them (--ics -, --feed), made in a worker and saved as .ics
// files.
import { $, el, refused, told } from './shared.js';
import { brokenMessage, newWorker } from './core.js';

// The calendar file of a request ({file: 'year' | 'notes' | 'find' | 'feed' | 'life', and that
// kind's fields, as the core reads them), made in a worker (the page never waits on it, and
// the module's memory goes with the worker) and saved under the name the core gives; the
// line at statusId says how it went, and a refusal marks the field to change (fields: the
// core's field names and the view's inputs). A second request while one runs replaces it.
const running = {};

export function download(request, statusId, fields) {
  if (running[statusId]) {
    running[statusId].terminate();
  }
  const worker = newWorker();
  running[statusId] = worker;
  told(statusId, fields, 'カレンダーファイルを書き出しています…');
  return new Promise((resolve) => {
    const finish = (show) => {
      worker.terminate();
      if (running[statusId] === worker) {
        delete running[statusId];
        show();
      }
      resolve();
    };
    worker.onerror = (ev) => {
      ev.preventDefault();
      finish(() => refused(statusId, { error: brokenMessage, code: 'calculation-failed' }, fields));
    };
    worker.onmessage = (ev) => {
      const r = ev.data;
      if (r.error) {
        finish(() => refused(statusId, r, fields));
        return;
      }
      const url = URL.createObjectURL(new Blob(r.pieces, { type: 'text/calendar' }));
      const a = el('a');
      a.href = url;
      a.download = r.name;
      document.body.appendChild(a);
      a.click();
      a.remove();
      setTimeout(() => URL.revokeObjectURL(url), 10000);
      finish(() => told(statusId, fields, r.name + ' を保存しました'));
    };
    worker.postMessage({ file: request });
  });
}

const fileFields = { year: 'files-year' };
const feedFields = { from: 'feed-from', to: 'feed-to' };

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
  $('files-year-ics').onclick = () => download({ file: 'year', year: $('files-year').value }, 'files-status', fileFields);
  $('files-notes-ics').onclick = () => download({ file: 'notes', year: $('files-year').value }, 'files-status', fileFields);
  for (const b of document.querySelectorAll('[data-feed]')) {
    const span = coverage.feeds[b.dataset.feed];
    if (span) {
      b.title = span.first + '〜' + span.last + '年';
    }
    b.onclick = () => download({ file: 'feed', feed: b.dataset.feed, from: $('feed-from').value, to: $('feed-to').value },
      'files-status', feedFields);
  }
}

// 購読用カレンダー: the feeds the build put into the site (feeds.json, written by
// tools/feeds.sh), each with its full address, a webcal:// link, a QR code of that link
// (Debian's qrcode-generator, loaded when the list is first shown) and a copy button.
let feedsShown = null;

function loadQrLibrary() {
  if (window.qrcode) {
    return Promise.resolve(window.qrcode);
  }
  return new Promise((resolve, reject) => {
    const s = el('script');
    s.src = 'qrcode.js';
    s.onload = () => (window.qrcode ? resolve(window.qrcode) : reject(new Error('QR コードを作れません')));
    s.onerror = () => reject(new Error('QR コードの部品を読み込めません'));
    document.head.appendChild(s);
  });
}

// The addresses of a feed of the site at base (the page's own address).
export function feedAddresses(kind, base) {
  const url = new URL('feeds/' + kind + '.ics', base);
  return { https: url.href, webcal: 'webcal://' + url.host + url.pathname };
}

async function copyText(text, button) {
  try {
    await navigator.clipboard.writeText(text);
    button.textContent = 'コピーしました';
  } catch (e) {
    button.textContent = 'コピーできません：アドレスを選んでコピーしてください';
  }
  setTimeout(() => { button.textContent = 'アドレスをコピー'; }, 3000);
}

async function renderFeeds() {
  const list = $('feed-list');
  let about;
  try {
    const r = await fetch('feeds.json', { cache: 'no-cache' });
    if (!r.ok) {
      throw new Error(String(r.status));
    }
    about = await r.json();
  } catch (e) {
    list.textContent = '';
    list.appendChild(el('li', 'error', '購読用カレンダーの一覧を読み込めません（ネットワークにつないで開き直してください）。'));
    return;
  }
  $('feeds-years').textContent = about.first + '年から' + about.last + '年まで（去年から3年先まで）。';
  let qr = null;
  try {
    qr = await loadQrLibrary();
  } catch (e) {
    qr = null;
  }
  list.textContent = '';
  for (const feed of about.feeds) {
    const a = feedAddresses(feed.kind, location.href);
    const li = el('li', 'feed');
    li.dataset.kind = feed.kind;
    const text = el('div', 'feed-text');
    text.appendChild(el('h3', null, feed.name.replace(/（Sorvane）$/, '')));
    text.appendChild(el('p', 'about', feed.about.replace(/。[^。]*Sorvane による計算$/, '') + '（' + feed.events + '件）'));
    const address = el('p', 'address');
    address.appendChild(el('span', null, 'アドレス：'));
    address.appendChild(el('code', 'url', a.https));
    text.appendChild(address);
    const actions = el('p', 'actions');
    const link = el('a', 'webcal', 'webcal で登録');
    link.href = a.webcal;
    actions.appendChild(link);
    const copy = el('button', 'copy', 'アドレスをコピー');
    copy.type = 'button';
    copy.onclick = () => copyText(a.https, copy);
    actions.appendChild(copy);
    text.appendChild(actions);
    li.appendChild(text);
    if (qr) {
      const code = qr(0, 'M');
      code.addData(a.webcal);
      code.make();
      const figure = el('figure', 'qr');
      figure.innerHTML = code.createSvgTag({ cellSize: 4, margin: 16, scalable: true });
      const svg = figure.querySelector('svg');
      svg.setAttribute('role', 'img');
      svg.setAttribute('aria-label', feed.name + ' の QR コード（' + a.webcal + '）');
      figure.appendChild(el('figcaption', null, 'スマートフォンのカメラで読み取り'));
      li.appendChild(figure);
    }
    list.appendChild(li);
  }
}

export function showFeeds() {
  if (!feedsShown) {
    feedsShown = renderFeeds();
  }
  return feedsShown;
}

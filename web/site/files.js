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

// Why the years of 「から」 and 「まで」 cannot be written for a feed of the years span (the
// core's coverage document), in Japanese naming the field to change; '' when they can.
function feedRangeRefusal(span, what) {
  const read = (id, name) => {
    const text = $(id).value.trim();
    if (!/^\d{1,4}$/.test(text)) {
      return { error: '「' + name + '」の年を数字で入れてください（例：' + new Date().getFullYear() + '）。' };
    }
    return { year: Number(text) };
  };
  const from = read('feed-from', 'から');
  const to = read('feed-to', 'まで');
  if (from.error || to.error) {
    return from.error || to.error;
  }
  if (to.year < from.year) {
    return '「まで」の' + to.year + '年が「から」の' + from.year + '年より前です。「まで」を' + from.year + '年以降にしてください。';
  }
  if (span && (from.year < span.first || to.year > span.last)) {
    return what + 'は' + span.first + '〜' + span.last + '年の間で選んでください（「から」' + from.year + '年・「まで」' + to.year + '年）。';
  }
  return '';
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
    b.onclick = () => {
      const refusal = feedRangeRefusal(span, b.textContent);
      if (refusal) {
        $('files-status').textContent = refusal;
        return undefined;
      }
      return download(['--feed', b.dataset.feed, '--from', $('feed-from').value, '--to', $('feed-to').value],
        'sorvane-' + b.dataset.feed + '.ics', 'files-status');
    };
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

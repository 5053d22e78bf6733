// Sorvane in the browser. Every date, name and time on this page comes from the program's
// C++ core compiled to WebAssembly (sorvane-cli.js, run in a worker and read through core.js); the views only lay
// the core's documents out: month.js (月), year.js (年), find.js (日を探す), life.js (行事),
// wareki.js (和暦), files.js (カレンダーファイル), places.js (場所 and 暦注), install.js (the
// page as an app), with shared.js's helpers.
import { $, status, notice, parseDate, today } from './shared.js';
import { coverageDoc, placesDoc, vocabularyDoc, lifeKindsDoc, timings, readyModule } from './core.js';
import { state, showMonth, selectDate, setUpMonth, monthHasDay } from './month.js';
import { showYear, setUpYear } from './year.js';
import { setUpFind, startFind } from './find.js';
import { setUpFiles, showFeeds } from './files.js';
import { loadSettings, setUpSettings } from './places.js';
import { setUpInstall, keepOffline } from './install.js';
import { setUpLife } from './life.js';
import { setUpWareki } from './wareki.js';

const views = ['month', 'year', 'find', 'life', 'wareki', 'files'];

function showView(name) {
  for (const v of views) {
    $('view-' + v).hidden = v !== name;
    $('tab-' + v).setAttribute('aria-selected', String(v === name));
  }
  if (name === 'year') {
    showYear(Number($('year-only').value) || state.y);
  }
  if (name === 'files') {
    showFeeds();
  }
  if (name === 'find' && !$('find-count').textContent) {
    startFind();
  }
}

// The address: #YYYY-MM opens a month, #YYYY-MM-DD selects a day. One the page cannot read
// (not a date, a year or day the calendar does not have) is dropped with a note, and the
// page shows the month it was on (today's, on load).
async function fromHash() {
  const raw = location.hash.slice(1);
  if (raw === '') {
    return showMonth(state.y, state.m);
  }
  let text = null;
  try {
    text = decodeURIComponent(raw);
  } catch (e) {
    text = null;
  }
  const d = text === null ? null : parseDate(text);
  const shown = text === null ? raw : text;
  const drop = (why) => {
    notice('アドレスの「#' + (shown.length > 40 ? shown.slice(0, 40) + '…' : shown) + '」は' + why + '。');
    history.replaceState(null, '', location.pathname + location.search);
    return showMonth(state.y, state.m);
  };
  if (d === null) {
    return drop('日付（例：#2026-02、#2026-02-04）として読めません');
  }
  showView('month');
  // The core says whether the month exists; the day is checked against its document.
  if (!(await showMonth(d.y, d.m))) {
    status('');
    return drop('暦にない月です');
  }
  if (d.d === 0) {
    return true;
  }
  if (!monthHasDay(d.d)) {
    return drop('暦にない日です');
  }
  await selectDate(d.y, d.m, d.d, true);
  history.replaceState(null, '', '#' + text);
  return true;
}

async function start() {
  const [coverage, places, vocabulary, lifeKinds] =
    await Promise.all([coverageDoc(), placesDoc(), vocabularyDoc(), lifeKindsDoc()]);
  loadSettings(places);
  setUpMonth(coverage.year);
  setUpYear(coverage.year);
  setUpFind(vocabulary, (date, why) => {
    state.found = { date, why };
    showView('month');
  });
  setUpFiles(coverage, today.y);
  setUpLife(lifeKinds);
  setUpWareki();
  setUpSettings(places);
  $('year-only').value = today.y;
  for (const v of views) {
    $('tab-' + v).onclick = () => showView(v);
  }
  $('notice-close').onclick = () => {
    for (const p of $('notice').querySelectorAll('p')) {
      p.remove();
    }
    $('notice').hidden = true;
  };
  window.addEventListener('hashchange', fromHash);
  await fromHash();
  if (!state.doc) {
    await showMonth(today.y, today.m);
  }
  // When the first month was drawn (ms from the navigation's start), and the worker's own
  // timings up to it; madeAhead when no call of the module was needed for it.
  window.sorvaneTimes = {
    firstMonth: performance.now(), startup: timings.startup, calls: timings.calls.slice(),
    madeAhead: timings.calls.length === 0,
  };
  document.body.dataset.ready = 'true';
  return window.sorvaneTimes.madeAhead;
}

// A first month drawn from the documents made ahead: once the reader has left the page alone
// for a moment, the module is fetched and made ready (index.html holds its download back until
// then), and only then does the service worker fetch the site for use offline, so that the two
// downloads do not share a slow line, and neither shares a slow phone's processor with the
// first pages turned. A call that needs the module meanwhile fetches it at once.
const quietFor = 2000; // ms without a click, key, touch or wheel
const readerQuiet = () => new Promise((resolve) => {
  const kinds = ['click', 'keydown', 'pointerdown', 'touchstart', 'wheel'];
  let timer = null;
  const done = () => {
    for (const k of kinds) {
      window.removeEventListener(k, again, true);
    }
    resolve();
  };
  const again = () => {
    clearTimeout(timer);
    timer = setTimeout(done, quietFor);
  };
  for (const k of kinds) {
    window.addEventListener(k, again, { capture: true, passive: true });
  }
  again();
});

setUpInstall();
start().then(async (madeAhead) => {
  if (madeAhead) {
    await readerQuiet();
    await readyModule();
  }
}, (e) => {
  status('読み込めませんでした：' + e.message, true);
  document.body.dataset.ready = 'failed';
}).finally(keepOffline);

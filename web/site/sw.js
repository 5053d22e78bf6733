// Keeps the site for use without a network. Each build's worker caches that build's files
// (the list below, written by the build) under a cache of its own, fetched past the browser's
// HTTP cache so that no file of another build slips in, and serves from it alone. The first
// worker takes the page at once; a later build's waits beside the one in charge until the
// page asks it to take over (the page's 「新しい版があります」 and its 再読み込み), so that a
// page never runs on files of two builds. Once in charge it removes the older caches.
'use strict';
const VERSION = '@VERSION@';
const CACHE = 'sorvane-' + VERSION;
const FILES = ['./'].concat(@FILES@);

self.addEventListener('install', (ev) => {
  const first = !self.registration.active;
  ev.waitUntil(caches.open(CACHE)
    .then((c) => c.addAll(FILES.map((f) => new Request(f, { cache: 'reload' }))))
    .then(() => (first ? self.skipWaiting() : undefined)));
});
self.addEventListener('message', (ev) => {
  if (ev.data === 'take-over') {
    self.skipWaiting();
  }
});
self.addEventListener('activate', (ev) => {
  ev.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('sorvane-') && k !== CACHE).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});
self.addEventListener('fetch', (ev) => {
  if (ev.request.method !== 'GET') {
    return;
  }
  ev.respondWith(caches.open(CACHE).then((c) =>
    c.match(ev.request, { ignoreSearch: true }).then((hit) => hit || fetch(ev.request))));
});

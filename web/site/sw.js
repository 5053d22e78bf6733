// Keeps the site for use without a network: every file is cached on installation and served
// from the cache first; a new build (a new version below) replaces the cache.
'use strict';
const VERSION = '@VERSION@';
const CACHE = 'sorvane-' + VERSION;
const FILES = ['./', 'index.html', 'app.js', 'shared.js', 'core.js', 'month.js', 'year.js',
  'find.js', 'files.js', 'places.js', 'style.css', 'worker.js', 'sorvane-cli.js',
  'sorvane-cli.wasm', 'manifest.webmanifest', 'icon.svg'];

self.addEventListener('install', (ev) => {
  ev.waitUntil(caches.open(CACHE).then((c) => c.addAll(FILES)).then(() => self.skipWaiting()));
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

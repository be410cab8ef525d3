// Serves the page's own files from a cache filled at the first visit: the
// page then works offline. Nothing else is fetched, and nothing is stored
// but these files.
'use strict';
var CACHE = 'ravelon-1.01';
var FILES = ['./', 'index.html', 'ravelon.css', 'page.js', 'ravelon.js', 'ravelon.wasm', 'ravelon-simd.js',
             'ravelon-simd.wasm', 'manifest.webmanifest',
             'ravelon.svg', 'ravelon-192.png', 'ravelon-512.png'];

self.addEventListener('install', function (event) {
  event.waitUntil(caches.open(CACHE).then(function (cache) { return cache.addAll(FILES); }));
});

self.addEventListener('activate', function (event) {
  event.waitUntil(caches.keys().then(function (names) {
    return Promise.all(names.filter(function (n) { return n !== CACHE; }).map(function (n) { return caches.delete(n); }));
  }));
});

self.addEventListener('fetch', function (event) {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(caches.match(event.request, { ignoreSearch: true }).then(function (hit) {
    return hit || fetch(event.request);
  }));
});

// The service worker: keeps the site (tools/web lists its files here) in a cache named by its
// version, and serves from it first, so that after one visit the calculator starts with the
// network and the server gone; other files of the site (skins given by ?skin=) are kept once
// fetched. A new version installs at once and drops the caches before it.
'use strict';
const Version = '@VERSION@';
const Files = [@FILES@];
const Cache = 'numbrix-' + Version;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(Cache).then(cache => cache.addAll(Files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name.startsWith('numbrix-') && name !== Cache)
                                    .map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page's query (?skin=) chooses nothing of the site's own files.
self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(caches.open(Cache).then(async cache => {
    const cached = await cache.match(event.request, { ignoreSearch: true });
    if (cached) return cached;
    const response = await fetch(event.request);
    if (response.ok) cache.put(event.request, response.clone());
    return response;
  }));
});

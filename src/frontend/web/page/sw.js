// @ts-check
// Keeps every file of the site, so that the game loads and plays with the
// network off. The build lists the files and names the cache after their
// contents: a changed site installs a fresh cache and drops the old one.
const CACHE = 'tessaly-@VERSION@';
const FILES = ['@FILES@'];
// The type checker knows `self` only as any worker's, not as this kind.
const worker = /** @type {ServiceWorkerGlobalScope} */ (/** @type {unknown} */ (self));

worker.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => worker.skipWaiting()));
});

worker.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith('tessaly-') && n !== CACHE)
        .map((n) => caches.delete(n))))
      .then(() => worker.clients.claim()));
});

worker.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(event.request)));
});

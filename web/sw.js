// The page's service worker: keeps every file of one build in a cache of its
// own, so that after one visit the game starts with no network. The list of
// files below, each with the SHA-256 of its bytes, is written into this file
// by scripts/lib/precache.py when the build's folder is complete; a build
// that changes any file therefore changes this worker, and the browser
// installs it beside the running one. It waits there until the page asks it
// to take over (offline.js), so a page never gets one build's program with
// another's files. Every address is taken relative to the worker's scope:
// the folder may sit at any path of any static host.

// Written by scripts/lib/precache.py: the build's version and its files.
const BUILD = {"version":"","files":{}};

const scope = self.registration.scope;
const cachePrefix = `quorvanteledix ${scope} `;
const cacheName = cachePrefix + BUILD.version;

// The cached file for each address the worker answers, the folder's own
// address (where the page usually starts) being index.html.
const fileAt = new Map(Object.keys(BUILD.files).map((name) => [new URL(name, scope).href, name]));
if (BUILD.files['index.html']) fileAt.set(scope, 'index.html');

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
}

// Fetches one listed file, past the HTTP cache's stale copies, and refuses it
// unless it is the very file the list names: a host half-way through taking a
// new build must not leave a mix of builds in the cache. The response kept
// is made afresh from its bytes, so that a host's redirect (index.html to
// its folder, say) is not replayed to a navigation.
async function fetchListed(name) {
  const response = await fetch(new URL(name, scope), { cache: 'no-cache' });
  if (!response.ok) throw new Error(`${name}: the server answered ${response.status}`);
  const bytes = await response.arrayBuffer();
  const digest = hex(await crypto.subtle.digest('SHA-256', bytes));
  if (digest !== BUILD.files[name]) throw new Error(`${name} on the server is not the file of build ${BUILD.version}`);
  const headers = new Headers();
  const type = response.headers.get('Content-Type');
  if (type) headers.set('Content-Type', type);
  return new Response(bytes, { status: 200, headers });
}

// All or nothing: the worker installs only once every listed file is cached.
async function fillCache() {
  const names = Object.keys(BUILD.files);
  if (names.length === 0) throw new Error('sw.js lists no files: run scripts/lib/precache.py on its folder');
  try {
    const responses = await Promise.all(names.map(fetchListed));
    const cache = await caches.open(cacheName);
    await Promise.all(names.map((name, i) => cache.put(new URL(name, scope), responses[i])));
  } catch (error) {
    await caches.delete(cacheName);
    throw error;
  }
}

self.addEventListener('install', (event) => {
  event.waitUntil(fillCache());
});

// Taking over: the caches of this scope's older builds go, and a page that
// was loaded before any worker (the first visit) comes under this one.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const key of await caches.keys()) {
      if (key.startsWith(cachePrefix) && key !== cacheName) await caches.delete(key);
    }
    await self.clients.claim();
  })());
});

// The page's "Reload" on "A new version is ready".
self.addEventListener('message', (event) => {
  if (event.data === 'skipWaiting') self.skipWaiting();
});

// Listed files come from the cache; everything else (another folder, another
// site) goes to the network as if there were no worker.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  const url = new URL(request.url);
  const name = fileAt.get(url.origin + url.pathname);
  if (!name) return;
  event.respondWith((async () => {
    const cached = await caches.match(new URL(name, scope).href, { cacheName });
    return cached ?? fetch(request);
  })());
});

// The site's service worker: it keeps every file of one version of the site
// under that version's name, so that the game starts with the network gone.
// A new version of the site comes with a new sw.js (its version and list
// are written in by web/site.cmake), which takes over at once and drops the
// old version's files.
const Version = "@VERSION@";
const Files = [@FILES@];
const CacheName = `velkor-${Version}`;

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(CacheName)
      // Past the browser's own cache: the files of this version, not older ones.
      .then((cache) => cache.addAll(Files.map((file) => new Request(file, { cache: "reload" }))))
      .then(() => self.skipWaiting()),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(names.filter((name) => name.startsWith("velkor-") && name !== CacheName).map((name) => caches.delete(name))),
      )
      .then(() => self.clients.claim()),
  );
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches
      .open(CacheName)
      .then((cache) => cache.match(request, { ignoreSearch: true }))
      .then((kept) => kept ?? fetch(request)),
  );
});

// A static host for the site on 127.0.0.1, as any web server or CDN serves
// it (types, gzip), whose folder can be swapped for a changed build and
// which can go away altogether, as the network does.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize } from "node:path";
import { gzipSync } from "node:zlib";

const Types = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".json": "application/json",
  ".webmanifest": "application/manifest+json",
  ".svg": "image/svg+xml",
  ".wasm": "application/wasm",
  ".data": "application/octet-stream",
  ".txt": "text/plain; charset=utf-8",
  ".png": "image/png",
};

export async function serveSite(folder) {
  const site = { folder, requests: 0 };
  const sockets = new Set();
  const server = createServer(async (request, response) => {
    site.requests += 1;
    const path = decodeURIComponent(new URL(request.url, "http://host").pathname);
    const name = normalize(path.endsWith("/") ? `${path}index.html` : path);
    try {
      let body = await readFile(join(site.folder, name));
      const type = Types[extname(name)] ?? "application/octet-stream";
      const headers = { "Content-Type": type, "Cache-Control": "no-cache" };
      if (/gzip/.test(request.headers["accept-encoding"] ?? "") && !/png/.test(type)) {
        body = gzipSync(body);
        headers["Content-Encoding"] = "gzip";
      }
      response.writeHead(200, headers);
      response.end(request.method === "HEAD" ? undefined : body);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain" });
      response.end("not found");
    }
  });
  server.on("connection", (socket) => {
    sockets.add(socket);
    socket.on("close", () => sockets.delete(socket));
  });
  const listen = (port) => new Promise((resolve) => server.listen(port, "127.0.0.1", resolve));
  await listen(0);
  site.port = server.address().port;
  site.url = `http://127.0.0.1:${site.port}/`;
  // The network gone: nothing listens, and open connections are cut.
  site.stop = () =>
    new Promise((resolve) => {
      server.close(() => resolve());
      for (const socket of sockets) socket.destroy();
    });
  site.start = () => listen(site.port);
  return site;
}

// Serves the built site (build-web/site/) on 127.0.0.1: a small static file
// server with the content types the page needs (WebAssembly, the manifest).
// Usage: node serve.mjs <site folder> [port]   (port 0: any free one)
// As a module: serve(folder, port) resolves to the running http.Server.

import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.json': 'application/json',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.woff2': 'font/woff2',
  '.txt': 'text/plain; charset=utf-8',
};

export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    let file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    if (file !== root && !file.startsWith(root + sep)) file = root;  // nothing outside the site
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': types[extname(file)] ?? 'application/octet-stream',
        'Cache-Control': 'no-cache',
      });
      response.end(request.method === 'HEAD' ? undefined : body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' });
      response.end('Not found\n');
    }
  });
  return new Promise((resolved, rejected) => {
    server.once('error', rejected);
    server.listen(port, '127.0.0.1', () => resolved(server));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8000'] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node serve.mjs <site folder> [port]');
    process.exit(2);
  }
  const server = await serve(folder, Number(port));
  console.log(`Tessaly is at http://127.0.0.1:${server.address().port}/  (Ctrl+C stops it)`);
}

// Serves the built site (build-web/site/) on 127.0.0.1: a small static file
// server with the content types the page needs (WebAssembly, the manifest).
// Usage: node serve.mjs <site folder> [port] [address]   (port 0: any free one)
// The address it listens on is 127.0.0.1 unless given (or TESSALY_WEB_HOST
// says): 0.0.0.0 lets a phone on the same network play.
// As a module: serve(folder, port, address, pages) resolves to the running
// http.Server; `pages` maps paths to pages of HTML served beside the site's
// files (the benchmark's bare pages).

import { createServer } from 'node:http';
import { networkInterfaces } from 'node:os';
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

export function serve(folder, port = 0, address = '127.0.0.1', pages = {}) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (Object.hasOwn(pages, path)) {
      response.writeHead(200, { 'Content-Type': types['.html'], 'Cache-Control': 'no-cache' });
      response.end(pages[path]);
      return;
    }
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
    server.listen(port, address, () => resolved(server));
  });
}

// Where a browser finds the server: on every address of this machine when it
// listens on all of them.
function addressesOf(address) {
  if (address !== '0.0.0.0' && address !== '::') return [address];
  const all = Object.values(networkInterfaces()).flat().filter((a) => a.family === 'IPv4' || a.family === 4);
  return all.map((a) => a.address);
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [folder, port = '8000', address = process.env.TESSALY_WEB_HOST || '127.0.0.1'] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node serve.mjs <site folder> [port] [address]');
    process.exit(2);
  }
  const server = await serve(folder, Number(port), address);
  const at = addressesOf(address).map((a) => `http://${a.includes(':') ? `[${a}]` : a}:${server.address().port}/`);
  console.log(`Tessaly is at ${at.join('  ')}  (Ctrl+C stops it)`);
}

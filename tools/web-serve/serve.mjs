// Serves the built site (build-web/site/) on 127.0.0.1: a small static file
// server with the content types the page needs (WebAssembly, the manifest),
// text compressed with brotli or gzip as the browser asks.
// Usage: node serve.mjs <site folder> [port] [address]   (port 0: any free one)
// The address it listens on is 127.0.0.1 unless given (or TESSALY_WEB_HOST
// says): 0.0.0.0 lets a phone on the same network play, and so lets anything
// on that network send it anything: every request gets an answer, and nothing
// outside the site folder is ever read.
// As a module: serve(folder, port, address, pages) resolves to the running
// http.Server; `pages` maps paths to pages of HTML served beside the site's
// files (the benchmark's bare pages).

import { createHash } from 'node:crypto';
import { readFile, realpath, stat } from 'node:fs/promises';
import { STATUS_CODES, createServer } from 'node:http';
import { networkInterfaces } from 'node:os';
import { extname, join, sep } from 'node:path';
import { pathToFileURL } from 'node:url';
import { promisify } from 'node:util';
import { brotliCompress, constants, gzip } from 'node:zlib';

// Each type the site serves, and whether it is worth compressing (the page
// carries the engine and the faces as base64, and shrinks to a third).
const types = {
  '.html': ['text/html; charset=utf-8', true],
  '.js': ['text/javascript; charset=utf-8', true],
  '.mjs': ['text/javascript; charset=utf-8', true],
  '.wasm': ['application/wasm', true],
  '.webmanifest': ['application/manifest+json', true],
  '.json': ['application/json', true],
  '.svg': ['image/svg+xml', true],
  '.png': ['image/png', false],
  '.woff2': ['font/woff2', false],
  '.txt': ['text/plain; charset=utf-8', true],
};
const unknownType = ['application/octet-stream', false];

// The encodings in the order they are preferred. A file is compressed once per
// version, for whoever asks first: brotli's quality 9 takes the page in tens
// of milliseconds, where 11 (a twentieth smaller) takes over a second.
// Below `least` bytes compressing saves less than the headers weigh.
const [brotli, gzipped] = [promisify(brotliCompress), promisify(gzip)];
const encoders = {
  br: (bytes) => brotli(bytes, {
    params: { [constants.BROTLI_PARAM_QUALITY]: 9, [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length },
  }),
  gzip: (bytes) => gzipped(bytes, { level: constants.Z_BEST_COMPRESSION }),
};
const least = 1024;

// A client has this long to send its request's head, and its whole request;
// a connection that says nothing for `idle` is closed. Node checks them
// every `checkEvery`, so a held-open connection is cut within a second of it.
const limits = { headers: 10_000, request: 30_000, keepAlive: 5_000, idle: 60_000, checkEvery: 1_000 };

const answering = Symbol('responses under way on a connection');

export function serve(folder, port = 0, address = '127.0.0.1', pages = {}) {
  const server = createServer({
    headersTimeout: limits.headers,
    requestTimeout: limits.request,
    keepAliveTimeout: limits.keepAlive,
    connectionsCheckingInterval: limits.checkEvery,
  });
  server.setTimeout(limits.idle);
  const site = new Site(folder, pages);
  server.on('request', (request, response) => {
    const socket = request.socket;
    socket[answering] = (socket[answering] ?? 0) + 1;
    response.once('close', () => --socket[answering]);
    site.answer(request, response).catch((error) => {
      console.error(`serve: ${request.method} ${request.url.slice(0, 200)}: ${error.stack}`);
      if (!response.headersSent) plain(response, 500, request.method);
      else response.destroy();
    });
  });
  // What Node's parser refuses (no HTTP at all, no Host, a head too long,
  // one too slow) is answered here, unless an answer is already under way on
  // that connection: bytes written then would run into it.
  server.on('clientError', (error, socket) => {
    if (socket.writable && !socket[answering]) {
      const status = error.code === 'ERR_HTTP_REQUEST_TIMEOUT' ? 408
        : error.code !== 'HPE_HEADER_OVERFLOW' ? 400
        : /^[A-Z]+ [^\r\n]*$/.test(error.rawPacket?.toString('latin1') ?? '') ? 414 : 431;
      socket.end(`HTTP/1.1 ${status} ${STATUS_CODES[status]}\r\nConnection: close\r\nContent-Length: 0\r\n\r\n`);
    }
    socket.destroy();
  });
  // Not a proxy: Node would drop a CONNECT without a word.
  server.on('connect', (request, socket) => {
    socket.on('error', () => {});
    socket.end(`HTTP/1.1 405 Method Not Allowed\r\nAllow: GET, HEAD\r\nConnection: close\r\nContent-Length: 0\r\n\r\n`);
  });
  return new Promise((resolved, rejected) => {
    server.once('error', rejected);
    server.listen(port, address, () => {
      server.off('error', rejected);
      server.on('error', (error) => console.error(`serve: ${error.message}`));
      resolved(server);
    });
  });
}

class Site {
  constructor(folder, pages) {
    this.folder = folder;
    this.pages = pages;
    // By file (or page) path: the version it was read at, its bytes and tag,
    // and each encoding as it is first asked for.
    this.kept = new Map();
  }

  async answer(request, response) {
    const method = request.method;
    if (method !== 'GET' && method !== 'HEAD') {
      return plain(response, 405, method, { Allow: 'GET, HEAD', Connection: 'close' });
    }
    const names = namesIn(request.url);
    if (typeof names === 'number') return plain(response, names, method);
    const path = `/${names.join('/')}`;
    if (Object.hasOwn(this.pages, path)) {
      const html = this.pages[path];
      const kept = this.keep(`page ${path}`, html, async () => Buffer.from(html));
      return this.send(request, response, kept, types['.html']);
    }
    const found = await this.find(names);
    if (!found) return plain(response, 404, method);
    const { file, info } = found;
    if (info.isDirectory()) {
      // The folder's own address, rebuilt from its names (never `//host`).
      return plain(response, 301, method, { Location: `/${names.map(encodeURIComponent).join('/')}/` });
    }
    const kept = this.keep(file, `${info.size} ${info.mtimeMs}`, () => readFile(file));
    return this.send(request, response, kept, types[extname(file)] ?? unknownType, info.mtime);
  }

  // The file that names lead to (a folder's index.html when the last name is
  // empty), or a folder without its slash; none when it is missing or a link
  // leads out of the site. The site's folder is looked up each time: a
  // rebuild may make it anew.
  async find(names) {
    try {
      const root = await realpath(this.folder);
      let file = await realpath(join(root, ...names));
      let info = await stat(file);
      if (names.at(-1) === '') {
        if (!info.isDirectory()) return null;
        file = await realpath(join(file, 'index.html'));
        info = await stat(file);
        if (!info.isFile()) return null;
      }
      const inside = file === root || file.startsWith(root + sep);
      return inside && (info.isFile() || info.isDirectory()) ? { file, info } : null;  // no pipe or device
    } catch {
      return null;
    }
  }

  keep(key, version, read) {
    let kept = this.kept.get(key);
    if (kept?.version !== version) {
      kept = { version, encoded: new Map() };
      kept.body = read().then((bytes) => ({ bytes, tag: createHash('sha256').update(bytes).digest('base64url').slice(0, 22) }));
      // A read that failed (the file went in a rebuild) is tried again next time.
      kept.body.catch(() => this.kept.get(key) === kept && this.kept.delete(key));
      this.kept.set(key, kept);
    }
    return kept;
  }

  async send(request, response, kept, [type, compressible], modified) {
    const { bytes, tag } = await kept.body;
    let body = bytes;
    let encoding;
    if (compressible && bytes.length >= least) {
      encoding = accepted(request.headers['accept-encoding']);
      if (encoding) {
        if (!kept.encoded.has(encoding)) kept.encoded.set(encoding, encoders[encoding](bytes));
        const compressed = await kept.encoded.get(encoding);
        if (compressed.length < bytes.length) body = compressed;
        else encoding = undefined;
      }
    }
    const headers = {
      'Content-Type': type,
      'Cache-Control': 'no-cache',
      'X-Content-Type-Options': 'nosniff',
      ETag: `"${tag}${encoding ? `-${encoding}` : ''}"`,
    };
    if (compressible) headers.Vary = 'Accept-Encoding';
    if (modified) headers['Last-Modified'] = modified.toUTCString();
    if (unchanged(request.headers, headers.ETag, modified)) {
      response.writeHead(304, headers);
      return response.end();
    }
    if (encoding) headers['Content-Encoding'] = encoding;
    headers['Content-Length'] = body.length;
    // A Range is not taken up: the whole file, which is always right.
    response.writeHead(200, headers);
    response.end(request.method === 'HEAD' ? undefined : body);
  }
}

// The names a request's target leads through from the site's root (the last
// one empty for a folder), or the status that refuses it. Percent escapes are
// decoded once; no name may be `.` or `..`, hold a NUL or a backslash, or be
// empty between two slashes, however it was written.
function namesIn(target) {
  let path = target;
  if (!path.startsWith('/')) {
    // The absolute form (`GET http://host/path`): this server is every host it
    // is reached by and fetches nothing for anyone, so only the path counts.
    const origin = /^https?:\/\/[^/?#]*/i.exec(path);
    if (!origin) return 400;
    path = path.slice(origin[0].length) || '/';
  }
  path = path.replace(/[?#].*/s, '');
  let decoded;
  try {
    decoded = decodeURIComponent(path);
  } catch {
    return 400;
  }
  const names = decoded.split('/').slice(1);
  const bad = (name, i) => name === '.' || name === '..' || /[\0\\]/.test(name) || (name === '' && i < names.length - 1);
  return names.some(bad) ? 400 : names;
}

// The encoding to send, from an Accept-Encoding header: brotli, else gzip,
// as long as the header does not refuse it; none when it takes neither.
function accepted(header = '') {
  const weights = new Map();
  for (const part of header.toLowerCase().split(',')) {
    const [name, ...parameters] = part.split(';').map((s) => s.trim());
    const q = parameters.find((p) => p.startsWith('q='));
    weights.set(name, q ? Number(q.slice(2)) : 1);
  }
  return Object.keys(encoders).find((name) => (weights.get(name) ?? weights.get('*') ?? 0) > 0);
}

// Whether the browser's copy is this version: by its tag when it sends one
// (as the service worker and the HTTP cache do), else by its date.
function unchanged(headers, etag, modified) {
  const match = headers['if-none-match'];
  if (match !== undefined) {
    return match.split(',').some((t) => { t = t.trim().replace(/^W\//, ''); return t === etag || t === '*'; });
  }
  const since = Date.parse(headers['if-modified-since'] ?? '');
  return modified !== undefined && !Number.isNaN(since) && Math.floor(modified.getTime() / 1000) * 1000 <= since;
}

function plain(response, status, method, headers = {}) {
  const body = `${status} ${STATUS_CODES[status]}\n`;
  response.writeHead(status, {
    'Content-Type': 'text/plain; charset=utf-8',
    'Content-Length': Buffer.byteLength(body),
    ...headers,
  });
  response.end(method === 'HEAD' ? undefined : body);
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

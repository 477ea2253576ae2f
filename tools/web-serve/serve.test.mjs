// The development server against what anyone on its network can send it:
// malformed and hostile requests over raw sockets, ways out of the site,
// requests held half-sent, bursts, and seeded random bytes; through it all the
// page keeps coming back whole, compressed as the browser asks.
//   node --test tools/web-serve/serve.test.mjs
// TESSALY_SERVE_FUZZ_SECONDS (30) sets how long the random bytes go on, and
// TESSALY_SERVE_FUZZ_SEED replays a run (each run prints its seed).

import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { randomBytes, randomInt } from 'node:crypto';
import { existsSync } from 'node:fs';
import { mkdir, mkdtemp, readFile, readdir, rm, symlink, utimes, writeFile } from 'node:fs/promises';
import { request as httpRequest } from 'node:http';
import { connect } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, extname, join, relative } from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import { serve } from './serve.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const builtSite = join(here, '..', '..', 'build-web', 'site');
const compressible = new Set(['.html', '.js', '.mjs', '.json', '.webmanifest', '.svg', '.txt', '.wasm']);
const secret = 'not-for-the-network-7f3a';

// A small site beside a file it must never give away, with a link out of it
// and a pipe in it.
let top;
let site;
let server;
before(async () => {
  top = await mkdtemp(join(tmpdir(), 'tessaly-serve-'));
  site = join(top, 'site');
  const files = {
    'index.html': `<!doctype html><title>Tessaly</title><script>const engine = '${randomBytes(120_000).toString('base64')}';\n${
      'document.body.append("board");\n'.repeat(2000)}</script>`,
    'app.js': 'export const rows = [1, 2, 3, 4, 5, 6, 7, 8];\n'.repeat(100),
    'tessaly.wasm': Buffer.concat([Buffer.from('0061736d01000000', 'hex'), Buffer.alloc(4000, 7)]),
    'manifest.webmanifest': JSON.stringify({ name: 'Tessaly', display: 'fullscreen', icons: [] }, null, 2).repeat(20),
    'icon.png': randomBytes(3000),
    'tiny.txt': 'a',
    'a b%.txt': 'spaced',
    'sub/index.html': '<p>below</p>\n'.repeat(200),
  };
  await mkdir(join(site, 'sub'), { recursive: true });
  await mkdir(join(site, 'empty'));
  for (const [name, bytes] of Object.entries(files)) await writeFile(join(site, name), bytes);
  await writeFile(join(top, 'secret.txt'), secret);
  await symlink(join(top, 'secret.txt'), join(site, 'out.txt'));
  await symlink('app.js', join(site, 'in.js'));
  execFileSync('mkfifo', [join(site, 'pipe.txt')]);  // read, it would never end
  server = await start(site);
});
after(async () => {
  server?.child.kill();
  await rm(top, { recursive: true, force: true });
});

// The server in its own process, as scripts/web runs it: a request that ends
// it fails the test with what it printed.
async function start(folder) {
  const child = spawn(process.execPath, [join(here, 'serve.mjs'), folder, '0'], { stdio: ['ignore', 'pipe', 'pipe'] });
  let printed = '';
  const port = await new Promise((resolve, reject) => {
    const read = (chunk) => {
      printed += chunk;
      const at = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(printed);
      if (at) resolve(Number(at[1]));
    };
    child.stdout.on('data', read);
    child.stderr.on('data', read);
    child.once('exit', (code) => reject(new Error(`the server ended (${code}): ${printed}`)));
  });
  return {
    port,
    child,
    assertAlive: () => assert.ok(child.exitCode === null && child.signalCode === null, `the server ended:\n${printed}`),
  };
}

// Bytes sent on a fresh connection, and all that comes back until the server
// closes it (or `quiet` ms pass without a byte).
function exchange(port, bytes, { end = false, quiet = 3000 } = {}) {
  return new Promise((resolve) => {
    const socket = connect(port, '127.0.0.1');
    const chunks = [];
    let timer;
    const done = () => {
      clearTimeout(timer);
      socket.destroy();
      const text = Buffer.concat(chunks).toString('latin1');
      resolve({ text, status: Number(/^HTTP\/1\.1 (\d{3}) /.exec(text)?.[1] ?? 0) });
    };
    const wait = () => {
      clearTimeout(timer);
      timer = setTimeout(done, quiet);
    };
    socket.on('data', (chunk) => chunks.push(chunk) && wait());
    socket.on('close', done);
    socket.on('error', () => {});
    socket.on('connect', () => {
      socket.write(bytes);
      if (end) socket.end();
      wait();
    });
  });
}

// A request as a browser makes it; the body as sent and as decoded.
function get(port, path, headers = {}, method = 'GET') {
  return new Promise((resolve, reject) => {
    const asked = httpRequest({ host: '127.0.0.1', port, path, method, headers, agent: false }, (response) => {
      const chunks = [];
      response.on('data', (chunk) => chunks.push(chunk));
      response.on('error', reject);
      response.on('end', () => {
        const body = Buffer.concat(chunks);
        const decode = { br: brotliDecompressSync, gzip: gunzipSync }[response.headers['content-encoding']];
        try {
          resolve({ status: response.statusCode, headers: response.headers, body, decoded: decode && body.length ? decode(body) : body });
        } catch (error) {
          reject(error);
        }
      });
    });
    asked.on('error', reject);
    asked.end();
  });
}

const ask = (line, more = '') => `${line}\r\nHost: tessaly\r\n${more}Connection: close\r\n\r\n`;

test('hostile and malformed requests each get their answer, and the server goes on', async () => {
  const hostile = [
    ['a cut escape', ask('GET /%E0%A4%A HTTP/1.1'), 400],
    ['a lone %', ask('GET /% HTTP/1.1'), 400],
    ['an escape of no byte', ask('GET /%zz HTTP/1.1'), 400],
    ['an encoded NUL', ask('GET /index.html%00.png HTTP/1.1'), 400],
    ['a 64 KB path', ask(`GET /${'a'.repeat(65536)} HTTP/1.1`), 414],
    ['a 64 KB header', ask('GET / HTTP/1.1', `X-Pad: ${'a'.repeat(65536)}\r\n`), 431],
    ['a TLS hello', Buffer.from('16030100a5010000a103035f', 'hex'), 400],
    ['HTTP/2', 'PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n', 400],
    ['no request line', 'Host: tessaly\r\nConnection: close\r\n\r\n', 400],
    ['words', 'let me in\r\n\r\n', 400],
    ['HTTP/1.1 without Host', 'GET / HTTP/1.1\r\nConnection: close\r\n\r\n', 400],
    ['both lengths', `${ask('POST / HTTP/1.1', 'Content-Length: 3\r\nTransfer-Encoding: chunked\r\n')}0\r\n\r\n`, 400],
    ['another host', ask('GET http://elsewhere.example/app.js HTTP/1.1'), 200, 'whole'],
    ['another scheme', ask('GET ftp://elsewhere.example/ HTTP/1.1'), 400],
    ['an asterisk', ask('GET * HTTP/1.1'), 400],
    ['a folder', ask('GET /sub HTTP/1.1'), 301],
    ['a folder with its slash', ask('GET /sub/ HTTP/1.1'), 200],
    ['a folder without index.html', ask('GET /empty/ HTTP/1.1'), 404],
    ['a file as a folder', ask('GET /app.js/ HTTP/1.1'), 404],
    ['an escaped name', ask('GET /a%20b%25.txt?v=1#top HTTP/1.1'), 200],
    ['a missing file', ask('GET /nothing.js HTTP/1.1'), 404],
    ['POST', `${ask('POST / HTTP/1.1', 'Content-Length: 5\r\n')}hello`, 405],
    ['POST with a body never sent', ask('POST / HTTP/1.1', 'Content-Length: 100000000\r\n'), 405],
    ...['PUT', 'DELETE', 'OPTIONS', 'PATCH', 'TRACE'].map((m) => [m, ask(`${m} / HTTP/1.1`), 405]),
    ['CONNECT', 'CONNECT elsewhere.example:443 HTTP/1.1\r\nHost: elsewhere.example:443\r\n\r\n', 405],
    ['a Range past the end', ask('GET /app.js HTTP/1.1', 'Range: bytes=999999-\r\n'), 200, 'whole'],
    ['HEAD', ask('HEAD /app.js HTTP/1.1'), 200],
    ['HTTP/1.0', 'GET /app.js HTTP/1.0\r\n\r\n', 200, 'whole'],
    // Ways out of the site.
    ['..', ask('GET /../secret.txt HTTP/1.1'), 400],
    ['.. from below', ask('GET /sub/../../secret.txt HTTP/1.1'), 400],
    ['%2e%2e', ask('GET /%2e%2e/secret.txt HTTP/1.1'), 400],
    ['.%2E', ask('GET /.%2E/secret.txt HTTP/1.1'), 400],
    ['..%2f', ask('GET /..%2fsecret.txt HTTP/1.1'), 400],
    ['%2e%2e%2f', ask('GET /sub/%2e%2e%2f%2e%2e%2fsecret.txt HTTP/1.1'), 400],
    ['backslashes', ask('GET /..\\secret.txt HTTP/1.1'), 400],
    ['escaped backslashes', ask('GET /%5c..%5csecret.txt HTTP/1.1'), 400],
    ['double encoding', ask('GET /%252e%252e/secret.txt HTTP/1.1'), 404],
    ['a NUL before ..', ask('GET /%00/../secret.txt HTTP/1.1'), 400],
    ['the path from /', ask(`GET /${top}/secret.txt HTTP/1.1`), 400],
    ['another host, then ..', ask('GET http://elsewhere.example/../secret.txt HTTP/1.1'), 400],
    ['a link out of the site', ask('GET /out.txt HTTP/1.1'), 404],
    ['a link within it', ask('GET /in.js HTTP/1.1'), 200],
    ['a pipe', ask('GET /pipe.txt HTTP/1.1'), 404],
  ];
  const app = await readFile(join(site, 'app.js'), 'latin1');
  const wrong = [];
  for (const [name, bytes, status, whole] of hostile) {
    const { text, status: answered } = await exchange(server.port, bytes);
    const head = text.slice(0, text.indexOf('\r\n\r\n'));
    const body = text.slice(head.length + 4);
    const faults = [
      answered !== status && `answered ${answered || 'nothing'}, not ${status}`,
      text.includes(secret) && 'gave the secret away',
      status === 301 && !/\r\nLocation: \/sub\/\r\n/.test(head) && 'no Location: /sub/',
      status === 405 && !/\r\nAllow: GET, HEAD\r\n/.test(head) && 'no Allow',
      whole && body !== app && 'not the whole file',
      name === 'HEAD' && (body !== '' || !head.includes(`\r\nContent-Length: ${app.length}\r\n`)) && 'a body, or the wrong length',
    ].filter(Boolean);
    if (faults.length) wrong.push(`${name}: ${faults.join(', ')}`);
  }
  assert.deepEqual(wrong, []);
  server.assertAlive();
});

// Every compressible file of a site both ways and not at all, checked against
// the file itself; a file type that would not shrink goes as it is.
async function checkCompression(port, folder, t) {
  const files = (await readdir(folder, { recursive: true, withFileTypes: true })).filter((f) => f.isFile());
  assert.ok(files.length > 0);
  for (const entry of files) {
    const path = join(entry.parentPath ?? entry.path, entry.name);
    const url = `/${relative(folder, path).split('/').map(encodeURIComponent).join('/')}`;
    const bytes = await readFile(path);
    const shrinks = compressible.has(extname(path)) && bytes.length >= 1024;
    const sizes = {};
    const ways = [['br', 'br'], ['gzip', 'gzip'], ['br;q=0, gzip', 'gzip'], ['*', 'br'], ['identity'], ['gzip;q=0, br;q=0, *'], []];
    for (const [asked, encoding] of ways) {
      const headers = asked === undefined ? {} : { 'accept-encoding': asked };
      const got = await get(port, url, headers);
      const wanted = shrinks ? encoding : undefined;
      const what = `${url} with ${asked}`;
      assert.equal(got.status, 200, what);
      assert.equal(got.headers['content-encoding'], wanted, what);
      assert.equal(Number(got.headers['content-length']), got.body.length, what);
      assert.ok(got.decoded.equals(bytes), what);
      assert.equal(got.headers.vary, compressible.has(extname(path)) ? 'Accept-Encoding' : undefined, what);
      assert.equal(got.headers['cache-control'], 'no-cache', what);
      sizes[wanted ?? 'identity'] = got.body.length;
      const again = await get(port, url, { ...headers, 'if-none-match': got.headers.etag });
      assert.deepEqual([again.status, again.body.length, again.headers.etag], [304, 0, got.headers.etag], what);
      const head = await get(port, url, headers, 'HEAD');
      assert.deepEqual([head.status, head.body.length, head.headers['content-length'], head.headers.etag],
        [200, 0, got.headers['content-length'], got.headers.etag], what);
    }
    if (entry.name === 'index.html' && folder === builtSite) t.diagnostic(`the page: ${JSON.stringify(sizes)} bytes`);
  }
}

test('text goes out compressed as asked, whole, with its length, and 304 when the copy is current', async (t) => {
  await checkCompression(server.port, site, t);
  if (existsSync(builtSite)) {
    const built = await start(builtSite);
    try {
      await checkCompression(built.port, builtSite, t);
    } finally {
      built.child.kill();
    }
  }
  // A rebuilt file of the same size is read and compressed anew.
  const file = join(site, 'app.js');
  const rebuilt = (await readFile(file, 'latin1')).replaceAll('1', '9');
  await writeFile(file, rebuilt);
  await utimes(file, new Date(), new Date(Date.now() + 5000));
  assert.equal((await get(server.port, '/app.js', { 'accept-encoding': 'br' })).decoded.toString('latin1'), rebuilt);
  // The pages a caller hands over are served, and compressed, beside the site.
  const bare = `<!doctype html><canvas></canvas>${'<!-- bare -->'.repeat(200)}`;
  const module = await serve(site, 0, '127.0.0.1', { '/bare.html': bare });
  try {
    const got = await get(module.address().port, '/bare.html', { 'accept-encoding': 'gzip' });
    assert.deepEqual([got.status, got.headers['content-encoding'], got.decoded.toString()], [200, 'gzip', bare]);
    assert.equal((await get(module.address().port, '/app.js')).body.toString('latin1'), rebuilt);
  } finally {
    module.close();
  }
});

test('requests held half-sent keep no player from the page, and are cut', async () => {
  const folder = existsSync(builtSite) ? builtSite : site;
  const target = folder === site ? server : await start(folder);
  const page = await readFile(join(folder, 'index.html'));
  try {
    const opened = Date.now();
    const held = Array.from({ length: 64 }, () => exchange(target.port, 'GET / HTTP/1.1\r\nHost: tessaly\r\nX-Slow: ', { quiet: 20_000 })
      .then((answer) => ({ ...answer, after: Date.now() - opened })));
    await new Promise((resolve) => setTimeout(resolve, 200));
    const started = Date.now();
    const player = await get(target.port, '/', { 'accept-encoding': 'br' });
    assert.ok(Date.now() - started < 1000, `the page took ${Date.now() - started} ms`);
    assert.ok(player.decoded.equals(page));
    // 400 players, 32 at a time, each asking in its own way.
    const ways = ['br', 'gzip', 'identity', 'gzip, deflate, br'];
    let next = 0;
    const answers = [];
    await Promise.all(Array.from({ length: 32 }, async () => {
      while (next < 400) {
        const got = await get(target.port, '/', { 'accept-encoding': ways[next++ % ways.length] });
        answers.push(got.status === 200 && got.decoded.equals(page));
      }
    }));
    assert.deepEqual([answers.length, answers.filter(Boolean).length], [400, 400]);
    // The held ones get 408 once the head has been too long coming.
    const cut = await Promise.all(held);
    assert.deepEqual(cut.filter((c) => c.status !== 408 || c.after > 15_000).map((c) => `${c.status} after ${c.after} ms`), []);
  } finally {
    if (target !== server) target.child.kill();
  }
});

// mulberry32: a run's bytes follow from its seed alone.
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = Math.imul(a ^ (a >>> 15), a | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
  };
}

// Likely pieces first, then the odd ones: most requests get through the
// parser to the server's own code, many are refused on the way.
const pieces = {
  method: [...Array(6).fill('GET'), 'HEAD', 'HEAD', 'POST', 'OPTIONS', 'CONNECT', 'PRI', 'get', 'G\tET'],
  path: ['/', '/index.html', '/app.js', '/sub', '/sub/', '/empty/', '/in.js', '/out.txt', '/tiny.txt', '/icon.png',
    '/a%20b%25.txt', 'http://elsewhere.example/', '*'],
  odd: ['%', '%E0%A4%A', '%00', '..', '%2e%2e', '%2f', '\\', '%5c', '%252e', '/', '//', '?', '#', 'secret.txt', 'é',
    '%C3%A9', '%FF', ' ', '\0'],
  version: [...Array(6).fill(' HTTP/1.1'), ' HTTP/1.0', ' HTTP/2.0', ' HTTP/9.9', '', ' HTTP/1.1 x'],
  header: ['Connection: close', 'Connection: keep-alive', 'Accept-Encoding: br, gzip', 'Accept-Encoding: gzip;q=0, identity',
    'Accept-Encoding: *;q=0.5, br;q=0', 'Accept-Encoding: br;q=x', 'Range: bytes=0-5', 'Range: bytes=999999-',
    'If-None-Match: *', 'If-None-Match: "x", W/"y"', 'If-Modified-Since: Thu, 01 Jan 2099 00:00:00 GMT',
    'If-Modified-Since: yesterday', 'Expect: 100-continue', 'Upgrade: websocket', 'X:'],
  oddHeader: ['Content-Length: 4', 'Content-Length: -1', 'Transfer-Encoding: chunked', ': no name', 'Host:', 'Expect: x',
    'A\0: b', 'Host: tessaly\r\n Folded: line'],
  body: [...Array(6).fill(''), 'abcd', '0\r\n\r\n', '5\r\nhello\r\n0\r\n\r\n'],
};

// A request put together from those pieces, then mangled; or plain noise.
function hostileBytes(random) {
  const pick = (list) => list[Math.floor(random() * list.length)];
  const some = (list, most) => Array.from({ length: Math.floor(random() * (most + 1)) }, () => pick(list));
  const noise = (n) => Buffer.from(Array.from({ length: n }, () => Math.floor(random() * 256)));
  if (random() < 0.05) return noise(1 + Math.floor(random() * 300));
  const path = pick(pieces.path) + (random() < 0.35 ? some(pieces.odd, 3).join('') : '');
  const headers = [random() < 0.9 ? 'Host: tessaly' : '', ...some(pieces.header, 4), random() < 0.2 ? pick(pieces.oddHeader) : '']
    .filter(Boolean).map((h) => `${h}\r\n`).join('');
  let bytes = Buffer.from(`${pick(pieces.method)} ${path}${pick(pieces.version)}\r\n${headers}\r\n${pick(pieces.body)}`, 'latin1');
  for (let n = random() < 0.65 ? 0 : 1 + Math.floor(random() * 3); n > 0; --n) {
    const at = Math.floor(random() * bytes.length);
    const mangle = Math.floor(random() * 6);
    if (mangle === 0) bytes[at] = Math.floor(random() * 256);
    else if (mangle === 1) bytes = Buffer.concat([bytes.subarray(0, at), noise(1 + Math.floor(random() * 8)), bytes.subarray(at)]);
    else if (mangle === 2) bytes = Buffer.concat([bytes.subarray(0, at), bytes.subarray(at + Math.floor(random() * 16))]);
    else if (mangle === 3) bytes = Buffer.concat(Array(2 + Math.floor(random() * 3)).fill(bytes));  // pipelined
    else if (mangle === 4) bytes = bytes.subarray(0, at);
    else bytes = Buffer.concat([bytes.subarray(0, at), Buffer.alloc(Math.floor(random() * 40_000), pick(['a', '/', '%', '\r\n'])), bytes.subarray(at)]);
  }
  return bytes;
}

test('seeded random bytes never stop the server or open the site', async (t) => {
  const seconds = Number(process.env.TESSALY_SERVE_FUZZ_SECONDS ?? 30);
  const seed = Number(process.env.TESSALY_SERVE_FUZZ_SEED ?? randomInt(2 ** 31));
  console.log(`serve fuzz: TESSALY_SERVE_FUZZ_SEED=${seed} (${seconds} s)`);
  t.diagnostic(`TESSALY_SERVE_FUZZ_SEED=${seed}`);
  const random = generator(seed);
  const page = await readFile(join(site, 'index.html'));
  const statuses = {};
  let sent = 0;
  for (const end = Date.now() + seconds * 1000; Date.now() < end;) {
    const batch = Array.from({ length: 64 }, () => [hostileBytes(random), random() < 0.5]);
    const answers = await Promise.all(batch.map(([bytes, close]) => exchange(server.port, bytes, { end: close, quiet: 500 })));
    answers.forEach(({ text, status }, i) => {
      const what = `seed ${seed}, request ${sent + i}: ${JSON.stringify(batch[i][0].toString('latin1').slice(0, 300))}`;
      assert.ok(text === '' || status > 0, `${what}\nanswered ${JSON.stringify(text.slice(0, 100))}`);
      assert.ok(!text.includes(secret), `${what}\ngave the secret away`);
      statuses[status] = (statuses[status] ?? 0) + 1;
    });
    sent += batch.length;
    server.assertAlive();
    const got = await get(server.port, '/', { 'accept-encoding': ['br', 'gzip', ''][sent % 3] });
    assert.ok(got.status === 200 && got.decoded.equals(page), `seed ${seed}: the page after request ${sent}`);
  }
  t.diagnostic(`${sent} random requests, answers by status (0: none): ${JSON.stringify(statuses)}`);
});

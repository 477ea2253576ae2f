// What the built site gives a Home Screen, read from its files with no
// browser: Safari takes the icon, title and bars from the page's head, other
// browsers from the manifest, and the service worker must keep every icon
// for the installed game to start offline.

import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { dirname, join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

const site = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'build-web', 'site');

// The <meta> and <link> elements of the page's head, each as its attributes.
async function headTags() {
  const page = await readFile(join(site, 'index.html'), 'utf8');
  const head = page.slice(0, page.indexOf('</head>'));
  return [...head.replace(/<!--[\s\S]*?-->/g, '').matchAll(/<(meta|link)\b([^>]*)>/g)].map(([, tag, attributes]) => ({
    tag, ...Object.fromEntries([...attributes.matchAll(/([a-z-]+)="([^"]*)"/g)].map(([, k, v]) => [k, v])),
  }));
}

// An icon's size as its file has it: a PNG's width x height from its header,
// or 'any' for an SVG, which scales.
async function sizeOf(path) {
  const data = await readFile(join(site, path));
  if (data.subarray(0, 8).equals(Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]))) {
    assert.equal(data.toString('latin1', 12, 16), 'IHDR', path);
    return `${data.readUInt32BE(16)}x${data.readUInt32BE(20)}`;
  }
  assert.match(data.toString('utf8'), /<svg\b[^>]*\bviewBox="0 0 (\d+) \1"/, `${path} is neither a PNG nor a square SVG`);
  return 'any';
}

test('a Home Screen gets the page in full, its own icon, title and bars, and every icon it names kept offline', async () => {
  const tags = await headTags();
  const meta = Object.fromEntries(tags.filter((t) => t.tag === 'meta' && t.name).map((t) => [t.name, t.content]));
  assert.deepEqual([meta['apple-mobile-web-app-capable'], meta['mobile-web-app-capable'],
    meta['apple-mobile-web-app-status-bar-style'], meta['apple-mobile-web-app-title']],
  ['yes', 'yes', 'black-translucent', 'Tessaly']);
  // Under the translucent status bar the page runs to the screen's edges; zoom stays the reader's.
  const viewport = meta.viewport.split(',').map((part) => part.trim());
  assert.ok(viewport.includes('viewport-fit=cover'), meta.viewport);
  assert.ok(!viewport.some((part) => /^(user-scalable=(no|0)|maximum-scale=)/.test(part)), meta.viewport);

  const manifest = JSON.parse(await readFile(join(site, 'manifest.webmanifest'), 'utf8'));
  assert.deepEqual([manifest.display, manifest.display_override], ['standalone', ['fullscreen']]);
  assert.deepEqual(tags.filter((t) => t.rel === 'manifest').map((t) => t.href), ['manifest.webmanifest']);

  const touch = tags.filter((t) => t.rel === 'apple-touch-icon');
  assert.deepEqual(touch.map((t) => [t.href, t.sizes]), [['icons/tessaly-180.png', '180x180']]);
  const icons = [...manifest.icons, ...tags.filter((t) => /^(icon|apple-touch-icon)$/.test(t.rel))
    .map((t) => ({ src: t.href, sizes: t.sizes ?? 'any' }))];
  const worker = await readFile(join(site, 'sw.js'), 'utf8');
  for (const { src, sizes } of icons) {
    assert.equal(await sizeOf(src), sizes, src);
    assert.ok(worker.includes(`'./${src}'`), `the service worker keeps ${src}`);
  }
  assert.deepEqual([...new Set(icons.map((i) => i.src))].sort(),
    ['icons/tessaly-180.png', 'icons/tessaly-192.png', 'icons/tessaly-512.png', 'icons/tessaly.svg']);
});

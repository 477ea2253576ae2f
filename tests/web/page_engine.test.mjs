// The page and the engine meet at one door: the engine exports three calls
// of its own and eight things in all, and the page's modules but engine.js
// never touch the engine.

import assert from 'node:assert/strict';
import { readFile, readdir } from 'node:fs/promises';
import { dirname, join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const web = join(root, 'src', 'frontend', 'web');

test('the engine the page ships exports its record, one door for events and the canvas size', async () => {
  const engine = join(root, 'build-web', 'engine', 'tessaly');
  const glue = await readFile(`${engine}.js`, 'utf8');
  const ours = [...new Set([...glue.matchAll(/Module\["_(tessaly_\w+)"\]\s*=/g)].map(([, name]) => name))].sort();
  assert.deepEqual(ours, ['tessaly_canvas_size', 'tessaly_event', 'tessaly_record']);
  // With the runtime's own: the memory, the table, the constructors, malloc and errno.
  const exports = WebAssembly.Module.exports(new WebAssembly.Module(await readFile(`${engine}.wasm`)));
  assert.ok(exports.length <= 8, `${exports.length} exports`);
});

test('the page reaches the engine through page/engine.js alone', async () => {
  const files = (await readdir(join(web, 'page'))).filter((f) => f.endsWith('.js') && f !== 'engine.js');
  assert.ok(files.includes('page.js') && files.includes('sw.js'));
  for (const file of files) {
    const source = await readFile(join(web, 'page', file), 'utf8');
    assert.deepEqual(source.match(/_tessaly_|ccall|HEAP|createTessaly|tessaly\.js/g), null, file);
  }
});

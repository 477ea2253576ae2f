// The page and the engine meet at one door: the engine exports four calls
// of its own, and the page's modules but engine.js never touch the engine.

import assert from 'node:assert/strict';
import { readFile, readdir } from 'node:fs/promises';
import { dirname, join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const web = join(root, 'src', 'frontend', 'web');

test('the engine the page ships exports its record, its start, one door for events and the canvas size', async () => {
  const glue = await readFile(join(root, 'build-web', 'engine', 'tessaly.js'), 'utf8');
  const ours = [...new Set([...glue.matchAll(/Module\["_(tessaly_\w+)"\]\s*=/g)].map(([, name]) => name))].sort();
  assert.deepEqual(ours, ['tessaly_canvas_size', 'tessaly_event', 'tessaly_record', 'tessaly_start']);
});

test('the page reaches the engine through page/engine.js alone', async () => {
  const files = (await readdir(join(web, 'page'))).filter((f) => f.endsWith('.js') && f !== 'engine.js');
  assert.ok(files.includes('page.js') && files.includes('sw.js'));
  for (const file of files) {
    const source = await readFile(join(web, 'page', file), 'utf8');
    assert.deepEqual(source.match(/_tessaly_|ccall|HEAP|createTessaly|tessaly\.js/g), null, file);
  }
});

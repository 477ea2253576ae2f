// The page's JavaScript and the engine agree on the records they share in the
// engine's memory: the page's layout tables (page/engine.js, canvas_library.js)
// name each field where the engine's compiler puts it (layout_in_node.cpp);
// and on the numbers of the devices and controls the page passes.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFile, readdir } from 'node:fs/promises';
import { dirname, join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import vm from 'node:vm';

const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');
const web = join(root, 'src', 'frontend', 'web');

// As the engine's compiler lays the records out.
function engineLayouts() {
  const program = join(root, 'build-web', 'tests', 'web', 'layout_in_node.js');
  return JSON.parse(execFileSync(process.execPath, [program], { encoding: 'utf8' }));
}

// page/engine.js as a module of its own: the engine it wraps is the build's,
// which its tables do not need.
async function pageTables() {
  const source = await readFile(join(web, 'page', 'engine.js'), 'utf8');
  const engineImport = "import createTessaly from './tessaly.js';";
  assert.ok(source.includes(engineImport));
  const alone = source.replace(engineImport, 'const createTessaly = null;');
  return import(`data:text/javascript,${encodeURIComponent(alone)}`);
}

// canvas_library.js as Emscripten reads it.
async function libraryTables() {
  const library = {};
  vm.runInNewContext(await readFile(join(web, 'canvas_library.js'), 'utf8'), {
    LibraryManager: { library },
    mergeInto: (into, entries) => Object.assign(into, entries),
  });
  return library.$TessalyLayout;
}

test('the page lays out the records and the drawing commands it shares with the engine as the engine does', async () => {
  const { controls, ...engine } = engineLayouts();
  const { pageRecord } = await pageTables();
  const { faceUnits, textInk, commands } = await libraryTables();
  // Plain objects, as JSON makes them, on both sides.
  const plain = (table) => JSON.parse(JSON.stringify(table));
  assert.deepEqual(plain({ pageRecord, faceUnits, textInk, commands }), engine);
});

test('the page numbers devices, touch controls and pad buttons as the input map does', async () => {
  const { controls } = engineLayouts();
  const { Device, Touch, Pad } = await pageTables();
  assert.deepEqual({ device: { ...Device }, touch: { ...Touch }, pad: { ...Pad } }, controls);
});

test('the page reaches the engine through page/engine.js alone', async () => {
  const files = (await readdir(join(web, 'page'))).filter((f) => f.endsWith('.js') && f !== 'engine.js');
  assert.ok(files.includes('page.js') && files.includes('sw.js'));
  for (const file of files) {
    const source = await readFile(join(web, 'page', file), 'utf8');
    assert.deepEqual(source.match(/_tessaly_|ccall|HEAP|createTessaly|tessaly\.js/g), null, file);
  }
});

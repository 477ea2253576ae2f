// What the browser tests read of the board and of the page's calls: canvas
// pixels, the paddles' places, waiting for a condition, and every call from
// the page into the engine, each event by what it carried.

import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { join } from 'node:path';
import { root } from './browser.mjs';

export const orange = [255, 128, 0];
export const red = [255, 0, 0];
export const green = [128, 255, 128];
export const white = [255, 255, 255];
export const darkShadow = [105, 105, 105];

// A canvas pixel's colour.
export function pixel(page, x, y) {
  return page.evaluate(([px, py]) => {
    const data = document.querySelector('canvas').getContext('2d').getImageData(px, py, 1, 1).data;
    return [data[0], data[1], data[2]];
  }, [x, y]);
}

// How many pixels of a canvas rectangle are near `color`.
export function inkIn(page, [x, y, w, h], color) {
  return page.evaluate(([rect, c]) => {
    const data = document.querySelector('canvas').getContext('2d').getImageData(...rect).data;
    let n = 0;
    for (let i = 0; i < data.length; i += 4) {
      if (Math.abs(data[i] - c[0]) + Math.abs(data[i + 1] - c[1]) + Math.abs(data[i + 2] - c[2]) < 90) ++n;
    }
    return n;
  }, [[x, y, w, h], color]);
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits up to five seconds for `check` to hold.
export async function until(check, what) {
  for (const deadline = Date.now() + 5000; !(await check());) {
    assert.ok(Date.now() < deadline, `timed out waiting until ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// In the page: where the bottom paddle's left end and the left paddle's top
// end are, in canvas pixels, read along the row and the column they move on
// (at 1x, row 526 and column 22).
export function paddlesInPage() {
  const canvas = document.querySelector('canvas');
  const scale = canvas.width / 415;
  const ctx = canvas.getContext('2d');
  const first = (data) => {
    for (let i = 0; i < data.length; i += 4) if (data[i] === 255 && data[i + 1] === 128 && data[i + 2] === 0) return i / 4;
    return -1;
  };
  return {
    bottom: first(ctx.getImageData(0, Math.floor(526.5 * scale), canvas.width, 1).data),
    left: first(ctx.getImageData(Math.floor(22.5 * scale), 0, 1, canvas.height).data),
  };
}

export const paddles = (page) => page.evaluate(paddlesInPage);

// The paddles' places at every animation frame for `ms`: one tick moves
// them at most once between two frames.
function trackInPage([whereText, span]) {
  const where = new Function(`return (${whereText})`)();
  return new Promise((resolve) => {
    const seen = [];
    const end = performance.now() + span;
    (function frame() {
      seen.push(where());
      if (performance.now() < end) requestAnimationFrame(frame);
      else resolve(seen);
    })();
  });
}

export const paddleTrack = (page, ms) => page.evaluate(trackInPage, [String(paddlesInPage), ms]);

// The steps a paddle took over `ms` of play, once the game is shown to have
// run meanwhile: a paddle that did not move tells nothing of a page that got
// no time (at 40 ticks a second, 100 ms holds four).
export async function stepsWhileRunning(page, ms, which) {
  const woken = () => page.evaluate(() => window.tessaly.wakeups());
  const before = await woken();
  const moved = steps(await paddleTrack(page, ms), which);
  const ran = await woken() - before;
  assert.ok(ran >= 2, `the game woke ${ran} times in ${ms} ms: too few to tell whether a paddle moved`);
  return moved;
}

// The distinct steps a paddle took along a track (`which`: 'bottom' or 'left'),
// over the frames where the paddle shows on its line (the ball may cover it).
export function steps(track, which) {
  const moved = new Set();
  const seen = track.map((at) => at[which]).filter((at) => at >= 0);
  for (let i = 1; i < seen.length; ++i) {
    if (seen[i] !== seen[i - 1]) moved.add(seen[i] - seen[i - 1]);
  }
  return [...moved].sort((a, b) => a - b);
}

// Run in the page before its own script: every call from the page into the
// engine, its export and arguments, goes into window.calls while that is an
// array; an event through the door goes with the bytes of the record it
// crossed in. The exports' full names come from the engine's JavaScript in
// the page's own script (the build shortens them), which comes after any a
// test put ahead of it.
export function recordCalls() {
  const instantiate = WebAssembly.instantiate;
  WebAssembly.instantiate = async (...args) => {
    const made = await instantiate(...args);
    const instance = made instanceof WebAssembly.Instance ? made : made.instance;
    const script = [...document.querySelectorAll('script:not([type])')].at(-1).textContent;
    const names = {};
    for (const [, name, short] of script.matchAll(/Module\["_(tessaly_\w+)"\]\s*=\s*Module\["asm"\]\["(\w+)"\]/g)) {
      names[short] = name;
    }
    const memory = Object.values(instance.exports).find((value) => value instanceof WebAssembly.Memory);
    let record = 0;
    const exports = {};
    for (const [short, value] of Object.entries(instance.exports)) {
      const name = names[short] ?? short;
      exports[short] = typeof value !== 'function' ? value : (...values) => {
        if (name === 'tessaly_event') window.calls?.push([name, [...new Uint8Array(memory.buffer, record, 256)]]);
        else window.calls?.push([name, ...values]);
        const result = value(...values);
        if (name === 'tessaly_record') record = result;
        return result;
      };
    }
    Object.defineProperty(instance, 'exports', { value: exports });
    return made;
  };
}

// The page's tables, as the build made them for it.
let tables;
const pageTables = () => (tables ??= readFile(join(root, 'build-web', 'script', 'page', 'tables.js'), 'utf8')
  .then((source) => import(`data:text/javascript,${encodeURIComponent(source)}`)));

// An event as it crossed, by the names of its kind and device and with the
// fields its kind reads: ['Press', 'Keyboard', key, code], ['Press', 'Touch',
// control], ['PointerDown', x, y], ['ReleaseAll', 'Gamepad'], ['Tick'].
async function event(bytes) {
  const { Kind, Device, record } = await pageTables();
  const view = new DataView(Uint8Array.from(bytes).buffer);
  const field = (name) => {
    const { at, type } = record.fields[name];
    return type === 'f64' ? view.getFloat64(at, true) : view.getInt32(at, true);
  };
  const text = (name) => new TextDecoder().decode(
    Uint8Array.from(bytes.slice(record.fields[name].at, record.fields[name].at + field(`${name}Length`))));
  const nameOf = (table, value) => Object.keys(table).find((k) => table[k] === value);
  const kind = nameOf(Kind, field('kind'));
  const device = nameOf(Device, field('device'));
  if (kind === 'Press' || kind === 'Release') {
    return device === 'Keyboard' ? [kind, device, text('key'), text('code')] : [kind, device, field('control')];
  }
  if (kind === 'ReleaseAll') return [kind, device];
  if (kind.startsWith('Pointer') && kind !== 'PointerCancel') return [kind, field('x'), field('y')];
  if (kind === 'Resize') return [kind, field('x'), field('y')];
  if (kind === 'Stick') return [kind, field('leanX'), field('leanY')];
  return [kind];
}

// The calls recorded: each event through the door as `event` reads it, any
// other call by its export's full name and arguments.
export async function calls(page) {
  const made = await page.evaluate(() => window.calls);
  return Promise.all(made.map(([name, ...values]) => (name === 'tessaly_event' ? event(values[0]) : [name, ...values])));
}

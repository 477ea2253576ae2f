// @ts-check
// The page around the game: starts the engine and the served faces together,
// lays out the canvas (and on a touch screen the controls beside it), hands
// keys, the pointer, fingers, pads and time to the game, and between the
// game's timer ticks sleeps (ticker.js). While no timer runs (paused, game
// over) and no pad is connected nothing is scheduled at all.
// What not every browser has is looked for, never assumed: each place says
// what the page does without it.

import { loadEngine, Device, Touch, Pad } from './engine.js';
import { layOut } from './layout.js';
import { watchFingers, capture } from './touch.js';
import { watchGamepads } from './gamepads.js';
import { keepAwake } from './awake.js';
import { makeTicker } from './ticker.js';
// The build writes, in place of this import, what the page carries inline so
// that its first frame waits on no second request: the table of served faces,
// and the faces (one after another) and the engine's WebAssembly as base64.
import { faces, faceData, engineData } from './inline.js';

const canvas = /** @type {HTMLCanvasElement} */ (document.querySelector('canvas'));
const controls = /** @type {HTMLElement} */ (document.getElementById('controls'));
const safeArea = /** @type {HTMLElement} */ (document.getElementById('safe'));

/**
 * A page that cannot go on says so on the page, not only in the console: a
 * frame that looks playable but answers nothing tells the player nothing.
 * @param {string} what @param {unknown} error
 */
function sayStopped(what, error) {
  if (document.getElementById('stopped')) return;
  const note = document.createElement('p');
  note.id = 'stopped';
  note.setAttribute('role', 'alert');
  note.textContent = `${what}: ${error instanceof Error ? error.message : error}`;
  document.body.append(note);
}
// An error after the start (in a handler, or a promise nobody waits for).
window.addEventListener('error', (event) => sayStopped('Tessaly stopped', event.error ?? event.message));
window.addEventListener('unhandledrejection', (event) => sayStopped('Tessaly stopped', event.reason));

/**
 * Decoded by the browser itself where it can; otherwise a plain loop, several
 * times faster than Uint8Array.from with a function per byte.
 * @param {string} base64
 * @returns {Uint8Array<ArrayBuffer>}
 */
function bytes(base64) {
  const native = /** @type {{ fromBase64?: (text: string) => Uint8Array<ArrayBuffer> }} */ (Uint8Array).fromBase64;
  if (native) return native.call(Uint8Array, base64);
  const text = atob(base64);
  const out = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) out[i] = text.charCodeAt(i);
  return out;
}

// Each served face under a family name of its own, so that no installed font
// of the same name stands in for it.
/** @returns {Promise<import('./engine.js').ServedFace[]>} */
async function serveFaces() {
  const data = bytes(faceData);
  const served = faces.map((face, i) => {
    const family = `tessaly-${i}`;
    /** @type {FontFace | null} */
    let font = null;
    const make = () => {
      if (font) return font;
      // Without faces made from bytes, captions come in the browser's own face.
      if (typeof FontFace === 'undefined') return null;
      // A face without a bold of its own is made bold by the painter, as on the desktop.
      const weight = face.bold && !face.syntheticBold ? '700' : '400';
      font = new FontFace(family, data.subarray(face.at, face.at + face.bytes), { weight });
      if (font.status === 'error') throw new Error(`the face standing for ${face.face} is damaged`);
      document.fonts.add(font);
      return font;
    };
    return { ...face, family, make };
  });
  // A browser that readies a face from its bytes at once (Chromium) makes
  // each when the engine first asks for it, so that the faces the opening
  // frame does not show cost its start nothing. Any other makes them all and
  // waits for them before the engine starts.
  const first = served[0]?.make();
  if (first && first.status !== 'loaded') await Promise.all(served.map((face) => face.make()?.loaded));
  return served;
}

/** @type {import('./engine.js').Engine} */
let game;
try {
  let served;
  [game, served] = await Promise.all([loadEngine(canvas, bytes(engineData)), serveFaces()]);
  game.serveFaces(served);
} catch (error) {
  document.body.replaceChildren();
  sayStopped('Tessaly could not start', error);
  throw error;
}

let wakeups = 0;
let started = false;
// Kept as the page hears of it: asked of the document 40 times a second, it costs each tick.
let hidden = document.hidden;

// What the page exposes for its tests and for the curious.
const state = {
  frames: () => game.frames(),
  wakeups: () => wakeups,
  scheduled: () => ticker.running() || pads.polling(),
  polling: () => pads.polling(),
};
Object.assign(window, { tessaly: state });

let firstFrameMarked = false;
function frameShown() {
  if (!firstFrameMarked && state.frames() > 0) {
    performance.mark('tessaly-first-frame');
    firstFrameMarked = true;
  }
}

const ticker = makeTicker(wake, {
  setTimeout: (f, ms) => setTimeout(f, ms),
  clearTimeout: (id) => clearTimeout(id),
  setInterval: (f, ms) => setInterval(f, ms),
  clearInterval: (id) => clearInterval(id),
  now: () => performance.now(),
});

// Every call into the game answers how long the page may sleep before the
// next tick is due, -1 while no timer runs, and the beat of the ticks after
// it. A hidden page sleeps for good: when it shows again, each timer ticks
// once and play resumes its rhythm.
/** @param {number} wait */
function schedule(wait) {
  if (!firstFrameMarked) frameShown();
  ticker.schedule(hidden ? -1 : wait, game.beat());
  // The screen stays on while the ball is in play.
  keepAwake(ticker.running());
}

function wake() {
  ++wakeups;
  schedule(game.tick());
}

// The canvas keeps the client area's shape, as large as the window (less
// the touch controls) allows, centred on black, with one canvas pixel to each
// device pixel. The touch controls keep clear of a notch and rounded corners.
let fitted = [0, 0];
/**
 * Calls `changed` whenever `query` comes to match or stops. Older Safari
 * has only the old way of listening.
 * @param {string} query @param {() => void} changed @param {boolean} once
 */
function onMedia(query, changed, once = false) {
  const list = window.matchMedia(query);
  if (list.addEventListener) list.addEventListener('change', changed, { once });
  else list.addListener(function heard() {
    if (once) list.removeListener(heard);
    changed();
  });
  return list;
}

// The touch controls show on a screen a finger plays on (or once a finger
// touches the page), and on no other.
const coarse = onMedia('(pointer: coarse)', () => showTouch());
let touchShown = coarse.matches;
controls.hidden = !touchShown;
function fit() {
  const ratio = window.devicePixelRatio || 1;
  const safe = safeArea.getBoundingClientRect();
  const screen = touchShown ? { x: safe.x, y: safe.y, w: safe.width, h: safe.height }
    : { x: 0, y: 0, w: window.innerWidth, h: window.innerHeight };
  const { board, controls: boxes } = layOut(screen, ratio, (w, h) => game.canvasSize(w, h), touchShown);
  fitted = [board.w, board.h];
  canvas.style.width = `${board.w / ratio}px`;
  canvas.style.height = `${board.h / ratio}px`;
  canvas.style.left = `${board.x / ratio}px`;
  canvas.style.top = `${board.y / ratio}px`;
  for (const button of controls.querySelectorAll('button')) {
    const box = boxes[button.dataset.control ?? ''];
    if (box) button.style.cssText = `left:${box.x}px;top:${box.y}px;width:${box.w}px;height:${box.h}px`;
  }
  setPixels(board.w, board.h);
}

/** @param {number} w @param {number} h */
function setPixels(w, h) {
  if (started && canvas.width === w && canvas.height === h) return;
  canvas.width = w;
  canvas.height = h;
  schedule(started ? game.resize(w, h) : game.start(w, h));
  started = true;
}

fit();
canvas.focus();
window.addEventListener('resize', fit);
// A window moved to a screen of another pixel ratio need not change its size.
function watchRatio() {
  onMedia(`(resolution: ${window.devicePixelRatio}dppx)`, () => {
    fit();
    watchRatio();
  }, true);
}
watchRatio();
// Where the browser lays the canvas on a pixel more or less than asked for
// (fractional ratios), the canvas follows it exactly. A larger difference is
// a browser reporting CSS pixels here, as some emulations do: ignored.
// A browser that cannot say how many device pixels the canvas covers
// (Safari and Firefox) keeps the page's own rounding, which at a fractional
// ratio may scale the board by a pixel.
if (typeof ResizeObserver !== 'undefined') {
  try {
    new ResizeObserver((entries) => {
      const box = entries[0].devicePixelContentBoxSize?.[0];
      if (box && Math.abs(box.inlineSize - fitted[0]) <= 1 && Math.abs(box.blockSize - fitted[1]) <= 1) {
        setPixels(box.inlineSize, box.blockSize);
      }
    }).observe(canvas, { box: 'device-pixel-content-box' });
  } catch {
    // That box is unknown to this browser.
  }
}

document.addEventListener('visibilitychange', () => {
  hidden = document.hidden;
  schedule(hidden ? -1 : game.tick());
});

// Keys go to the game wherever the focus is on the page. The browser keeps
// its own use of the game's keys (help on F1, scrolling) to itself, but not
// of shortcuts held with Ctrl, Alt or the system key.
window.addEventListener('keydown', (event) => {
  const { wait, gameKey } = game.keyDown(event);
  if (gameKey && !event.ctrlKey && !event.altKey && !event.metaKey) event.preventDefault();
  schedule(wait);
});
window.addEventListener('keyup', (event) => schedule(game.keyUp(event)));
// Keys and controls held when the page loses the focus come up, as the
// desktop's do: the engine knows which keys are held.
window.addEventListener('blur', () => {
  fingers.letGo();
  schedule(game.releaseAll(Device.Keyboard));
});

/** @param {PointerEvent} event @returns {[number, number]} */
function pixelOf(event) {
  const box = canvas.getBoundingClientRect();
  return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
    Math.floor((event.clientY - box.top) * canvas.height / box.height)];
}
// The board's push buttons take one pointer at a time: a mouse's button or
// the first finger on the board, never both.
let boardPointer = -1;
canvas.addEventListener('pointerdown', (event) => {
  if (event.button !== 0 || boardPointer !== -1) return;
  boardPointer = event.pointerId;
  capture(canvas, event.pointerId);
  schedule(game.pointerDown(...pixelOf(event)));
});
canvas.addEventListener('pointermove', (event) => {
  if (event.pointerId === boardPointer) schedule(game.pointerMove(...pixelOf(event)));
});
canvas.addEventListener('pointerup', (event) => {
  if (event.pointerId !== boardPointer) return;
  boardPointer = -1;
  schedule(game.pointerUp(...pixelOf(event)));
});
// Taken away by the browser: no click. (After an up, the capture's loss finds no pointer held.)
for (const end of /** @type {const} */ (['pointercancel', 'lostpointercapture'])) {
  canvas.addEventListener(end, (event) => {
    if (event.pointerId !== boardPointer) return;
    boardPointer = -1;
    schedule(game.pointerCancel());
  });
}

// The touch controls, each the same key a keyboard gives; a name that is
// none of them (-1) does nothing.
/** @param {string} name */
const touchControl = (name) => (Object.hasOwn(Touch, name) ? Touch[/** @type {keyof typeof Touch} */ (name)] : -1);
const fingers = watchFingers(controls, {
  press: (name) => schedule(game.press(Device.Touch, touchControl(name))),
  release: (name) => schedule(game.release(Device.Touch, touchControl(name))),
  releaseAll: () => schedule(game.releaseAll(Device.Touch)),
});
let touched = false;
function showTouch() {
  const shown = coarse.matches || touched;
  if (shown === touchShown) return;
  touchShown = shown;
  if (!shown) fingers.letGo();
  controls.hidden = !shown;
  fit();
}
// No touch on the page is a click, a scroll, a zoom or a swipe back: the game takes them all.
// A touch the browser already scrolls with cannot be cancelled, and saying so
// costs a console error.
document.addEventListener('touchstart', (event) => {
  if (event.cancelable) event.preventDefault();
  touched = true;
  showTouch();
}, { passive: false });
document.addEventListener('contextmenu', (event) => event.preventDefault());
document.addEventListener('gesturestart', (event) => event.preventDefault());

const pads = watchGamepads(Object.values(Pad), {
  press: (button) => schedule(game.press(Device.Gamepad, button)),
  release: (button) => schedule(game.release(Device.Gamepad, button)),
  stick: (x, y) => schedule(game.stick(x, y)),
  releaseAll: () => schedule(game.releaseAll(Device.Gamepad)),
});

// Installed as an app and offline: the service worker keeps every file. Its
// first install fetches the whole site again, so it waits until the first
// frame is on the screen rather than competing with its paint.
if ('serviceWorker' in navigator) {
  requestAnimationFrame(() => setTimeout(() => {
    navigator.serviceWorker.register('./sw.js').catch((error) => {
      console.warn(`Tessaly will not play offline: ${error.message}`);
    });
  }));
}

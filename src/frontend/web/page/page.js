// @ts-check
// The page around the game: starts the engine and the served faces together,
// fits the canvas to the window, hands keys, the pointer and time to the
// game, and between the game's timer ticks sleeps on a single timeout. While
// no timer runs (paused, game over) nothing is scheduled at all.

import { loadEngine, Device } from './engine.js';
// The build writes, in place of this import, what the page carries inline so
// that its first frame waits on no second request: the table of served faces,
// and the faces (one after another) and the engine's WebAssembly as base64.
import { faces, faceData, engineData } from './inline.js';

const canvas = /** @type {HTMLCanvasElement} */ (document.querySelector('canvas'));

/**
 * Decoded by the browser itself where it can.
 * @param {string} base64
 * @returns {Uint8Array<ArrayBuffer>}
 */
const bytes = (base64) => /** @type {{ fromBase64?: (text: string) => Uint8Array<ArrayBuffer> }} */ (Uint8Array).fromBase64?.(base64)
  ?? Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));

// Each served face under a family name of its own, so that no installed font
// of the same name stands in for it.
/** @returns {Promise<import('./engine.js').ServedFace[]>} */
function loadFaces() {
  const data = bytes(faceData);
  return Promise.all(faces.map((face, i) => {
    const family = `tessaly-${i}`;
    // A face without a bold of its own is made bold by the painter, as on the desktop.
    const weight = face.bold && !face.syntheticBold ? '700' : '400';
    const font = new FontFace(family, data.subarray(face.at, face.at + face.bytes), { weight });
    document.fonts.add(font);
    return font.load().then(() => ({ ...face, family }));
  }));
}

/** @type {import('./engine.js').Engine} */
let game;
try {
  let served;
  [game, served] = await Promise.all([loadEngine(canvas, bytes(engineData)), loadFaces()]);
  game.serveFaces(served);
} catch (error) {
  // Said on the page as well as in the console: a blank page tells nothing.
  const note = document.createElement('p');
  note.textContent = `Tessaly could not start: ${error instanceof Error ? error.message : error}`;
  document.body.replaceChildren(note);
  throw error;
}

let timer = 0;
let wakeups = 0;
let started = false;

// What the page exposes for its tests and for the curious.
const state = { frames: () => game.frames(), wakeups: () => wakeups, scheduled: () => timer !== 0 };
Object.assign(window, { tessaly: state });

let firstFrameMarked = false;
function frameShown() {
  if (!firstFrameMarked && state.frames() > 0) {
    performance.mark('tessaly-first-frame');
    firstFrameMarked = true;
  }
}

// Every call into the game answers how long the page may sleep before the
// next tick is due; -1 while no timer runs. A hidden page sleeps for good:
// when it shows again, each timer ticks once and play resumes its rhythm.
/** @param {number} wait */
function schedule(wait) {
  frameShown();
  clearTimeout(timer);
  timer = 0;
  if (wait >= 0 && !document.hidden) timer = setTimeout(wake, wait);
}

function wake() {
  timer = 0;
  ++wakeups;
  schedule(game.tick());
}

// The canvas keeps the client area's shape, as large as the window allows,
// centred on black, with one canvas pixel to each device pixel.
let fitted = [0, 0];
function fit() {
  const ratio = window.devicePixelRatio || 1;
  const width = Math.round(window.innerWidth * ratio);
  const height = Math.round(window.innerHeight * ratio);
  const { width: w, height: h } = game.canvasSize(width, height);
  fitted = [w, h];
  canvas.style.width = `${w / ratio}px`;
  canvas.style.height = `${h / ratio}px`;
  canvas.style.left = `${Math.floor((width - w) / 2) / ratio}px`;
  canvas.style.top = `${Math.floor((height - h) / 2) / ratio}px`;
  setPixels(w, h);
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
  window.matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
    fit();
    watchRatio();
  }, { once: true });
}
watchRatio();
// Where the browser lays the canvas on a pixel more or less than asked for
// (fractional ratios), the canvas follows it exactly. A larger difference is
// a browser reporting CSS pixels here, as some emulations do: ignored.
new ResizeObserver((entries) => {
  const box = entries[0].devicePixelContentBoxSize?.[0];
  if (box && Math.abs(box.inlineSize - fitted[0]) <= 1 && Math.abs(box.blockSize - fitted[1]) <= 1) {
    setPixels(box.inlineSize, box.blockSize);
  }
}).observe(canvas, { box: 'device-pixel-content-box' });

document.addEventListener('visibilitychange', () => {
  schedule(document.hidden ? -1 : game.tick());
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
// Keys held when the page loses the focus come up, as the desktop's do: the
// engine knows which are held.
window.addEventListener('blur', () => schedule(game.releaseAll(Device.Keyboard)));

/** @param {PointerEvent} event @returns {[number, number]} */
function pixelOf(event) {
  const box = canvas.getBoundingClientRect();
  return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
    Math.floor((event.clientY - box.top) * canvas.height / box.height)];
}
canvas.addEventListener('pointerdown', (event) => {
  if (event.button !== 0) return;
  canvas.setPointerCapture(event.pointerId);
  schedule(game.pointerDown(...pixelOf(event)));
});
canvas.addEventListener('pointermove', (event) => {
  if (event.buttons & 1) schedule(game.pointerMove(...pixelOf(event)));
});
canvas.addEventListener('pointerup', (event) => {
  if (event.button === 0) schedule(game.pointerUp(...pixelOf(event)));
});
canvas.addEventListener('pointercancel', () => schedule(game.pointerCancel()));

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

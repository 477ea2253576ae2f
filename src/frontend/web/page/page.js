// The page around the game: starts the engine and the served faces together,
// fits the canvas to the window, hands keys, the pointer and time to the
// game, and between the game's timer ticks sleeps on a single timeout. While
// no timer runs (paused, game over) nothing is scheduled at all.

import createTessaly from './tessaly.js';
// The build writes, in place of this import, what the page carries inline so
// that its first frame waits on no second request: the table of served faces,
// and the faces (one after another) and the engine's WebAssembly as base64.
import { faces, faceData, engineData } from './inline.js';

const canvas = document.querySelector('canvas');

// Decoded by the browser itself where it can.
const bytes = (base64) => Uint8Array.fromBase64?.(base64) ?? Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));

// Each served face under a family name of its own, so that no installed font
// of the same name stands in for it.
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

// The engine is compiled at once, while the page starts: the browser compiles
// each of its functions only when first called, so this takes a few ms where
// a compile in the background waited tens of ms for a free thread. A browser
// that compiles nothing this large on the page's own thread gets the
// background compile. A failure on the way rejects the start rather than
// leaving the page waiting for ever.
function compile(data) {
  try {
    return Promise.resolve(new WebAssembly.Module(data));
  } catch {
    return WebAssembly.compile(data);
  }
}

function loadGame() {
  const compiled = compile(bytes(engineData));
  return new Promise((resolve, reject) => {
    createTessaly({
      tessalyCanvas: canvas,
      instantiateWasm(imports, receive) {
        compiled.then((module) => WebAssembly.instantiate(module, imports))
          .then((instance) => receive(instance), reject);
        return {};
      },
    }).then(resolve, reject);
  });
}

let game;
try {
  let served;
  [game, served] = await Promise.all([loadGame(), loadFaces()]);
  game.tessalyFaces = served;
} catch (error) {
  // Said on the page as well as in the console: a blank page tells nothing.
  const note = document.createElement('p');
  note.textContent = `Tessaly could not start: ${error.message ?? error}`;
  document.body.replaceChildren(note);
  throw error;
}

let timer = 0;
let wakeups = 0;
let started = false;

// What the page exposes for its tests and for the curious.
const state = { frames: () => Number(game._tessaly_frames()), wakeups: () => wakeups, scheduled: () => timer !== 0 };
window.tessaly = state;

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
function schedule(wait) {
  frameShown();
  clearTimeout(timer);
  timer = 0;
  if (wait >= 0 && !document.hidden) timer = setTimeout(wake, wait);
}

function wake() {
  timer = 0;
  ++wakeups;
  schedule(game._tessaly_tick());
}

// The canvas keeps the client area's shape, as large as the window allows,
// centred on black, with one canvas pixel to each device pixel.
let fitted = [0, 0];
function fit() {
  const ratio = window.devicePixelRatio || 1;
  const width = Math.round(window.innerWidth * ratio);
  const height = Math.round(window.innerHeight * ratio);
  const size = game._tessaly_canvas_size(width, height);
  const w = Math.floor(size / 65536);
  const h = size % 65536;
  fitted = [w, h];
  canvas.style.width = `${w / ratio}px`;
  canvas.style.height = `${h / ratio}px`;
  canvas.style.left = `${Math.floor((width - w) / 2) / ratio}px`;
  canvas.style.top = `${Math.floor((height - h) / 2) / ratio}px`;
  setPixels(w, h);
}

function setPixels(w, h) {
  if (started && canvas.width === w && canvas.height === h) return;
  canvas.width = w;
  canvas.height = h;
  schedule(started ? game._tessaly_resize(w, h) : game._tessaly_start(w, h));
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
  schedule(document.hidden ? -1 : game._tessaly_tick());
});

// Keys go to the game wherever the focus is on the page. The browser keeps
// its own use of the game's keys (help on F1, scrolling) to itself, but not
// of shortcuts held with Ctrl, Alt or the system key.
const held = new Set();
function virtualKey(event) {
  return game.ccall('tessaly_virtual_key', 'number', ['string', 'string'], [event.key, event.code]);
}
window.addEventListener('keydown', (event) => {
  const code = virtualKey(event);
  if (game._tessaly_is_game_key(code) && !event.ctrlKey && !event.altKey && !event.metaKey) event.preventDefault();
  held.add(code);
  schedule(game._tessaly_key_down(code));
});
window.addEventListener('keyup', (event) => {
  const code = virtualKey(event);
  held.delete(code);
  schedule(game._tessaly_key_up(code));
});
// Keys held when the page loses the focus come up, as the desktop's do.
window.addEventListener('blur', () => {
  for (const code of held) schedule(game._tessaly_key_up(code));
  held.clear();
});

function pixelOf(event) {
  const box = canvas.getBoundingClientRect();
  return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
    Math.floor((event.clientY - box.top) * canvas.height / box.height)];
}
canvas.addEventListener('pointerdown', (event) => {
  if (event.button !== 0) return;
  canvas.setPointerCapture(event.pointerId);
  schedule(game._tessaly_pointer_down(...pixelOf(event)));
});
canvas.addEventListener('pointermove', (event) => {
  if (event.buttons & 1) schedule(game._tessaly_pointer_move(...pixelOf(event)));
});
canvas.addEventListener('pointerup', (event) => {
  if (event.button === 0) schedule(game._tessaly_pointer_up(...pixelOf(event)));
});
canvas.addEventListener('pointercancel', () => schedule(game._tessaly_pointer_up(-1, -1)));

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

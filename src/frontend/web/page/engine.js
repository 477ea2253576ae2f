// @ts-check
// The engine behind the page, and the only code that calls into it or reads
// and writes its memory: it loads the engine and gives the page its calls by
// name. Each of the page's events is one call into the engine. A call that
// changes the game answers how long the page may sleep before the next tick,
// -1 while no timer runs.

import createTessaly from './tessaly.js';

/**
 * A face the page serves, under the family name it is loaded as, which
 * make() loads the first time the engine asks for the face (null where the browser makes no faces from bytes).
 * @typedef {import('./inline.js').Face & { family: string, make(): FontFace | null }} ServedFace
 */
/**
 * What the engine takes of a key event: its `key` and `code`.
 * @typedef {{ key: string, code: string }} KeyNames
 */

// The engine's PageRecord (page_record.h), which it shares with the page:
// where each field lies and what it holds. A test holds it to the C++ layout.
export const pageRecord = {
  size: 84,
  fields: {
    wait: { at: 0, type: 'i32' },
    gameKey: { at: 4, type: 'i32' },
    width: { at: 8, type: 'i32' },
    height: { at: 12, type: 'i32' },
    key: { at: 16, type: 'u8', count: 32 },
    code: { at: 48, type: 'u8', count: 32 },
    beat: { at: 80, type: 'i32' },
  },
};

// The devices and the controls the page hands to the engine, numbered as the
// front-end core's input map numbers them (frontend/core/input_map.h): the
// page passes no other numbers. A test holds them to the C++ ones.
export const Device = Object.freeze({ Keyboard: 0, Gamepad: 1, Touch: 2 });
// The on-screen controls of a touch screen.
export const Touch = Object.freeze({
  Left: 0, Right: 1, Up: 2, Down: 3, Faster: 4, Pause: 5, NextPattern: 6, PreviousPattern: 7,
});
// A pad's buttons with a meaning in the game, by their number in the standard layout.
export const Pad = Object.freeze({
  South: 0, LeftShoulder: 4, RightShoulder: 5, Start: 9, DpadUp: 12, DpadDown: 13, DpadLeft: 14, DpadRight: 15,
});

const encoder = new TextEncoder();

// Compiled at once, while the page starts: the browser compiles each of its
// functions only when first called, so this takes a few ms where a compile in
// the background waited tens of ms for a free thread. A browser that compiles
// nothing this large on the page's own thread gets the background compile.
/** @param {Uint8Array<ArrayBuffer>} wasm */
function compile(wasm) {
  try {
    return Promise.resolve(new WebAssembly.Module(wasm));
  } catch {
    return WebAssembly.compile(wasm);
  }
}

/**
 * The engine from its WebAssembly, drawing on `canvas`. A failure on the way
 * rejects rather than leaving the page waiting for ever.
 * @param {HTMLCanvasElement} canvas
 * @param {Uint8Array<ArrayBuffer>} wasm
 * @returns {Promise<Engine>}
 */
export function loadEngine(canvas, wasm) {
  const compiled = compile(wasm);
  return new Promise((resolve, reject) => {
    createTessaly({
      tessalyCanvas: canvas,
      instantiateWasm(imports, receive) {
        compiled.then((module) => WebAssembly.instantiate(module, imports))
          .then((instance) => receive(instance), reject);
        return {};
      },
    }).then((module) => new Engine(module)).then(resolve, reject);
  });
}

export class Engine {
  /** @type {import('./tessaly.js').TessalyModule} */
  #module;
  /** @type {number} the page's record in the engine's memory */
  #record;

  /** @param {import('./tessaly.js').TessalyModule} module */
  constructor(module) {
    this.#module = module;
    this.#record = module._tessaly_record();
  }

  /**
   * The faces the canvas may draw with, before the engine starts.
   * @param {ServedFace[]} faces
   */
  serveFaces(faces) {
    this.#module.tessalyFaces = faces;
  }

  /**
   * Opens the window and draws the first frame on a canvas of `width` x `height` device pixels.
   * @param {number} width @param {number} height @returns {number} the wait
   */
  start(width, height) {
    return this.#module._tessaly_start(width, height);
  }

  /** @param {number} width @param {number} height @returns {number} the wait */
  resize(width, height) {
    return this.#module._tessaly_resize(width, height);
  }

  /** Delivers the ticks that are due. @returns {number} the wait */
  tick() {
    return this.#module._tessaly_tick();
  }

  /**
   * @param {KeyNames} event
   * @returns {{ wait: number, gameKey: boolean }} the wait, and whether the key is one of the game's own
   */
  keyDown(event) {
    this.#module._tessaly_key_down(this.#writeName('key', event.key), this.#writeName('code', event.code));
    return { wait: this.#int('wait'), gameKey: this.#int('gameKey') !== 0 };
  }

  /** @param {KeyNames} event @returns {number} the wait */
  keyUp(event) {
    return this.#module._tessaly_key_up(this.#writeName('key', event.key), this.#writeName('code', event.code));
  }

  // The primary pointer button at a canvas pixel.
  /** @param {number} x @param {number} y @returns {number} the wait */
  pointerDown(x, y) {
    return this.#module._tessaly_pointer_down(x, y);
  }

  /** @param {number} x @param {number} y @returns {number} the wait */
  pointerMove(x, y) {
    return this.#module._tessaly_pointer_move(x, y);
  }

  /** @param {number} x @param {number} y @returns {number} the wait */
  pointerUp(x, y) {
    return this.#module._tessaly_pointer_up(x, y);
  }

  /** The browser took the pointer away: no click. @returns {number} the wait */
  pointerCancel() {
    return this.#module._tessaly_pointer_cancel();
  }

  /**
   * A control of a pad or of the touch screen went down (or a key, by its virtual-key code).
   * @param {number} device one of Device @param {number} control @returns {number} the wait
   */
  press(device, control) {
    return this.#module._tessaly_press(device, control);
  }

  /** @param {number} device @param {number} control @returns {number} the wait */
  release(device, control) {
    return this.#module._tessaly_release(device, control);
  }

  /** Lets go of everything `device` holds. @param {number} device @returns {number} the wait */
  releaseAll(device) {
    return this.#module._tessaly_release_all(device);
  }

  /**
   * A pad's left stick, x to the right and y down, each -1 to 1.
   * @param {number} x @param {number} y @returns {number} the wait
   */
  stick(x, y) {
    return this.#module._tessaly_stick(x, y);
  }

  /**
   * Milliseconds between the ticks after the next, as the last call that
   * answered a wait found them; 0 while they keep no one beat.
   * @returns {number}
   */
  beat() {
    return this.#int('beat');
  }

  /** Frames shown so far. @returns {number} */
  frames() {
    return this.#module._tessaly_frames();
  }

  /**
   * The canvas, in device pixels, for a page of `width` x `height` device pixels.
   * @param {number} width @param {number} height
   * @returns {{ width: number, height: number }}
   */
  canvasSize(width, height) {
    this.#module._tessaly_canvas_size(width, height);
    return { width: this.#int('width'), height: this.#int('height') };
  }

  /** @param {'wait' | 'gameKey' | 'width' | 'height' | 'beat'} field */
  #int(field) {
    return this.#module.HEAP32[(this.#record + pageRecord.fields[field].at) >> 2];
  }

  /**
   * Writes a key event's name into the record; answers its length in bytes,
   * 0 for a name too long for it, which is no key the game knows.
   * @param {'key' | 'code'} field @param {string} name
   */
  #writeName(field, name) {
    const { at, count } = pageRecord.fields[field];
    const start = this.#record + at;
    const heap = this.#module.HEAPU8;
    // Byte by byte while the name is ASCII, as every name the game knows is:
    // a key event in play then leaves no view and no encoder's answer for
    // the collector.
    if (name.length > count) return 0;
    for (let i = 0; i < name.length; ++i) {
      const unit = name.charCodeAt(i);
      if (unit > 0x7f) {
        const { read, written } = encoder.encodeInto(name, heap.subarray(start, start + count));
        return read === name.length ? written : 0;
      }
      heap[start + i] = unit;
    }
    return name.length;
  }
}

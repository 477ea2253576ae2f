// @ts-check
// The engine behind the page, and the only code that calls into it or reads
// and writes its memory. One door: each of the page's events is written into
// the record the two share and crosses in one call; the engine's loop answers
// in the same record how long the page may sleep before the next tick (-1
// until an event), the beat the ticks keep after it, and the frames shown.
// The game's window opens with the first size the page sends.

import createTessaly from './tessaly.js';
import { record } from './tables.js';

/**
 * A face the page serves, under the family name it is loaded as, which
 * make() loads the first time the engine asks for the face (null where the browser makes no faces from bytes).
 * @typedef {import('./inline.js').Face & { family: string, make(): FontFace | null }} ServedFace
 */
/** A field of the page's record. @typedef {keyof typeof record.fields} Field */
/**
 * An event's fields, by the record's names: numbers, and a key's names as text.
 * @typedef {{ [F in Exclude<Field, 'key' | 'code'>]?: number } & { key?: string, code?: string }} EventFields
 */

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
   * One event through the door: `kind` (tables.js's Kind) and its fields;
   * the reply is read with the methods below. A tick takes no fields and
   * makes nothing for the collector.
   * @param {number} kind @param {EventFields} [fields]
   */
  send(kind, fields) {
    this.#set('kind', kind);
    if (fields) {
      for (const [name, value] of Object.entries(fields)) {
        if (name === 'key' || name === 'code') {
          this.#set(name === 'key' ? 'keyLength' : 'codeLength', this.#writeName(name, String(value)));
        } else {
          this.#set(/** @type {Field} */ (name), Number(value));
        }
      }
    }
    this.#module._tessaly_event();
  }

  /** Milliseconds the page may sleep before the next tick, -1 until an event. */
  wait() { return this.#get('wait'); }
  /** Milliseconds between the ticks after that one, 0 while they keep no one beat. */
  beat() { return this.#get('beat'); }
  /** Frames shown so far. */
  frames() { return this.#get('frames'); }
  /** Whether the last key was one of the game's own, which the browser must not act on. */
  gameKey() { return this.#get('gameKey') !== 0; }

  /**
   * The canvas, in device pixels, for a page of `width` x `height` device pixels.
   * @param {number} width @param {number} height
   * @returns {{ width: number, height: number }}
   */
  canvasSize(width, height) {
    this.#module._tessaly_canvas_size(width, height);
    return { width: this.#get('width'), height: this.#get('height') };
  }

  /** @param {Field} field */
  #get(field) {
    const { at, type } = record.fields[field];
    const where = this.#record + at;
    return type === 'f64' ? this.#module.HEAPF64[where >> 3] : this.#module.HEAP32[where >> 2];
  }

  /** @param {Field} field @param {number} value */
  #set(field, value) {
    const { at, type } = record.fields[field];
    const where = this.#record + at;
    if (type === 'f64') this.#module.HEAPF64[where >> 3] = value;
    else this.#module.HEAP32[where >> 2] = value;
  }

  /**
   * Writes a key event's name into the record; answers its length in bytes,
   * 0 for a name too long for it, which is no key the game knows.
   * @param {'key' | 'code'} field @param {string} name
   */
  #writeName(field, name) {
    const { at, count } = record.fields[field];
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

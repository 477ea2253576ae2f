// @ts-check
// The keyboard, the pointer on the board and the page's sight of the screen,
// as the engine's events. Each DOM event is one event through the door.

import { Kind, Device } from './tables.js';
import { capture } from './touch.js';

/** Hands one event to the game: `kind` of Kind and its fields. @typedef {(kind: number, fields?: import('./engine.js').EventFields) => void} Play */

/**
 * Keys go to the game wherever the focus is on the page. The browser keeps
 * its own use of the game's keys (help on F1, scrolling) to itself, but not
 * of shortcuts held with Ctrl, Alt or the system key. Keys held when the page
 * loses the focus come up, as the desktop's do: the engine knows which.
 * @param {Play} play @param {() => boolean} gameKey whether the last key was the game's own
 * @param {() => void} blurred hears of the focus lost first
 */
export function watchKeys(play, gameKey, blurred) {
  window.addEventListener('keydown', (event) => {
    play(Kind.Press, { device: Device.Keyboard, key: event.key, code: event.code });
    if (gameKey() && !event.ctrlKey && !event.altKey && !event.metaKey) event.preventDefault();
  });
  window.addEventListener('keyup', (event) => {
    play(Kind.Release, { device: Device.Keyboard, key: event.key, code: event.code });
  });
  window.addEventListener('blur', () => {
    blurred();
    play(Kind.FocusLost);
  });
}

/**
 * The board's push buttons take one pointer at a time: a mouse's button or
 * the first finger on the board, never both.
 * @param {HTMLCanvasElement} canvas @param {Play} play
 */
export function watchBoard(canvas, play) {
  let held = -1;
  /** @param {number} kind @param {PointerEvent} event */
  const at = (kind, event) => {
    const box = canvas.getBoundingClientRect();
    play(kind, {
      x: Math.floor((event.clientX - box.left) * canvas.width / box.width),
      y: Math.floor((event.clientY - box.top) * canvas.height / box.height),
    });
  };
  canvas.addEventListener('pointerdown', (event) => {
    if (event.button !== 0 || held !== -1) return;
    held = event.pointerId;
    capture(canvas, event.pointerId);
    at(Kind.PointerDown, event);
  });
  canvas.addEventListener('pointermove', (event) => {
    if (event.pointerId === held) at(Kind.PointerMove, event);
  });
  canvas.addEventListener('pointerup', (event) => {
    if (event.pointerId !== held) return;
    held = -1;
    at(Kind.PointerUp, event);
  });
  // Taken away by the browser: no click. (After an up, the capture's loss finds no pointer held.)
  for (const end of /** @type {const} */ (['pointercancel', 'lostpointercapture'])) {
    canvas.addEventListener(end, (event) => {
      if (event.pointerId !== held) return;
      held = -1;
      play(Kind.PointerCancel);
    });
  }
}

/**
 * A hidden page sleeps for good: when it shows again, each timer ticks once
 * and play resumes its rhythm (the engine's loop decides both).
 * @param {Play} play
 */
export function watchSight(play) {
  if (document.hidden) play(Kind.Hidden);
  document.addEventListener('visibilitychange', () => play(document.hidden ? Kind.Hidden : Kind.Shown));
}

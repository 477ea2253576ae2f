// @ts-check
// The board on the screen: the canvas keeps the client area's shape, as large
// as the window (less the touch controls) allows, centred on black, with one
// canvas pixel to each device pixel. The touch controls show on a screen a
// finger plays on (or once a finger touches the page), and on no other, and
// keep clear of a notch and rounded corners.

import { layOut } from './layout.js';

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

/**
 * Fits the board now and whenever the window, its pixel ratio or the
 * controls shown change.
 * @param {{
 *   canvas: HTMLCanvasElement, controls: HTMLElement, safeArea: HTMLElement,
 *   canvasSize: import('./layout.js').CanvasSize,
 *   sized(width: number, height: number): void,
 *   touchHidden(): void,
 * }} screen `sized` hears of each new size of the canvas, the first
 * included; `touchHidden` of the touch controls going away
 */
export function fitBoard({ canvas, controls, safeArea, canvasSize, sized, touchHidden }) {
  const coarse = onMedia('(pointer: coarse)', () => showTouch());
  let touchShown = coarse.matches;
  let touched = false;
  let fitted = [0, 0];
  let first = true;
  controls.hidden = !touchShown;

  /** @param {number} w @param {number} h */
  function setPixels(w, h) {
    if (!first && canvas.width === w && canvas.height === h) return;
    first = false;
    canvas.width = w;
    canvas.height = h;
    sized(w, h);
  }

  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const safe = safeArea.getBoundingClientRect();
    const screen = touchShown ? { x: safe.x, y: safe.y, w: safe.width, h: safe.height }
      : { x: 0, y: 0, w: window.innerWidth, h: window.innerHeight };
    const { board, controls: boxes } = layOut(screen, ratio, canvasSize, touchShown);
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

  function showTouch() {
    const shown = coarse.matches || touched;
    if (shown === touchShown) return;
    touchShown = shown;
    if (!shown) touchHidden();
    controls.hidden = !shown;
    fit();
  }

  fit();
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
}

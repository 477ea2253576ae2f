// @ts-check
// The on-screen controls under the player's fingers. Each finger holds the
// control it is on: several fingers hold several controls at once, a finger
// sliding off a control lets it go (and onto another, holds that one), and
// a control held by two fingers comes up when the last one leaves it. The
// page never takes a finger's touch as a click or a gesture: one touch is
// one press and one release.

/**
 * What the controls do, by their names (the keys of tables.js's Touch).
 * @typedef {{ press(name: string): void, release(name: string): void, releaseAll(): void }} Hands
 */

/**
 * The pointer's events keep coming to `element` wherever it goes. A pointer
 * the browser no longer counts as down (a synthetic event's) cannot be
 * captured: its events then come where they fall.
 * @param {Element} element @param {number} pointer
 */
export function capture(element, pointer) {
  try {
    element.setPointerCapture(pointer);
  } catch {
    // Not captured.
  }
}

/**
 * Follows every finger (or mouse button) on the controls in `panel`.
 * @param {HTMLElement} panel @param {Hands} hands
 * @returns {{ letGo(): void }} lets go of every control at once
 */
export function watchFingers(panel, hands) {
  /** @type {Map<number, HTMLElement | null>} the control under each finger, by pointerId */
  const fingers = new Map();
  /** @param {HTMLElement} control */
  const fingersOn = (control) => [...fingers.values()].filter((c) => c === control).length;

  /** @param {number} id @param {HTMLElement | null} control the control under the finger now, null when off all */
  function over(id, control) {
    const was = fingers.get(id) ?? null;
    if (was === control) return;
    fingers.set(id, control);
    if (was && fingersOn(was) === 0) {
      was.classList.remove('held');
      hands.release(was.dataset.control ?? '');
    }
    if (control && fingersOn(control) === 1) {
      control.classList.add('held');
      hands.press(control.dataset.control ?? '');
    }
  }

  /** @param {number} id */
  function lifted(id) {
    if (!fingers.has(id)) return;
    over(id, null);
    fingers.delete(id);
  }

  /** @param {EventTarget | Element | null} target @returns {HTMLElement | null} */
  const controlOf = (target) => (target instanceof Element ? target.closest('[data-control]') : null);

  panel.addEventListener('pointerdown', (event) => {
    const control = controlOf(event.target);
    if (!control || event.button !== 0) return;
    // No focus taken from the game, no mouse events after a touch.
    event.preventDefault();
    // The finger's events come here wherever it goes: hit-tested on each move.
    capture(control, event.pointerId);
    over(event.pointerId, control);
  });
  panel.addEventListener('pointermove', (event) => {
    if (fingers.has(event.pointerId)) {
      over(event.pointerId, controlOf(document.elementFromPoint(event.clientX, event.clientY)));
    }
  });
  for (const end of /** @type {const} */ (['pointerup', 'pointercancel', 'lostpointercapture'])) {
    panel.addEventListener(end, (event) => lifted(event.pointerId));
  }

  return {
    letGo() {
      if (fingers.size === 0) return;
      for (const control of fingers.values()) control?.classList.remove('held');
      fingers.clear();
      hands.releaseAll();
    },
  };
}

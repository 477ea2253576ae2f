// @ts-check
// Pads in the standard layout, read once a frame while at least one is
// connected and not at all otherwise: a button that changed goes down or
// comes up, and the left stick is passed on whenever it moved (the engine
// decides what counts as leaning). A pad that goes away lets go of all it
// held; what another pad still holds goes down again on the next frame.

/**
 * What the pads do: `button` is a button's number in the standard layout.
 * @typedef {{
 *   press(button: number): void, release(button: number): void,
 *   stick(x: number, y: number): void, releaseAll(): void
 * }} PadHands
 */

/**
 * @param {readonly number[]} buttons the buttons with a meaning in the game
 * @param {PadHands} hands
 * @returns {{ polling(): boolean }} whether a frame is asked for
 */
export function watchGamepads(buttons, hands) {
  /** @type {Set<number>} */
  const connected = new Set();
  /** @type {Set<number>} */
  let held = new Set();
  let stick = [0, 0];
  let frame = 0;

  function poll() {
    frame = 0;
    const pads = navigator.getGamepads().filter((pad) => pad?.connected && pad.mapping === 'standard');
    for (const button of buttons) {
      const down = pads.some((pad) => pad?.buttons[button]?.pressed);
      if (down === held.has(button)) continue;
      if (down) {
        held.add(button);
        hands.press(button);
      } else {
        held.delete(button);
        hands.release(button);
      }
    }
    // The stick of the pad leaning furthest.
    let [x, y] = [0, 0];
    for (const pad of pads) {
      const [px = 0, py = 0] = pad?.axes ?? [];
      if (Math.abs(px) + Math.abs(py) > Math.abs(x) + Math.abs(y)) [x, y] = [px, py];
    }
    if (x !== stick[0] || y !== stick[1]) {
      stick = [x, y];
      hands.stick(x, y);
    }
    if (connected.size > 0) frame = requestAnimationFrame(poll);
  }

  // A page served over plain HTTP from another machine sees no pads (the
  // browsers keep them to secure pages): it plays with keys and touch.
  if (!navigator.getGamepads) return { polling: () => false };
  window.addEventListener('gamepadconnected', (event) => {
    connected.add(event.gamepad.index);
    if (!frame) frame = requestAnimationFrame(poll);
  });
  window.addEventListener('gamepaddisconnected', (event) => {
    connected.delete(event.gamepad.index);
    held = new Set();
    stick = [0, 0];
    hands.releaseAll();
    if (connected.size === 0) {
      cancelAnimationFrame(frame);
      frame = 0;
    }
  });
  return { polling: () => frame !== 0 };
}

// @ts-check
// The screen stays on while the ball is in play, and may go dark when the
// game is paused, over or out of sight: the page asks for the screen's wake
// lock where the browser has one, and lets it go.

/** @type {WakeLockSentinel | null} */
let lock = null;
let wanted = false;

/** @param {boolean} awake whether play goes on */
export function keepAwake(awake) {
  if (awake === wanted) return;
  wanted = awake;
  if (!awake) {
    lock?.release().catch(() => {});
    lock = null;
    return;
  }
  // Asked for again only when play stops and goes on again: a browser that
  // refuses (or takes the lock back itself) is not asked 40 times a second.
  navigator.wakeLock?.request('screen').then((granted) => {
    if (!wanted || lock) {
      granted.release().catch(() => {});
      return;
    }
    lock = granted;
    granted.addEventListener('release', () => {
      if (lock === granted) lock = null;
    });
  }, () => {});
}

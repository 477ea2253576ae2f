// @ts-check
// Wakes the page for the game's ticks. While the timers keep one beat, one
// repeating timer wakes it for every tick: the browser keeps such a timer on
// its beat by itself, and a timer set anew for each tick costs a page about
// as much again as the tick's own work. Any other wait gets a timer of its own.

// The beat starts this long after the tick it starts on is due, so that no
// wake on it comes before its tick: the engine's clock counts whole
// milliseconds, the browser's timers fire on fractions of one.
const lead = 1;
// A beat whose wake comes later than this after its tick is due is set
// again: a stall, or a browser whose repeating timer counts each interval
// from its last wake and so drifts, moved it off the game's rhythm.
const lateness = 4;

/**
 * The browser's timers and its clock, or a test's.
 * @typedef {{
 *   setTimeout(f: () => void, ms: number): number, clearTimeout(id: number): void,
 *   setInterval(f: () => void, ms: number): number, clearInterval(id: number): void, now(): number,
 * }} TickerHost
 */

/** @param {() => void} wake called when a tick is due @param {TickerHost} host */
export function makeTicker(wake, host) {
  let once = 0;
  let repeating = 0;
  let every = 0;  // the repeating timer's interval
  let start = 0;  // when it was set: it wakes at start + every, start + 2 * every, ...
  let due = 0;  // when the tick the page waits for is due
  let woken = false;  // by the repeating timer, since the last schedule

  function onBeat() {
    woken = true;
    wake();
  }

  function stop() {
    host.clearTimeout(once);
    host.clearInterval(repeating);
    once = repeating = every = 0;
  }

  // When the repeating timer wakes next, as the browser keeps it: on its
  // beat, a beat it missed skipped.
  /** @param {number} now */
  function nextBeat(now) {
    return start + (Math.floor((now - start) / every) + 1) * every;
  }

  return {
    /** Whether a wake is coming. */
    running: () => once !== 0 || repeating !== 0,

    /**
     * The next tick is due in `wait` ms (-1: none is); `beat` ms apart after
     * it, while the timers keep one beat (0: they do not).
     * @param {number} wait @param {number} beat
     */
    schedule(wait, beat) {
      // The clock is read once a call: the tick just delivered took a
      // fraction of a millisecond, well inside the lateness allowed.
      const now = host.now();
      const drifted = woken && now - due > lateness;
      woken = false;
      due = now + wait;
      if (wait >= 0 && beat > 0 && repeating !== 0 && beat === every && !drifted) {
        const next = nextBeat(now);
        if (next >= due && next <= due + lateness) return;
      }
      stop();
      if (wait < 0) return;
      if (beat <= 0) {
        once = host.setTimeout(() => {
          once = 0;
          wake();
        }, wait);
        return;
      }
      once = host.setTimeout(() => {
        once = 0;
        every = beat;
        start = host.now();
        repeating = host.setInterval(onBeat, beat);
        wake();
      }, wait + lead);
    },

    stop,
  };
}

// @ts-check
// The page around the game, wired together: the engine and the served faces
// start together, the board is fitted to the screen, and every event (keys,
// the pointer, fingers, pads, time, sight) crosses into the engine's loop as
// one event through its door, whose reply says how long the page may sleep
// (ticker.js). While no timer runs (paused, game over) and no pad is
// connected nothing is scheduled at all. What not every browser has is looked
// for, never assumed: each module says what the page does without it.

import { Kind, Device, Touch, Pad } from './tables.js';
import { loadEngine } from './engine.js';
import { bytes, serveFaces } from './faces.js';
import { sayStopped, sayLateErrors } from './stopped.js';
import { fitBoard } from './screen.js';
import { watchKeys, watchBoard, watchSight } from './input.js';
import { watchFingers } from './touch.js';
import { watchGamepads } from './gamepads.js';
import { keepAwake } from './awake.js';
import { makeTicker } from './ticker.js';
// What the page carries inline, so that its first frame waits on no second
// request: the table of served faces, and the faces and the engine's
// WebAssembly as base64 (the build makes this module).
import { faces, faceData, engineData } from './inline.js';

const canvas = /** @type {HTMLCanvasElement} */ (document.querySelector('canvas'));
const controls = /** @type {HTMLElement} */ (document.getElementById('controls'));
const safeArea = /** @type {HTMLElement} */ (document.getElementById('safe'));

async function main() {
  sayLateErrors();
  /** @type {import('./engine.js').Engine} */
  let game;
  try {
    let served;
    [game, served] = await Promise.all([loadEngine(canvas, bytes(engineData)), serveFaces(faces, faceData)]);
    game.serveFaces(served);
  } catch (error) {
    document.body.replaceChildren();
    sayStopped('Tessaly could not start', error);
    throw error;
  }

  let wakeups = 0;
  let firstFrameMarked = false;
  const ticker = makeTicker(() => {
    ++wakeups;
    play(Kind.Tick);
  }, {
    setTimeout: (f, ms) => setTimeout(f, ms),
    clearTimeout: (id) => clearTimeout(id),
    setInterval: (f, ms) => setInterval(f, ms),
    clearInterval: (id) => clearInterval(id),
    now: () => performance.now(),
  });
  // Sleeps as the engine's loop answered its last round.
  const sleep = () => {
    if (!firstFrameMarked && game.frames() > 0) {
      performance.mark('tessaly-first-frame');
      firstFrameMarked = true;
    }
    ticker.schedule(game.wait(), game.beat());
    // The screen stays on while the ball is in play.
    keepAwake(ticker.running());
  };
  /** @type {import('./input.js').Play} */
  const play = (kind, fields) => {
    game.send(kind, fields);
    sleep();
  };

  // The touch controls, each the same key a keyboard gives; a name that is
  // none of them (-1) does nothing.
  /** @param {string} name */
  const touchControl = (name) => (Object.hasOwn(Touch, name) ? Touch[/** @type {keyof typeof Touch} */ (name)] : -1);
  const fingers = watchFingers(controls, {
    press: (name) => play(Kind.Press, { device: Device.Touch, control: touchControl(name) }),
    release: (name) => play(Kind.Release, { device: Device.Touch, control: touchControl(name) }),
    releaseAll: () => play(Kind.ReleaseAll, { device: Device.Touch }),
  });
  // The first size opens the game's window; each after it is a new size.
  fitBoard({
    canvas, controls, safeArea,
    canvasSize: (w, h) => game.canvasSize(w, h),
    sized: (w, h) => play(Kind.Resize, { x: w, y: h }),
    touchHidden: () => fingers.letGo(),
  });
  canvas.focus();
  watchSight(play);
  watchKeys(play, () => game.gameKey(), () => fingers.letGo());
  watchBoard(canvas, play);
  const pads = watchGamepads(Object.values(Pad), {
    press: (button) => play(Kind.Press, { device: Device.Gamepad, control: button }),
    release: (button) => play(Kind.Release, { device: Device.Gamepad, control: button }),
    stick: (x, y) => play(Kind.Stick, { leanX: x, leanY: y }),
    releaseAll: () => play(Kind.ReleaseAll, { device: Device.Gamepad }),
  });

  // What the page exposes for its tests and for the curious.
  Object.assign(window, {
    tessaly: {
      frames: () => game.frames(),
      wakeups: () => wakeups,
      scheduled: () => ticker.running() || pads.polling(),
      polling: () => pads.polling(),
    },
  });

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
}

main();

// The page with a pad in the standard layout (a pad of the test's own
// behind navigator.getGamepads), Enter on the board's button, and what a
// paused page asks of the browser: nothing at all, the screen's wake lock
// included.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { calls, green, paddleTrack, pixel, recordCalls, red, sleep, steps, stepsWhileRunning, until, white } from './board.mjs';
import { openGame, servedAndLaunched } from './browser.mjs';

const shared = servedAndLaunched();

// Run in the page before its own script: a pad the test presses (window.button,
// window.axes) and plugs in and out (window.plug); window.padReads counts the
// page's reads of the pads.
function fakePad() {
  const pad = {
    id: 'Test pad (STANDARD GAMEPAD)', index: 0, connected: false, mapping: 'standard', timestamp: 0,
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })), axes: [0, 0, 0, 0],
  };
  window.padReads = 0;
  Object.defineProperty(Navigator.prototype, 'getGamepads', {
    configurable: true,
    value() {
      ++window.padReads;
      return [pad.connected ? pad : null];
    },
  });
  window.button = (i, pressed) => { pad.buttons[i] = { pressed, touched: pressed, value: pressed ? 1 : 0 }; };
  window.axes = (x, y) => { pad.axes = [x, y, 0, 0]; };
  window.plug = (connected) => {
    pad.connected = connected;
    window.dispatchEvent(Object.assign(new Event(connected ? 'gamepadconnected' : 'gamepaddisconnected'), { gamepad: pad }));
  };
}

// Two animation frames: the page has read the pad since.
const frames = (page) => page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));

test('a pad: the d-pad and the stick move the paddles, South speeds them, Start pauses and goes on, the shoulders change the pattern, unplugged it lets go', async () => {
  const page = await openGame(shared.browser, shared.site, { early: [fakePad, recordCalls] });
  const press = async (button, pressed = true) => {
    await page.evaluate(([b, p]) => window.button(b, p), [button, pressed]);
    await frames(page);
  };
  // No pad, no reading.
  assert.deepEqual(await page.evaluate(() => [window.padReads, window.tessaly.polling()]), [0, false]);
  await page.evaluate(() => window.plug(true));
  assert.equal(await page.evaluate(() => window.tessaly.polling()), true);

  // Each move is measured well before a ball served can be lost; a fresh
  // game between them sets the ball waiting again.
  await press(14);  // the d-pad's left
  const dpad = steps(await paddleTrack(page, 150), 'bottom');
  await press(14, false);
  assert.ok(dpad.includes(-8) && dpad.every((s) => s < 0 && s % 8 === 0), `d-pad left steps ${dpad}`);
  await press(5);  // the right shoulder: F1
  await press(5, false);
  assert.deepEqual(await pixel(page, 122, 218), red, 'pattern 2');
  await page.evaluate(() => window.axes(0.1, -0.9));  // the stick up
  const stick = steps(await paddleTrack(page, 150), 'left');
  assert.ok(stick.includes(-8) && stick.every((s) => s < 0 && s % 8 === 0), `stick up steps ${stick}`);
  await page.evaluate(() => window.axes(0.1, -0.3));  // within the dead zone: let go
  await frames(page);
  assert.deepEqual(await stepsWhileRunning(page, 100, 'left'), []);
  await press(0);  // South: faster
  await press(15);  // the d-pad's right
  const fast = steps(await paddleTrack(page, 150), 'bottom');
  assert.ok(fast.includes(12) && fast.every((s) => s > 0 && s % 12 === 0), `South and right steps ${fast}`);
  await press(15, false);
  await press(0, false);
  await press(4);  // the left shoulder: F2
  await press(4, false);
  assert.deepEqual(await pixel(page, 122, 218), green, 'pattern 1');

  await press(9);  // Start: P, the Pause button shows
  await press(9, false);
  assert.deepEqual(await pixel(page, 140, 208), white);
  await press(9);  // Start again: a click on the shown button
  await press(9, false);
  assert.deepEqual(await pixel(page, 140, 208), green);

  // Unplugged with the d-pad held: the paddles stop and the page stops reading.
  await press(14);
  await page.evaluate(() => { window.calls = []; });
  await page.evaluate(() => window.plug(false));
  assert.deepEqual(await stepsWhileRunning(page, 100, 'bottom'), []);
  assert.deepEqual((await calls(page)).filter(([kind]) => kind !== 'Tick'), [['ReleaseAll', 'Gamepad']]);
  const reads = await page.evaluate(() => window.padReads);
  await frames(page);
  assert.deepEqual(await page.evaluate(() => [window.padReads, window.tessaly.polling()]), [reads, false]);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

// Run in the page before its own script: every timer and animation frame it
// asks for is counted in window.asked, and a wake lock of the test's own
// logs each request and release in window.locks.
function countAsks() {
  window.asked = 0;
  for (const name of ['setTimeout', 'setInterval', 'requestAnimationFrame', 'requestIdleCallback']) {
    const ask = window[name];
    window[name] = (...args) => {
      // WebKit's WebDriver runs each of the test's scripts through a timer
      // of its own in the page: not the page's.
      if (!new Error().stack?.includes('evaluateJavaScriptFunction')) ++window.asked;
      return ask.apply(window, args);
    };
  }
  window.locks = [];
  Object.defineProperty(navigator, 'wakeLock', {
    configurable: true,
    value: {
      async request(type) {
        window.locks.push(type);
        const lock = new EventTarget();
        lock.release = async () => { window.locks.push('release'); };
        return lock;
      },
    },
  });
}

test('Enter after P goes on; paused, the page asks for nothing in 10 s; the screen stays on only while play goes on', async () => {
  const page = await openGame(shared.browser, shared.site, { early: [countAsks] });
  const state = () => page.evaluate(() => [window.tessaly.frames(), window.tessaly.wakeups(), window.tessaly.scheduled(),
    window.tessaly.polling(), window.asked]);
  await until(() => page.evaluate(() => window.locks.length === 1), 'the screen is kept on');

  await page.press('p');
  assert.deepEqual(await pixel(page, 140, 208), white);
  await page.evaluate(() => { window.asked = 0; });
  const paused = await state();
  assert.deepEqual(paused.slice(2), [false, false, 0]);
  await sleep(10_000);
  assert.deepEqual(await state(), paused, 'no frame, no wake-up, no timer, no animation frame');

  await page.press('Enter');
  assert.deepEqual(await pixel(page, 140, 208), green, 'Enter clicked the Pause button');
  assert.equal((await state())[2], true);
  // Out of sight the screen may go dark; back in sight, play and the lock go on.
  const show = (hidden) => page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  await show(true);
  await show(false);
  await until(() => page.evaluate(() => window.locks.length === 5), 'the lock is asked for again');
  assert.deepEqual(await page.evaluate(() => window.locks), ['screen', 'release', 'screen', 'release', 'screen']);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

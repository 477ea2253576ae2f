// The game played through in each engine: the opening frame, a serve, pause
// by key and by button, the function keys, resizing, a HiDPI screen, what
// the page does without what some browsers lack, an error after the start,
// and (in Chromium) a reload with the network off. Pixels are read from the
// canvas itself.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { calls, darkShadow, green, inkIn, orange, pixel, recordCalls, red, sleep, until, white } from './board.mjs';
import { launchChromiumProfile, needs, openGame, servedAndLaunched } from './browser.mjs';

const shared = servedAndLaunched();

const face = [240, 240, 240];
const black = [0, 0, 0];

// Points of the opening frame at 1x (415 x 543), with the desktop's colours.
const opening = [
  [[0, 0], face], [[20, 150], green], [[88, 216], black], [[90, 218], red], [[122, 218], green],
  [[208, 526], orange], [[208, 150], orange], [[22, 336], orange], [[398, 336], orange], [[208, 516], [0, 0, 255]],
  [[104, 60], red], [[136, 60], red], [[168, 60], red], [[192, 60], face], [[200, 110], [192, 192, 192]],
];

const game = (options) => openGame(shared.browser, shared.site, options);

// What the screen shows at a CSS pixel, as RGBA bytes, or, with `compare`,
// how many bytes of the canvas's place on the screen differ from the canvas.
// At a fractional ratio a browser may round the window's device pixels
// down, and the canvas's last row and column lie just off its edge.
async function screen(page, [x, y], compare = false) {
  const png = (await page.screenshot()).toString('base64');
  return page.evaluate(async ([data, at, against]) => {
    const shot = new Image();
    shot.src = `data:image/png;base64,${data}`;
    await shot.decode();
    const copy = document.createElement('canvas').getContext('2d');
    [copy.canvas.width, copy.canvas.height] = [shot.naturalWidth, shot.naturalHeight];
    copy.drawImage(shot, 0, 0);
    const ratio = shot.naturalWidth / innerWidth;
    if (!against) return [...copy.getImageData(Math.floor(at[0] * ratio), Math.floor(at[1] * ratio), 1, 1).data];
    const canvas = document.querySelector('canvas');
    const box = canvas.getBoundingClientRect();
    const [x0, y0] = [Math.round(box.x * ratio), Math.round(box.y * ratio)];
    const [w, h] = [Math.min(canvas.width, copy.canvas.width - x0), Math.min(canvas.height, copy.canvas.height - y0)];
    if (w < canvas.width - 1 || h < canvas.height - 1) return `the screen shows ${w} x ${h} of the canvas`;
    const seen = copy.getImageData(x0, y0, w, h).data;
    const drawn = canvas.getContext('2d').getImageData(0, 0, w, h).data;
    let differ = 0;
    for (let i = 0; i < seen.length; ++i) if (seen[i] !== drawn[i]) ++differ;
    return differ;
  }, [png, [x, y], compare]);
}

async function expectPoints(page, points, scale = 1) {
  for (const [[x, y], color] of points) {
    assert.deepEqual(await pixel(page, scale * x + scale - 1, scale * y + scale - 1), color, `at ${x},${y} (${scale}x)`);
  }
}

const idle = (page) => page.evaluate(() => [window.tessaly.frames(), window.tessaly.wakeups(), window.tessaly.scheduled()]);

// A serve with a key: the ball leaves the bottom paddle.
async function serve(page, key = 'ArrowLeft') {
  await page.keyDown(key);
  await sleep(60);
  await page.keyUp(key);
  await until(async () => (await pixel(page, 208, 516))[2] !== 255, 'the ball has left the paddle');
}

test('opens on pattern 1 as the desktop draws it, focused, titled Form1', async () => {
  const page = await game();
  assert.equal(await page.evaluate(() => document.title), 'Form1');
  assert.deepEqual(await page.evaluate(() => {
    const canvas = document.querySelector('canvas');
    const box = canvas.getBoundingClientRect();
    return [document.activeElement === canvas, canvas.width, canvas.height, box.x, box.y, box.width, box.height];
  }), [true, 415, 543, 0, 0, 415, 543]);
  await expectPoints(page, opening);
  // The read-outs in red, the headings in their dark ink, the title in navy.
  assert.ok(await inkIn(page, [88, 8, 113, 33], red) > 150, 'score');
  assert.ok(await inkIn(page, [352, 56, 42, 30], red) > 100, 'bricks left');
  assert.ok(await inkIn(page, [10, 2, 80, 36], [0, 0, 64]) > 150, 'heading');
  assert.ok(await inkIn(page, [88, 96, 120, 30], [0, 0, 128]) > 150, 'title');
  // The page carries everything its first frame needs: it waited on no request of its own.
  assert.deepEqual(await page.evaluate(() => {
    const [firstFrame] = performance.getEntriesByName('tessaly-first-frame');
    return performance.getEntriesByType('resource').filter((e) => e.startTime < firstFrame.startTime)
      .map((e) => new URL(e.name).pathname).filter((path) => !path.startsWith('/icons/'));
  }), []);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

test('a serve with Left sends the ball into the bricks', async () => {
  const page = await game();
  const bricksLeft = await inkIn(page, [352, 56, 42, 30], red);
  await serve(page);
  // Within a few seconds a brick is hit: the count of bricks left changes.
  await until(async () => await inkIn(page, [352, 56, 42, 30], red) !== bricksLeft, 'a brick was hit');
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

test('P pauses with nothing running; the Pause button shows pressed while held and a click on it goes on', async () => {
  const page = await game();
  await page.press('p');
  // The button, raised: a white edge above, a dark one below.
  await expectPoints(page, [[[140, 208], white], [[140, 304], darkShadow]]);
  const [shown, woken, scheduled] = await idle(page);
  assert.equal(scheduled, false, 'no timer waits');
  await sleep(600);
  assert.deepEqual(await idle(page), [shown, woken, false], 'nothing drawn, nothing woken while paused');

  await page.mouseMove(216, 256);
  await page.mouseDown();
  await expectPoints(page, [[[140, 208], darkShadow], [[140, 304], white]]);  // pressed in
  await page.mouseUp();
  assert.deepEqual(await pixel(page, 140, 208), green, 'the button is gone');
  assert.equal((await idle(page))[2], true, 'the timers run again');

  // A page the player cannot see stalls too: nothing runs until it shows again.
  await page.evaluate(() => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => window.hiddenForTest });
    window.hiddenForTest = true;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  const [, hiddenWoken, hiddenScheduled] = await idle(page);
  assert.equal(hiddenScheduled, false);
  await sleep(300);
  assert.equal((await idle(page))[1], hiddenWoken);
  await page.evaluate(() => {
    window.hiddenForTest = false;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  assert.equal((await idle(page))[2], true);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

test('F1 and F2 step the pattern; the browser does nothing of its own with the game keys', async () => {
  const page = await game();
  await page.evaluate(() => {
    window.prevented = {};
    window.addEventListener('keydown', (e) => { window.prevented[e.key] = e.defaultPrevented; });
  });
  await page.press('F1');
  assert.deepEqual(await pixel(page, 122, 218), red, 'pattern 2 fills the square');
  await page.press('F2');
  assert.deepEqual(await pixel(page, 122, 218), green, 'back to pattern 1');
  for (const key of ['Space', 'ArrowUp', 'ArrowDown', 'ArrowRight', 'a', 'Control+ArrowLeft']) await page.press(key);
  // A shortcut held with Ctrl stays the browser's.
  assert.deepEqual(await page.evaluate(() => window.prevented), {
    F1: true, F2: true, ' ': true, ArrowUp: true, ArrowDown: true, ArrowRight: true, a: false,
    Control: false, ArrowLeft: false,
  });
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

test('a key event crosses into the engine once; keys held when the page loses the focus come up', async () => {
  const page = await game({ early: [recordCalls] });
  // Paused, no tick comes between.
  await page.press('p');
  assert.equal((await idle(page))[2], false);
  await page.evaluate(() => { window.calls = []; });
  await page.press('a');
  await page.keyDown('ArrowUp');
  await page.press('a');
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  // Each crosses in the record as its names: the engine knows the keys.
  const a = ['Keyboard', 'a', 'KeyA'];
  const up = ['Keyboard', 'ArrowUp', 'ArrowUp'];
  assert.deepEqual(await calls(page), [
    ['Press', ...a], ['Release', ...a], ['Press', ...up], ['Press', ...a], ['Release', ...a], ['FocusLost'],
  ]);
  await page.keyUp('ArrowUp');
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

test('the canvas fills any window in the client area\'s shape, letterboxed, one canvas pixel to a CSS pixel', async () => {
  const page = await game();
  const layout = () => page.evaluate(() => {
    const canvas = document.querySelector('canvas');
    const box = canvas.getBoundingClientRect();
    return [canvas.width, canvas.height, box.x, box.y, box.width, box.height];
  });
  await page.resize(1000, 543);
  await page.until(() => document.querySelector('canvas').getBoundingClientRect().x > 0);
  assert.deepEqual(await layout(), [415, 543, 292, 0, 415, 543]);
  assert.deepEqual(await screen(page, [100, 100]), [0, 0, 0, 255], 'letterbox');
  assert.equal(await screen(page, [0, 0], true), 0, 'the screen shows the canvas unscaled');
  await expectPoints(page, opening);

  await page.resize(830, 1086);
  await page.until(() => document.querySelector('canvas').width === 830);
  assert.deepEqual(await layout(), [830, 1086, 0, 0, 830, 1086]);
  await expectPoints(page, opening, 2);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

// On a HiDPI screen, and at a fractional ratio, the screen shows the canvas
// pixel for pixel.
for (const ratio of [2, 1.5]) {
  test(`at a pixel ratio of ${ratio} the screen shows the canvas pixel for pixel`,
    Number.isInteger(ratio) ? {} : needs('fractional'), async () => {
      const page = await game({ ratio });
      const [width, height] = await page.evaluate(() => [document.querySelector('canvas').width,
        document.querySelector('canvas').height]);
      assert.deepEqual([width, height], [Math.round(415 * ratio), Math.round(543 * ratio)]);
      assert.equal(await screen(page, [0, 0], true), 0, `the screen shows the canvas unscaled at ${ratio}x`);
      if (ratio === 2) await expectPoints(page, opening, 2);
      assert.deepEqual(await page.errors(), []);
      await page.close();
    });
}

// Run in the page before its own script: the browser without what not every
// engine has (the device-pixel box, canvases off the page, the wake lock,
// pads, faces from bytes, the newer way of hearing a media query, Base64 in
// Uint8Array).
function withoutTheExtras() {
  const observe = ResizeObserver.prototype.observe;
  ResizeObserver.prototype.observe = function (target, options) {
    if (options?.box === 'device-pixel-content-box') throw new TypeError('Type error');
    return observe.call(this, target, options);
  };
  for (const name of ['OffscreenCanvas', 'FontFace']) delete window[name];
  delete Navigator.prototype.wakeLock;
  delete Navigator.prototype.getGamepads;
  delete MediaQueryList.prototype.addEventListener;
  delete Uint8Array.fromBase64;
}

test('without what some browsers lack the page still plays; an error after the start shows on the page', async () => {
  const page = await game({ early: [withoutTheExtras] });
  await expectPoints(page, opening.filter(([at]) => at[1] > 40));  // the captions in the browser's own face
  await serve(page);
  await page.press('p');
  await expectPoints(page, [[[140, 208], white]]);
  await page.press('Enter');
  assert.deepEqual(await pixel(page, 140, 208), green, 'Enter went on');
  await page.press('F1');
  assert.deepEqual(await pixel(page, 122, 218), red, 'pattern 2');
  assert.deepEqual(await page.errors(), []);
  // A fault after the start says so on the page.
  await page.evaluate(() => setTimeout(() => { throw new Error('planted'); }));
  await page.until(() => document.getElementById('stopped')?.textContent === 'Tessaly stopped: planted');
  await page.close();
});

test('installable, and with the network off it loads from its service worker and plays', needs('devtools'), async () => {
  const context = await launchChromiumProfile({ viewport: { width: 415, height: 543 } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(shared.site.url);
  await page.waitForFunction(() => window.tessaly?.frames() > 0);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const cdp = await context.newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  const { url, errors: manifestErrors, data } = await cdp.send('Page.getAppManifest');
  assert.ok(url.endsWith('/manifest.webmanifest') && manifestErrors.length === 0);
  assert.equal(JSON.parse(data).name, 'Tessaly');
  assert.deepEqual(await page.evaluate(async () => {
    const icon = document.querySelector('link[rel=icon]');
    return [icon.getAttribute('href'), (await fetch(icon.href)).ok];
  }), ['icons/tessaly.svg', true]);

  await context.setOffline(true);
  await page.reload();
  await page.waitForFunction(() => window.tessaly?.frames() > 0);
  await expectPoints(page, opening);
  await page.keyboard.down('ArrowRight');
  await sleep(60);
  await page.keyboard.up('ArrowRight');
  await until(async () => (await pixel(page, 208, 516))[2] !== 255, 'the ball is served offline');
  assert.deepEqual(errors, []);
  await context.close();
});

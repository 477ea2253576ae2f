// The game in headless Chromium, played through: the opening frame, a serve,
// pause by key and by button, the function keys, resizing, a HiDPI screen,
// and a reload with the network off. Pixels are read from the canvas itself.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { calls, darkShadow, green, inkIn, orange, pixel, recordCalls, red, until, white } from './board.mjs';
import { launchProfile, openGame, servedAndLaunched } from './chromium.mjs';

const shared = servedAndLaunched();

const face = [240, 240, 240];
const black = [0, 0, 0];

// Points of the opening frame at 1x (415 x 543), with the desktop's colours.
const opening = [
  [[0, 0], face], [[20, 150], green], [[88, 216], black], [[90, 218], red], [[122, 218], green],
  [[208, 526], orange], [[208, 150], orange], [[22, 336], orange], [[398, 336], orange], [[208, 516], [0, 0, 255]],
  [[104, 60], red], [[136, 60], red], [[168, 60], red], [[192, 60], face], [[200, 110], [192, 192, 192]],
];

async function game(options = {}) {
  const context = await shared.browser.newContext({ viewport: { width: 415, height: 543 }, ...options });
  return { context, page: await openGame(context, shared.site.url) };
}

// What the screen shows in `clip` (CSS pixels), as RGBA bytes at device
// pixels, or, with `compare`, how many of its bytes differ from the canvas's.
async function screen(page, clip, compare = false) {
  const png = (await page.screenshot({ clip })).toString('base64');
  return page.evaluate(async ([data, against]) => {
    const shot = await createImageBitmap(await (await fetch(`data:image/png;base64,${data}`)).blob());
    const copy = new OffscreenCanvas(shot.width, shot.height).getContext('2d');
    copy.drawImage(shot, 0, 0);
    const seen = copy.getImageData(0, 0, shot.width, shot.height).data;
    if (!against) return [...seen];
    const canvas = document.querySelector('canvas');
    if (canvas.width !== shot.width || canvas.height !== shot.height) return -1;
    const drawn = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let differ = 0;
    for (let i = 0; i < seen.length; ++i) if (seen[i] !== drawn[i]) ++differ;
    return differ;
  }, [png, compare]);
}

async function expectPoints(page, points, scale = 1) {
  for (const [[x, y], color] of points) {
    assert.deepEqual(await pixel(page, scale * x + scale - 1, scale * y + scale - 1), color, `at ${x},${y} (${scale}x)`);
  }
}

const idle = (page) => page.evaluate(() => [window.tessaly.frames(), window.tessaly.wakeups(), window.tessaly.scheduled()]);

test('opens on pattern 1 exactly as the desktop draws it, focused, titled Form1', async () => {
  const { context, page } = await game();
  assert.equal(await page.title(), 'Form1');
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
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a serve with Left sends the ball into the bricks', async () => {
  const { context, page } = await game();
  const bricksLeft = await inkIn(page, [352, 56, 42, 30], red);
  await page.keyboard.down('ArrowLeft');
  await page.waitForTimeout(60);
  await page.keyboard.up('ArrowLeft');
  await until(async () => (await pixel(page, 208, 516))[2] !== 255, 'the ball has left the paddle');
  // Within a few seconds a brick is hit: the count of bricks left changes.
  await until(async () => await inkIn(page, [352, 56, 42, 30], red) !== bricksLeft, 'a brick was hit');
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('P pauses with nothing running; the Pause button shows pressed while held and a click on it goes on', async () => {
  const { context, page } = await game();
  await page.keyboard.press('p');
  // The button, raised: a white edge above, a dark one below.
  await expectPoints(page, [[[140, 208], white], [[140, 304], darkShadow]]);
  const [shown, woken, scheduled] = await idle(page);
  assert.equal(scheduled, false, 'no timer waits');
  await page.waitForTimeout(600);
  assert.deepEqual(await idle(page), [shown, woken, false], 'nothing drawn, nothing woken while paused');

  await page.mouse.move(216, 256);
  await page.mouse.down();
  await expectPoints(page, [[[140, 208], darkShadow], [[140, 304], white]]);  // pressed in
  await page.mouse.up();
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
  await page.waitForTimeout(300);
  assert.equal((await idle(page))[1], hiddenWoken);
  await page.evaluate(() => {
    window.hiddenForTest = false;
    document.dispatchEvent(new Event('visibilitychange'));
  });
  assert.equal((await idle(page))[2], true);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('F1 and F2 step the pattern; the browser does nothing of its own with the game keys', async () => {
  const { context, page } = await game();
  await page.evaluate(() => {
    window.prevented = {};
    window.addEventListener('keydown', (e) => { window.prevented[e.key] = e.defaultPrevented; });
  });
  await page.keyboard.press('F1');
  assert.deepEqual(await pixel(page, 122, 218), red, 'pattern 2 fills the square');
  await page.keyboard.press('F2');
  assert.deepEqual(await pixel(page, 122, 218), green, 'back to pattern 1');
  for (const key of ['Space', 'ArrowUp', 'ArrowDown', 'ArrowRight', 'a', 'Control+ArrowLeft']) {
    await page.keyboard.press(key);
  }
  // A shortcut held with Ctrl stays the browser's.
  assert.deepEqual(await page.evaluate(() => window.prevented), {
    F1: true, F2: true, ' ': true, ArrowUp: true, ArrowDown: true, ArrowRight: true, a: false,
    Control: false, ArrowLeft: false,
  });
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a key event crosses into the engine once; keys held when the page loses the focus come up', async () => {
  const context = await shared.browser.newContext({ viewport: { width: 415, height: 543 } });
  await context.addInitScript(recordCalls);
  const page = await openGame(context, shared.site.url);
  // Paused, no tick comes between.
  await page.keyboard.press('p');
  assert.equal((await idle(page))[2], false);
  await page.evaluate(() => { window.calls = []; });
  await page.keyboard.press('a');
  await page.keyboard.down('ArrowUp');
  await page.keyboard.press('a');
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  // The engine reads the names from its record: the call says how long each is.
  const a = [1, 4];  // 'a', 'KeyA'
  const up = [7, 7];  // 'ArrowUp', 'ArrowUp'
  assert.deepEqual(await calls(page), [
    ['tessaly_key_down', ...a], ['tessaly_key_up', ...a],
    ['tessaly_key_down', ...up], ['tessaly_key_down', ...a], ['tessaly_key_up', ...a],
    ['tessaly_release_all', 0],  // the keyboard's
  ]);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('the canvas fills any window in the client area\'s shape, letterboxed, one canvas pixel to a device pixel', async () => {
  const { context, page } = await game();
  const layout = () => page.evaluate(() => {
    const canvas = document.querySelector('canvas');
    const box = canvas.getBoundingClientRect();
    return [canvas.width, canvas.height, box.x, box.y, box.width, box.height];
  });
  await page.setViewportSize({ width: 1000, height: 543 });
  await page.waitForFunction(() => document.querySelector('canvas').getBoundingClientRect().x > 0);
  assert.deepEqual(await layout(), [415, 543, 292, 0, 415, 543]);
  assert.deepEqual(await screen(page, { x: 100, y: 100, width: 1, height: 1 }), [0, 0, 0, 255], 'letterbox');
  await expectPoints(page, opening);

  await page.setViewportSize({ width: 830, height: 1086 });
  await page.waitForFunction(() => document.querySelector('canvas').width === 830);
  assert.deepEqual(await layout(), [830, 1086, 0, 0, 830, 1086]);
  await expectPoints(page, opening, 2);
  await context.close();

  // On a HiDPI screen, and at a fractional ratio, what the screen shows is
  // the canvas pixel for pixel.
  for (const ratio of [2, 1.5]) {
    const hidpi = await game({ deviceScaleFactor: ratio });
    const [width, height] = await hidpi.page.evaluate(() => [document.querySelector('canvas').width,
      document.querySelector('canvas').height]);
    assert.deepEqual([width, height], [Math.round(415 * ratio), Math.round(543 * ratio)]);
    assert.equal(await screen(hidpi.page, { x: 0, y: 0, width: 415, height: 543 }, true), 0,
      `the screen shows the canvas unscaled at ${ratio}x`);
    if (ratio === 2) await expectPoints(hidpi.page, opening, 2);
    assert.deepEqual(hidpi.page.errors, []);
    await hidpi.context.close();
  }
});

test('installable, and with the network off it loads from its service worker and plays', async () => {
  const context = await launchProfile({ viewport: { width: 415, height: 543 } });
  const page = await openGame(context, shared.site.url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
  const cdp = await context.newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  const { url, errors, data } = await cdp.send('Page.getAppManifest');
  assert.ok(url.endsWith('/manifest.webmanifest') && errors.length === 0);
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
  await page.waitForTimeout(60);
  await page.keyboard.up('ArrowRight');
  await until(async () => (await pixel(page, 208, 516))[2] !== 255, 'the ball is served offline');
  assert.deepEqual(page.errors, []);
  await context.close();
});

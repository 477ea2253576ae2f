// The page on a touch screen: the board and the controls laid out on a phone
// held upright and on its side, a tablet and a desktop; each control the key
// it stands for; several fingers at once and a finger sliding off; one tap,
// one click; and no gesture anywhere scrolling, zooming or leaving the game.
// Fingers go down through the browser's own touch input (in Chromium, the
// DevTools protocol); an engine without one runs none of these.

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { calls, green, paddleTrack, pixel, recordCalls, red, sleep, steps, stepsWhileRunning, white } from './board.mjs';
import { needs, openGame, openTab, servedAndLaunched } from './browser.mjs';

const shared = servedAndLaunched();

const names = ['Left', 'Right', 'Up', 'Down', 'Faster', 'Pause', 'Next pattern', 'Prev: previous pattern'];
const arrows = ['Left', 'Right', 'Up', 'Down'];
// A touch screen on which the board comes out at 1x (415 x 543), the controls beside it.
const oneToOne = { width: 711, height: 543, touch: true, early: [recordCalls] };

// The board's and every control's box, in CSS pixels.
function boxes(page) {
  return page.evaluate((labels) => {
    const box = (element) => {
      const { x, y, width, height } = element.getBoundingClientRect();
      return { x, y, width, height };
    };
    const found = { board: box(document.querySelector('canvas')) };
    for (const name of labels) found[name] = box(document.querySelector(`button[aria-label="${name}"]`));
    return found;
  }, names);
}

const centre = (box) => [box.x + box.width / 2, box.y + box.height / 2];

// How far apart two boxes are (negative when they overlap).
const apart = (a, b) => Math.max(b.x - (a.x + a.width), a.x - (b.x + b.width), b.y - (a.y + a.height),
  a.y - (b.y + b.height));

// Everything inside the window, nothing over anything else, the controls a
// thumb's width apart, the arrows at least 48 x 48.
function expectLaidOut(found, { width, height }, what) {
  const all = Object.entries(found);
  for (const [name, box] of all) {
    assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= width && box.y + box.height <= height,
      `${what}: ${name} inside the window`);
  }
  for (const [i, [one, a]] of all.entries()) {
    for (const [other, b] of all.slice(i + 1)) {
      assert.ok(apart(a, b) >= (one === 'board' ? 1 : 8), `${what}: ${one} and ${other} apart`);
    }
  }
  for (const name of arrows) assert.ok(found[name].width >= 48 && found[name].height >= 48, `${what}: ${name} size`);
}

// Fingers on the screen by number.
function touchScreen(page) {
  return {
    down: (id, [x, y]) => page.fingerDown(id, x, y),
    move: (id, [x, y]) => page.fingerMove(id, x, y),
    up: (id) => page.fingerUp(id),
    async tap(at) {
      await this.down(99, at);
      await this.up(99);
    },
  };
}

const held = (page) => page.evaluate(() => [...document.querySelectorAll('.held')].map((b) => b.dataset.control));

test('the board and the controls share the screen upright, on its side, on a tablet; none on a desktop', needs('touch'), async () => {
  const page = await openGame(shared.browser, shared.site, { width: 390, height: 844, ratio: 3, touch: true, mobile: true });
  let found = await boxes(page);
  expectLaidOut(found, { width: 390, height: 844 }, 'upright');
  assert.ok(found.board.width >= 0.9 * 390, `upright, the board ${found.board.width} wide`);
  assert.ok(found.Left.y > found.board.y + found.board.height, 'the controls below the board');
  // One canvas pixel to each device pixel.
  assert.equal(await page.evaluate(() => document.querySelector('canvas').width), Math.round(found.board.width * 3));

  // Turned on its side, the page lays itself out again at once.
  await page.resize(844, 390);
  await page.until(() => document.querySelector('canvas').getBoundingClientRect().height <= 390);
  found = await boxes(page);
  expectLaidOut(found, { width: 844, height: 390 }, 'on its side');
  assert.ok(found.board.height >= 0.85 * 390, `on its side, the board ${found.board.height} high`);
  assert.ok(found.Left.x + found.Left.width < found.board.x && found.Up.x > found.board.x + found.board.width,
    'Left beside the board on the left, Up on the right');
  assert.deepEqual(await page.errors(), []);
  await page.close();

  const onTablet = await openGame(shared.browser, shared.site, { width: 820, height: 1180, touch: true });
  found = await boxes(onTablet);
  expectLaidOut(found, { width: 820, height: 1180 }, 'tablet');
  assert.ok(found.board.width >= 0.85 * 820, `on a tablet, the board ${found.board.width} wide`);
  await onTablet.close();

  // Without touch, the page is as it always was: the board fills the window, no control anywhere.
  const onDesktop = await openGame(shared.browser, shared.site, { width: 1280, height: 800 });
  assert.deepEqual(await onDesktop.evaluate(() => [document.getElementById('controls').hidden,
    Object.values(document.querySelector('canvas').getBoundingClientRect().toJSON()).slice(0, 4)]),
  [true, [334, 0, 611, 800]]);
  await onDesktop.close();
});

// Run in the page before its own script: mouse events counted in window.mouse.
function countMouse() {
  window.mouse = 0;
  for (const type of ['mousedown', 'mouseup', 'click']) window.addEventListener(type, () => ++window.mouse, true);
}

test('each control is the key it stands for, keeps the focus on the game, and a tap on the board is one click', needs('touch'), async () => {
  const page = await openGame(shared.browser, shared.site, { ...oneToOne, early: [recordCalls, countMouse] });
  const found = await boxes(page);
  assert.deepEqual(found.board, { x: 148, y: 0, width: 415, height: 543 });
  const touch = touchScreen(page);

  // Left held: the bottom paddle steps left by the key's own 8 pixels a tick
  // (and serves: each step is measured well before the ball can be lost).
  await touch.down(1, centre(found.Left));
  assert.deepEqual(await held(page), ['Left']);
  const slow = steps(await paddleTrack(page, 200), 'bottom');
  await touch.up(1);
  assert.ok(slow.includes(-8) && slow.every((s) => s < 0 && s % 8 === 0), `Left steps ${slow}`);
  // Next pattern: a fresh game on pattern 2, the ball waiting again.
  await touch.tap(centre(found['Next pattern']));
  assert.deepEqual(await pixel(page, 122, 218), red, 'pattern 2 fills the square');
  // Faster and Right held together: 12 pixels a tick.
  await touch.down(1, centre(found.Faster));
  await touch.down(2, centre(found.Right));
  assert.deepEqual((await held(page)).sort(), ['Faster', 'Right']);
  const fast = steps(await paddleTrack(page, 150), 'bottom');
  await touch.up(2);
  await touch.up(1);
  assert.ok(fast.includes(12) && fast.every((s) => s > 0 && s % 12 === 0), `Faster and Right steps ${fast}`);
  assert.deepEqual(await held(page), []);
  await touch.tap(centre(found['Prev: previous pattern']));
  assert.deepEqual(await pixel(page, 122, 218), green, 'back to pattern 1');

  // Pause: the board's Pause button shows, and nothing runs.
  await page.evaluate(() => { window.calls = []; });
  await touch.tap(centre(found.Pause));
  assert.deepEqual(await pixel(page, 140, 208), white);
  assert.equal(await page.evaluate(() => window.tessaly.scheduled()), false);
  // A tap on the board's button is one click: it goes on.
  await touch.tap([found.board.x + 216, found.board.y + 256]);
  assert.deepEqual(await pixel(page, 140, 208), green, 'the button is gone');
  assert.equal(await page.evaluate(() => window.tessaly.scheduled()), true);
  const pressed = (await calls(page)).filter(([kind]) => kind !== 'Tick');
  assert.deepEqual(pressed, [['Press', 'Touch', 5], ['Release', 'Touch', 5],
    ['PointerDown', 216, 256], ['PointerUp', 216, 256]]);
  // No touch became a mouse event, and the game kept the keyboard's focus.
  assert.deepEqual(await page.evaluate(() => [window.mouse, document.activeElement.tagName]), [0, 'CANVAS']);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

test('two fingers hold Left and Up at once; a finger sliding off lets go, onto another control holds that', needs('touch'), async () => {
  const page = await openGame(shared.browser, shared.site, oneToOne);
  const found = await boxes(page);
  const touch = touchScreen(page);
  await touch.down(1, centre(found.Left));
  await touch.down(2, centre(found.Up));
  assert.deepEqual((await held(page)).sort(), ['Left', 'Up']);
  const both = await paddleTrack(page, 150);
  for (const which of ['bottom', 'left']) {
    const moved = steps(both, which);
    assert.ok(moved.includes(-8) && moved.every((s) => s < 0 && s % 8 === 0), `${which} steps ${moved}`);
  }

  // Off Left onto the black: Left comes up, and any key coming up stops both pairs.
  await page.evaluate(() => { window.calls = []; });
  await touch.move(1, [found.Left.x + found.Left.width / 2, 300]);
  assert.deepEqual(await held(page), ['Up']);
  assert.deepEqual(await stepsWhileRunning(page, 100, 'bottom'), []);
  // A third finger on Next pattern: a fresh game, the ball waiting again, the paddles still.
  await touch.tap(centre(found['Next pattern']));
  // On to Right: held, the bottom pair goes right.
  await touch.move(1, centre(found.Right));
  assert.deepEqual((await held(page)).sort(), ['Right', 'Up']);
  const right = steps(await paddleTrack(page, 150), 'bottom');
  assert.ok(right.includes(8) && right.every((s) => s > 0 && s % 8 === 0), `Right steps ${right}`);
  await touch.up(1);
  await touch.up(2);
  assert.deepEqual(await held(page), []);
  assert.deepEqual((await calls(page)).filter(([kind]) => kind !== 'Tick'), [
    ['Release', 'Touch', 0], ['Press', 'Touch', 6], ['Release', 'Touch', 6], ['Press', 'Touch', 1],
    ['Release', 'Touch', 1], ['Release', 'Touch', 2]]);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

test('no swipe, pinch or long press anywhere scrolls, zooms, selects or goes back or forward', needs('touch'), async () => {
  // A page before the game and one after it, to go back and forward to.
  const page = await openTab(shared.browser, shared.site, { width: 1600, height: 900, touch: true, path: 'icons/tessaly.svg' });
  const go = (where) => page.evaluate((url) => { location.assign(url); }, where);
  await go(shared.site.url);
  await page.until(() => window.tessaly?.frames() > 0);
  await go(`${shared.site.url}icons/tessaly-192.png`);
  await page.until(() => location.pathname.endsWith('.png'));
  await page.evaluate(() => { history.back(); });
  await page.until(() => window.tessaly?.frames() > 0);
  // A first touch on the margin, which shows the controls where the browser
  // has not said that the screen takes fingers.
  await page.fingerDown(1, 5, 895);
  await page.fingerUp(1);
  await page.until(() => !document.getElementById('controls').hidden);
  const where = () => page.evaluate(() => [history.length, location.href, window.scrollX, window.scrollY,
    visualViewport.scale, getSelection().toString(), window.stayed]);
  await page.evaluate(() => {
    window.stayed = true;
    window.menus = [];
    window.addEventListener('contextmenu', (e) => window.menus.push(e.defaultPrevented));
  });
  const before = await where();
  assert.deepEqual(before.slice(1), [shared.site.url, 0, 0, 1, '', true]);
  // (Where the browser has the Navigation API, it says there is somewhere to go.)
  assert.equal(await page.evaluate(() => typeof navigation === 'undefined' || (navigation.canGoBack && navigation.canGoForward)),
    true);

  const found = await boxes(page);
  const touch = touchScreen(page);
  const swipe = async (from, to) => {
    await touch.down(1, from);
    for (let i = 1; i <= 8; ++i) {
      await touch.move(1, [from[0] + (to[0] - from[0]) * i / 8, from[1] + (to[1] - from[1]) * i / 8]);
    }
    await touch.up(1);
  };
  const margin = found.board.x / 2;
  const across = [
    [[20, 450], [found.board.x - 20, 450]], [[found.board.x - 20, 450], [20, 450]],  // the left margin
    [[1580, 450], [1600 - margin, 450]], [[1600 - margin, 450], [1580, 450]],  // the right margin
    [centre(found.Left), [found.board.x - 10, 300]], [centre(found.Up), [1580, 100]],  // over the controls
    [[margin, 100], [margin, 800]], [[margin, 800], [margin, 100]],  // up and down
  ];
  for (const [from, to] of across) await swipe(from, to);
  // Two fingers spreading on the margin, and one held still.
  await touch.down(1, [margin - 20, 400]);
  await touch.down(2, [margin + 20, 420]);
  await touch.move(1, [margin - 150, 250]);
  await touch.move(2, [margin + 150, 600]);
  await touch.up(1);
  await touch.up(2);
  await touch.down(1, [margin, 450]);
  await sleep(900);
  await touch.up(1);

  await sleep(300);  // where a navigation would have begun
  assert.deepEqual(await where(), before);
  // The right button asks for the menu where a long press would not: the
  // page says no to it as to any.
  await page.mouseMove(margin, 450);
  await page.mouseDown('right');
  await page.mouseUp('right');
  const menus = await page.evaluate(() => window.menus);
  assert.ok(menus.length > 0 && menus.every((prevented) => prevented), `context menus asked for: ${menus}`);
  assert.deepEqual(await page.errors(), []);
  await page.close();
});

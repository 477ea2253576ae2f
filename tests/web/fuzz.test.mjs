// The page under storms (the proof build), from a seeded generator: keys of
// every code and odd names, held across a loss of focus and repeated; the
// mouse and several fingers at once; pads coming, going and pressing; sizes
// from 1 x 1 to 4000 x 4000 and changes of the pixel ratio; the page hidden
// and shown. After every event the game's rules hold, the canvas and the
// game agree on its size (the engine checks each repainted area against it),
// and nothing reaches the console; at the end the game still answers a key.
// The page runs on the test's clock, which moves only with the storm's own
// "time" events: its ticks fall between the same events on every run, and
// TESSALY_PAGE_FUZZ_SEED (with TESSALY_PAGE_FUZZ_EVENTS, to stop at the
// finding) replays a finding. TESSALY_PAGE_FUZZ_SECONDS sets the length (60).

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { until } from './board.mjs';
import { generator } from './seeded.mjs';
import { launchChromium, needs } from './browser.mjs';
import { openProof, serveProof } from './proof.mjs';

const seed = Number(process.env.TESSALY_PAGE_FUZZ_SEED ?? Math.floor(Math.random() * 2 ** 32)) >>> 0;
const seconds = Number(process.env.TESSALY_PAGE_FUZZ_SECONDS ?? 60);
const most = Number(process.env.TESSALY_PAGE_FUZZ_EVENTS ?? Infinity);

const letters = [...'ABCDEFGHIJKLMNOPQRSTUVWXYZ'];
const codes = [
  ...letters.map((l) => `Key${l}`), ...[...'0123456789'].map((d) => `Digit${d}`),
  ...Array.from({ length: 24 }, (_, i) => `F${i + 1}`), ...[...'0123456789'].map((d) => `Numpad${d}`),
  'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Space', 'Enter', 'NumpadEnter', 'Escape', 'Tab', 'Backspace',
  'ShiftLeft', 'ShiftRight', 'ControlLeft', 'AltLeft', 'MetaLeft', 'CapsLock', 'Home', 'End', 'PageUp', 'PageDown',
  'Insert', 'Delete', 'Pause', 'ContextMenu', 'IntlBackslash', 'Minus', 'Equal', 'BracketLeft', 'Semicolon',
];
const keys = [
  ...letters, ...letters.map((l) => l.toLowerCase()), ...[...'0123456789'], ' ', 'ArrowLeft', 'ArrowRight', 'ArrowUp',
  'ArrowDown', 'Enter', 'Escape', 'F1', 'F2', 'F12', 'Shift', 'Control', 'Alt', 'Meta', 'Tab', 'p', 'P',
];
// Names no keyboard gives, or too long for the engine's record.
const odd = ['', 'Unidentified', 'Dead', 'Process', 'é', '🙂', 'ArrowLeftX', '\u0000', 'p'.repeat(31), 'F'.repeat(33),
  '💥'.repeat(9), 'Key', ' Enter'];
// Keys Playwright presses as the browser's own (trusted) events.
const trusted = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Space', 'Enter', 'KeyP', 'F1', 'F2', 'Escape'];

// Run in the page before its own script: four pads behind navigator.getGamepads
// (window.pad plugs one in or out, window.padButton and window.padAxes move
// it), a document that can be hidden and shown (window.hide), and the clock:
// performance.now, the timers and the animation frames stand still but for
// window.advance(ms), which runs what falls due in order; window.settled()
// waits for the browser's own rendering steps (a resize's), in real time.
function fakeWorld() {
  let now = performance.now();
  const timers = new Map();
  let next = 0;
  const frame = window.requestAnimationFrame.bind(window);
  performance.now = () => now;
  const set = (f, ms, every) => {
    timers.set(++next, { f, at: now + Math.max(0, Number(ms) || 0), every });
    return next;
  };
  window.setTimeout = (f, ms) => set(f, ms, 0);
  window.setInterval = (f, ms) => set(f, ms, Math.max(1, Number(ms) || 0));
  window.clearTimeout = window.clearInterval = (id) => timers.delete(id);
  window.requestAnimationFrame = (f) => set(() => f(now), 16, 0);
  window.cancelAnimationFrame = (id) => timers.delete(id);
  window.advance = (ms) => {
    const end = now + ms;
    for (;;) {
      let due = null;
      for (const [id, timer] of timers) if (timer.at <= end && (!due || timer.at < due[1].at)) due = [id, timer];
      if (!due) break;
      const [id, timer] = due;
      now = Math.max(now, timer.at);
      if (timer.every) timer.at += timer.every;
      else timers.delete(id);
      timer.f();
    }
    now = end;
  };
  window.settled = () => new Promise((resolve) => frame(() => frame(resolve)));

  const pads = Array.from({ length: 4 }, (_, index) => ({
    id: `Storm pad ${index}`, index, connected: false, mapping: index === 3 ? '' : 'standard', timestamp: 0,
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })), axes: [0, 0, 0, 0],
  }));
  Object.defineProperty(Navigator.prototype, 'getGamepads', {
    configurable: true, value: () => pads.map((p) => (p.connected ? p : null)),
  });
  window.pad = (i, connected) => {
    pads[i].connected = connected;
    window.dispatchEvent(Object.assign(new Event(connected ? 'gamepadconnected' : 'gamepaddisconnected'), { gamepad: pads[i] }));
  };
  window.padButton = (i, b, value) => { pads[i].buttons[b] = { pressed: value > 0.5, touched: value > 0, value }; };
  window.padAxes = (i, x, y) => { pads[i].axes = [x, y, 0, 0]; };
  let hidden = false;
  Object.defineProperty(Document.prototype, 'hidden', { configurable: true, get: () => hidden });
  Object.defineProperty(Document.prototype, 'visibilityState', { configurable: true, get: () => (hidden ? 'hidden' : 'visible') });
  window.hide = (h) => {
    hidden = h;
    document.dispatchEvent(new Event('visibilitychange'));
  };
}

// The storm's kinds of event, each with its weight: the keyboard and the focus.
function keyStorms(page, cdp, rng) {
  const held = new Set();
  const synthetic = (type, key, code, repeat) => page.evaluate(([t, k, c, r, mods]) => {
    window.dispatchEvent(new KeyboardEvent(t, { key: k, code: c, repeat: r, ...mods, bubbles: true, cancelable: true }));
  }, [type, key, code, repeat, { ctrlKey: rng.chance(0.05), altKey: rng.chance(0.05), metaKey: rng.chance(0.03) }]);
  return [
    ['a key', 8, async () => {
      const key = rng.chance(0.1) ? rng.pick(odd) : rng.pick(keys);
      const code = rng.chance(0.1) ? rng.pick(odd) : rng.pick(codes);
      const down = rng.chance(0.6);
      await synthetic(down ? 'keydown' : 'keyup', key, code, down && rng.chance(0.3));
      return `${down ? 'down' : 'up'} ${JSON.stringify(key)} ${JSON.stringify(code)}`;
    }],
    ['a trusted key', 6, async () => {
      const key = rng.pick(trusted);
      if (held.has(key) && rng.chance(0.6)) {
        held.delete(key);
        await page.keyboard.up(key);
        return `up ${key}`;
      }
      held.add(key);
      await page.keyboard.down(key);  // again while held: a repeat
      return `down ${key}`;
    }],
    ['focus', 2, async () => {
      const lost = rng.chance(0.5);
      await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: !lost });
      await page.evaluate((l) => window.dispatchEvent(new Event(l ? 'blur' : 'focus')), lost);
      return lost ? 'lost' : 'back';
    }],
  ];
}

// The mouse anywhere, and fingers on the screen: the browser may drop a touch
// outside it and leave its sender waiting for ever.
function pointerStorms(page, cdp, rng, screen) {
  let nextFinger = 1;
  const spot = () => ({ x: rng.below(1200) - 100, y: rng.below(1200) - 100 });
  const onScreen = () => ({ x: rng.below(screen.view.width), y: rng.below(screen.view.height) });
  const touchPoints = () => [...screen.fingers.entries()].map(([id, p]) => ({ ...p, id }));
  return [
    ['the mouse', 6, async () => {
      const { x, y } = spot();
      const what = rng.pick(['move', 'down', 'up', 'click']);
      await page.mouse.move(x, y);
      const button = rng.pick(['left', 'left', 'right', 'middle']);
      if (what === 'down') await page.mouse.down({ button });
      if (what === 'up') await page.mouse.up({ button });
      if (what === 'click') await page.mouse.click(x, y, { button });
      return `${what} ${button} at ${x},${y}`;
    }],
    ['fingers', 6, async () => {
      let type;
      if (screen.fingers.size < 5 && (screen.fingers.size === 0 || rng.chance(0.4))) {
        screen.fingers.set(nextFinger++, onScreen());
        type = 'touchStart';
      } else if (rng.chance(0.5)) {
        for (const id of screen.fingers.keys()) if (rng.chance(0.6)) screen.fingers.set(id, onScreen());
        type = 'touchMove';
      } else {
        type = rng.chance(0.2) ? 'touchCancel' : 'touchEnd';
        const gone = rng.pick([...screen.fingers.keys()]);
        screen.fingers.delete(gone);
        if (type === 'touchCancel') screen.fingers.clear();
      }
      await cdp.send('Input.dispatchTouchEvent', { type, touchPoints: touchPoints() });
      return `${type}, ${screen.fingers.size} fingers`;
    }],
  ];
}

// Pads, the screen's size and pixel ratio, the page hidden and shown, and time.
function worldStorms(page, cdp, rng, screen) {
  return [
    ['a pad', 5, async () => {
      const pad = rng.below(4);
      const what = rng.pick(['plug', 'unplug', 'button', 'button', 'axes']);
      await page.evaluate(([p, w, b, v, x, y]) => {
        if (w === 'plug' || w === 'unplug') window.pad(p, w === 'plug');
        else if (w === 'button') window.padButton(p, b, v);
        else window.padAxes(p, x, y);
      }, [pad, what, rng.below(17), rng.pick([0, 0, 1, 1, 0.3, 0.7]), rng.next() * 2.2 - 1.1, rng.next() * 2.2 - 1.1]);
      return `${what} pad ${pad}`;
    }],
    ['a size', 2, async () => {
      // Mostly a window's sizes, now and then an extreme one.
      const length = () => (rng.chance(0.2) ? rng.pick([1, 2, 3, 4000]) : Math.round(Math.exp(rng.next() * Math.log(4000))));
      const width = length();
      const height = length();
      let ratio = rng.pick([1, 1, 0.5, 0.75, 1.25, 1.5, 2, 2.625, 3]);
      if (Math.max(width, height) * ratio > 4000) ratio = 1;  // a canvas larger than 4000 pixels a side is no screen
      // Fingers on the screen stay on it.
      if (screen.fingers.size > 0) await cdp.send('Input.dispatchTouchEvent', { type: 'touchCancel', touchPoints: [] });
      screen.fingers.clear();
      await cdp.send('Emulation.setDeviceMetricsOverride',
        { width, height, deviceScaleFactor: ratio, mobile: rng.chance(0.3) });
      await page.evaluate(() => window.settled());
      Object.assign(screen.view, { width, height });
      return `${width} x ${height} at ${ratio}x`;
    }],
    ['sight', 2, async () => {
      const hidden = rng.chance(0.5);
      await page.evaluate((h) => window.hide(h), hidden);
      return hidden ? 'hidden' : 'shown';
    }],
    ['time', 4, async () => {
      const ms = rng.below(80);
      await page.evaluate((t) => window.advance(t), ms);
      return `${ms} ms`;
    }],
  ];
}

// One event of the storm, through the page, the mouse, CDP or the fakes.
function storms(page, cdp, rng) {
  const screen = { view: { width: 415, height: 543 }, fingers: new Map() };
  return [...keyStorms(page, cdp, rng), ...pointerStorms(page, cdp, rng, screen), ...worldStorms(page, cdp, rng, screen)];
}

// The state after an event: the first broken rule, and the canvas's size against the game's.
const look = (page) => page.evaluate(() => {
  const canvas = document.querySelector('canvas');
  const [w, h] = tessalyProof.size();
  const size = canvas.width === w && canvas.height === h ? '' : `canvas ${canvas.width} x ${canvas.height}, game ${w} x ${h}`;
  return { violation: tessalyProof.violation(), size, frames: tessaly.frames() };
});

test(`the page under ${seconds} s of storms (seed ${seed})`, { timeout: (seconds + 60) * 1000, ...needs('devtools') }, async () => {
  const command = 'node tests/web/run.mjs chromium tests/web/fuzz.test.mjs';
  let replay = `replay: TESSALY_PAGE_FUZZ_SEED=${seed} ${command}`;
  console.log(`seed ${seed} (${replay})`);
  const site = await serveProof();
  const browser = await launchChromium();
  try {
    const context = await browser.newContext({ viewport: { width: 415, height: 543 }, hasTouch: true });
    await context.addInitScript(fakeWorld);
    const page = await openProof(context, site.url);
    const cdp = await context.newCDPSession(page);
    const rng = generator(seed);
    const kinds = storms(page, cdp, rng);
    const weights = kinds.reduce((sum, [, w]) => sum + w, 0);
    const recent = [];
    let events = 0;
    for (const end = Date.now() + seconds * 1000; Date.now() < end && events < most; ++events) {
      replay = `replay: TESSALY_PAGE_FUZZ_SEED=${seed} TESSALY_PAGE_FUZZ_EVENTS=${events + 1} ${command}`;
      let roll = rng.below(weights);
      const [name, , act] = kinds.find(([, w]) => (roll -= w) < 0);
      // A page that stops answering is a finding too.
      let hung;
      const stuck = new Promise((resolve) => { hung = setTimeout(() => resolve('did not finish in 10 s'), 10_000); });
      recent.push(`${name}: ${await Promise.race([act(), stuck])}`);
      clearTimeout(hung);
      if (recent.length > 12) recent.shift();
      assert.ok(!recent.at(-1).endsWith('in 10 s'), `event ${events} hung\nthe last events:\n  ${recent.join('\n  ')}\n${replay}`);
      const seen = await look(page);
      const finding = seen.violation || seen.size || page.messages.join('; ');
      assert.equal(finding, '', `event ${events}, ${finding}\nthe last events:\n  ${recent.join('\n  ')}\n${replay}`);
    }
    // The same seed and count of events give the same figures: the page ran on the test's clock.
    console.log(`${events} events; the game ticked ${await page.evaluate(() => `${tessalyProof.ticks(1)} + ${tessalyProof.ticks(2)}`)} `
      + `times and showed ${(await look(page)).frames} frames`);
    // At the end the game still answers a key: shown, focused, of a usual size, nothing held, F1 and F2
    // step the pattern. Only they redraw the bricks so: the pattern after F1, F2 and F1 again is the
    // same, and the one between differs.
    await cdp.send('Emulation.setFocusEmulationEnabled', { enabled: true });
    await cdp.send('Emulation.setDeviceMetricsOverride', { width: 415, height: 543, deviceScaleFactor: 1, mobile: false });
    // (Refused when no finger is on the screen.)
    await cdp.send('Input.dispatchTouchEvent', { type: 'touchCancel', touchPoints: [] }).catch(() => {});
    await page.evaluate(() => {
      window.hide(false);
      window.dispatchEvent(new Event('blur'));
      for (let i = 0; i < 4; ++i) window.pad(i, false);
    });
    const bricks = async (key) => {
      const before = (await look(page)).frames;
      await page.keyboard.press(key);
      await until(async () => (await look(page)).frames > before, `the game answered ${key} (${replay})`);
      // From the screen: reading the canvas back again and again costs the page a warning.
      return (await page.screenshot({ clip: { x: 88, y: 216, width: 240, height: 240 } })).toString('base64');
    };
    const next = await bricks('F1');
    assert.notEqual(await bricks('F2'), next, `F2 changed the pattern (${replay})`);
    assert.equal(await bricks('F1'), next, `F1 changed the pattern back (${replay})`);
    assert.deepEqual(page.messages, [], replay);
  } finally {
    await browser.close();
    site.server.close();
  }
});

// The page's ticker on a virtual clock: on the timers' beat it wakes the page
// by one repeating timer, never before a tick is due, and falls back to a
// timer per wake off the beat.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { makeTicker } from '../../src/frontend/web/page/ticker.js';
import { generator } from './seeded.mjs';

// Timers as a browser keeps them: a repeating one on its own beat, skipping
// the beats a stall made it miss, or (`drifting`) counting each interval from
// its last wake. `now` moves only by `run`.
function virtualBrowser(drifting = false) {
  const timers = new Map();
  let id = 0;
  const host = {
    now: () => browser.now,
    setTimeout: (f, ms) => (timers.set(++id, { f, at: browser.now + ms, every: 0 }), id),
    setInterval: (f, ms) => (timers.set(++id, { f, at: browser.now + ms, every: ms }), id),
    clearTimeout: (t) => timers.delete(t),
    clearInterval: (t) => timers.delete(t),
  };
  const browser = {
    now: 0.3, set: 0, host,
    run(until, lateBy = () => 0) {
      for (;;) {
        const [key, next] = [...timers].sort((a, b) => a[1].at - b[1].at)[0] ?? [];
        if (!next || next.at > until) break;
        browser.now = next.at + lateBy();
        if (next.every && drifting) next.at = browser.now + next.every;
        else if (next.every) next.at += (Math.floor((browser.now - next.at) / next.every) + 1) * next.every;
        else timers.delete(key);
        next.f();
      }
      browser.now = Math.max(browser.now, until);
    },
  };
  for (const name of ['setTimeout', 'setInterval']) {
    const set = host[name];
    host[name] = (f, ms) => (++browser.set, set(f, ms));
  }
  return browser;
}

// The engine's two timers on one beat, on its clock of whole milliseconds.
function engine(browser, beat = 25) {
  const game = { due: Math.floor(browser.now) + beat, ticks: 0, early: 0, beat };
  game.wait = () => Math.max(0, game.due - Math.floor(browser.now));
  game.tick = () => {
    const now = Math.floor(browser.now);
    if (now < game.due) ++game.early;
    else {
      ++game.ticks;
      game.due += (Math.floor((now - game.due) / beat) + 1) * beat;
    }
    return game.wait();
  };
  return game;
}

test('on the beat one repeating timer wakes every tick, never early, through key events and a stall', () => {
  const browser = virtualBrowser();
  const game = engine(browser);
  const ticker = makeTicker(() => ticker.schedule(game.tick(), game.beat), browser.host);
  ticker.schedule(game.wait(), game.beat);
  // The browser's lateness, the same on every run.
  const late = generator(37);
  for (let t = 37; t < 10_000; t += 37) {
    browser.run(t, () => late.next() * 0.9);
    ticker.schedule(game.wait(), game.beat);  // a key event between ticks
  }
  assert.equal(game.early, 0);
  assert.ok(game.ticks >= 399 && game.ticks <= 400, `${game.ticks} ticks in 10 s`);
  assert.equal(browser.set, 2, 'one timeout to reach the beat, one repeating timer');

  // A stall of 200 ms: one tick, then the old rhythm, without setting a timer again.
  browser.run(10_000 + 200, () => 0);
  const before = game.ticks;
  browser.now += 0.2;
  browser.run(11_000, () => 0.5);
  assert.equal(game.early, 0);
  assert.ok(game.ticks - before >= 31 && game.ticks - before <= 33, `${game.ticks - before} ticks`);
  assert.equal(browser.set, 2);
});

test('off the beat, a wait of its own; no timer runs: nothing is set', () => {
  const browser = virtualBrowser();
  const game = engine(browser);
  const ticker = makeTicker(() => ticker.schedule(game.tick(), 0), browser.host);
  ticker.schedule(game.wait(), 0);
  browser.run(1001);
  assert.equal(game.ticks, 40);
  assert.equal(browser.set, 41);
  // The timers restarted at another moment: the beat is set again.
  ticker.schedule(7, game.beat);
  assert.equal(browser.set, 42);
  ticker.schedule(-1, 0);
  assert.equal(ticker.running(), false);
  browser.run(2000);
  assert.equal(game.ticks, 40);
});

test('a browser whose repeating timer drifts loses no tick: its beat is set again', () => {
  const browser = virtualBrowser(true);
  const game = engine(browser);
  const ticker = makeTicker(() => ticker.schedule(game.tick(), game.beat), browser.host);
  ticker.schedule(game.wait(), game.beat);
  browser.run(10_000, () => 0.7);
  assert.equal(game.early, 0);
  assert.ok(game.ticks >= 399, `${game.ticks} ticks in 10 s`);
  assert.ok(browser.set < 200, `${browser.set} timers set`);
});

// The page played for minutes by the automatic player (the proof build), as
// tessaly-live plays the desktop window: the game's rules hold after every
// event, each timer ticks 40 +- 1 times a second, the JavaScript heap, the
// WebAssembly memory and the DOM stay flat after the first minute (less than
// 1 MiB of growth, no node more), and nothing reaches the console.
// TESSALY_PAGE_SOAK_MINUTES sets the length (2; at least 2).

import assert from 'node:assert/strict';
import { test } from 'node:test';
import { launchChromium, needs } from './browser.mjs';
import { footprint, openProof, serveProof } from './proof.mjs';

const minutes = Math.max(2, Number(process.env.TESSALY_PAGE_SOAK_MINUTES ?? 2));
const sampleEvery = 15_000;
const settle = 60_000;
const MiB = 1024 * 1024;

test(`the page played ${minutes} minutes by the automatic player stays flat`, { timeout: (minutes + 2) * 60_000, ...needs('devtools') },
  async () => {
    const site = await serveProof();
    const browser = await launchChromium();
    try {
      const page = await openProof(await browser.newContext({ viewport: { width: 415, height: 543 } }), site.url);
      const cdp = await page.context().newCDPSession(page);
      await cdp.send('Performance.enable');
      const count = () => page.evaluate(() => ({
        at: performance.now(), ticks: [tessalyProof.ticks(1), tessalyProof.ticks(2)], frames: tessaly.frames(),
        checks: tessalyProof.checks(), violation: tessalyProof.violation(),
      }));
      // Every 5th ball let go, so that games end and begin anew.
      await page.evaluate(() => tessalyProof.autoplay(5));
      const begin = await count();
      let stretch = begin;
      let settled;
      const highest = { heap: 0, nodes: 0, wasm: 0 };
      const stretches = [];
      for (let elapsed = 0; elapsed < minutes * 60_000;) {
        await page.waitForTimeout(sampleEvery);
        const now = await count();
        const use = await footprint(page, cdp);
        elapsed = now.at - begin.at;
        const rates = now.ticks.map((t, i) => (t - stretch.ticks[i]) * 1000 / (now.at - stretch.at));
        console.log(`at ${(elapsed / 1000).toFixed(0)} s: heap ${(use.heap / 1024).toFixed(0)} KiB, wasm `
          + `${use.wasm / 1024} KiB, ${use.nodes} nodes, Timer1 ${rates[0].toFixed(2)}/s, Timer2 ${rates[1].toFixed(2)}/s, `
          + `${now.frames - stretch.frames} frames, ${now.checks} checks`);
        assert.equal(now.violation, '');
        if (elapsed >= settle) {
          settled ??= use;
          for (const k of Object.keys(highest)) highest[k] = Math.max(highest[k], use[k]);
          stretches.push(rates);
        }
        stretch = now;
      }
      const end = await count();
      const wall = (end.at - begin.at) / 1000;
      const rates = end.ticks.map((t, i) => (t - begin.ticks[i]) / wall);
      console.log(`soak: ${wall.toFixed(0)} s, Timer1 ${rates[0].toFixed(2)}/s, Timer2 ${rates[1].toFixed(2)}/s, `
        + `${end.frames - begin.frames} frames; after the first minute heap +${highest.heap - settled.heap} B, `
        + `wasm +${highest.wasm - settled.wasm} B, nodes +${highest.nodes - settled.nodes}`);
      for (const rate of rates) assert.ok(Math.abs(rate - 40) <= 1, `${rate.toFixed(2)} ticks a second over the run`);
      for (const [i, r] of stretches.entries()) {
        for (const rate of r) assert.ok(Math.abs(rate - 40) <= 1, `${rate.toFixed(2)} ticks a second in stretch ${i}`);
      }
      assert.ok(highest.heap - settled.heap < MiB, 'the JavaScript heap grew');
      assert.ok(highest.wasm - settled.wasm < MiB, 'the WebAssembly memory grew');
      assert.equal(highest.nodes, settled.nodes, 'the page made nodes');
      assert.deepEqual(page.messages, []);
    } finally {
      await browser.close();
      site.server.close();
    }
  });

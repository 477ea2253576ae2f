// The page's proof build (build-web/proof/): the shipped page over an engine
// that checks the game's rules after every event, counts each timer's ticks
// and can hand the keys to the automatic player, as `window.tessalyProof`.
// Every message the page writes to its console is kept: none is expected.

import { join } from 'node:path';
import { root, serveSite } from './browser.mjs';

export const serveProof = () => serveSite(join(root, 'build-web', 'proof'));

// Opens the proof page in `context` and waits for its first frame.
export async function openProof(context, url) {
  const page = await context.newPage();
  page.messages = [];
  page.on('console', (m) => page.messages.push(`${m.type()}: ${m.text()}`));
  page.on('pageerror', (e) => page.messages.push(`uncaught: ${e.message}`));
  await page.goto(url);
  await page.waitForFunction(() => window.tessaly?.frames() > 0 && window.tessalyProof);
  return page;
}

// The page's JavaScript heap after a full collection, its DOM nodes, and the
// engine's WebAssembly memory, in bytes and nodes.
export async function footprint(page, cdp) {
  await cdp.send('HeapProfiler.collectGarbage');
  const metrics = Object.fromEntries((await cdp.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));
  return { heap: metrics.JSHeapUsedSize, nodes: metrics.Nodes, wasm: await page.evaluate(() => tessalyProof.memory()) };
}

// The browser build's figures: the size of the site, the time from
// navigation to the first frame, and the page's main-thread CPU time (Chrome's
// own TaskDuration) over 10 s of play and 10 s paused, on a desktop and on a
// phone with the touch controls shown, beside a bare canvas page that redraws
// a moving square 40 times a second, in the same run. Screenshots of the
// opening frame at 1x and 2x, and of play on a phone held upright and on its
// side, go to the output folder.
// Usage: node tests/web/bench.mjs [site folder] [output folder]

import { mkdir, readFile, readdir, writeFile } from 'node:fs/promises';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { launch, openGame, root, serveSite } from './chromium.mjs';

const siteFolder = process.argv[2] ?? join(root, 'build-web', 'site');
const outFolder = process.argv[3] ?? join(root, 'build-web', 'bench');
const seconds = 10;

async function sizes() {
  const sizeOf = async (files) => {
    let raw = 0;
    let gzip = 0;
    for (const file of files) {
      const data = await readFile(file);
      raw += data.length;
      gzip += gzipSync(data, { level: 9 }).length;
    }
    return `${(raw / 1024).toFixed(1)} KiB raw, ${(gzip / 1024).toFixed(1)} KiB gzip`;
  };
  // The engine as the build makes it, before the page takes it in.
  const engine = join(siteFolder, '..', 'engine');
  const all = (await readdir(siteFolder, { recursive: true, withFileTypes: true }))
    .filter((e) => e.isFile()).map((e) => join(e.parentPath ?? e.path, e.name));
  console.log(`wasm:               ${await sizeOf([join(engine, 'tessaly.wasm')])}`);
  console.log(`wasm + JavaScript:  ${await sizeOf([join(engine, 'tessaly.wasm'), join(engine, 'tessaly.js')])}`);
  console.log(`the page:           ${await sizeOf([join(siteFolder, 'index.html')])} (its script, the engine and the faces inline)`);
  console.log(`the whole site:     ${await sizeOf(all)} (${all.length} files, licences and icons included)`);
}

// The page marks the first frame once the game has drawn it on the canvas;
// the browser's first contentful paint is when that frame reaches the screen.
async function firstFrames(browser, url) {
  const drawn = [];
  const painted = [];
  const pages = 15;  // a median of few pages swings with whatever else the machine does
  for (let i = 0; i < pages; ++i) {
    const context = await browser.newContext({ viewport: { width: 415, height: 543 } });
    const page = await openGame(context, url);
    drawn.push(await page.evaluate(() => performance.getEntriesByName('tessaly-first-frame')[0].startTime));
    painted.push(await page.evaluate(() => new Promise((resolve) => new PerformanceObserver((list) => {
      resolve(list.getEntriesByName('first-contentful-paint')[0]?.startTime ?? NaN);
    }).observe({ type: 'paint', buffered: true }))));
    await context.close();
  }
  const figures = (times) => {
    times.sort((a, b) => a - b);
    const at = (i) => times[i].toFixed(0);
    return `median ${at(pages >> 1)} ms, best ${at(0)} ms, worst ${at(pages - 1)} ms`;
  };
  console.log(`first frame after navigation: ${figures(drawn)} (${pages} fresh pages)`);
  console.log(`  and on the screen:          ${figures(painted)}`);
}

// The page's main-thread time over `seconds` while `act` runs, in ms.
async function cpu(page, act = async () => {}) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  const task = async () => (await cdp.send('Performance.getMetrics')).metrics
    .find((m) => m.name === 'TaskDuration').value;
  const start = await task();
  const frames = await page.evaluate(() => window.tessaly?.frames() ?? window.squares);
  const until = Date.now() + seconds * 1000;
  while (Date.now() < until) await act(until);
  const used = (await task() - start) * 1000;
  const shown = await page.evaluate(() => window.tessaly?.frames() ?? window.squares) - frames;
  return `${used.toFixed(0)} ms of CPU in ${seconds} s (${(used / seconds / 10).toFixed(2)} % of a core), ${shown} frames`;
}

const phone = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, hasTouch: true, isMobile: true };

// Serves now and again, so that the ball is in flight the whole time.
async function serve(page, until) {
  await page.keyboard.down('ArrowLeft');
  await page.waitForTimeout(50);
  await page.keyboard.up('ArrowLeft');
  await page.waitForTimeout(Math.min(1500, Math.max(0, until - Date.now())));
}

async function playAndPause(browser, url, options, what) {
  const context = await browser.newContext(options);
  const game = await openGame(context, url);
  console.log(`${what}, ball in flight: ${await cpu(game, (until) => serve(game, until))}`);
  await game.keyboard.press('p');
  console.log(`${what}, paused:         ${await cpu(game, (until) => game.waitForTimeout(until - Date.now()))}`);
  await context.close();
}

// Play on a phone held upright, then turned on its side, the ball in flight.
async function phoneShots(browser, url) {
  const context = await browser.newContext(phone);
  const page = await openGame(context, url);
  await serve(page, Date.now() + 700);
  await writeFile(join(outFolder, 'web-phone-upright.png'), await page.screenshot());
  await page.setViewportSize({ width: 844, height: 390 });
  await page.waitForFunction(() => document.querySelector('canvas').getBoundingClientRect().height <= 390);
  await serve(page, Date.now() + 300);
  await writeFile(join(outFolder, 'web-phone-side.png'), await page.screenshot());
  await context.close();
}

const barePage = (options) => `<!doctype html><title>bare</title><body style="margin:0;background:#000">
<canvas width="415" height="543"></canvas><script>
const ctx = document.querySelector('canvas').getContext('2d', ${options});
ctx.fillStyle = '#f0f0f0'; ctx.fillRect(0, 0, 415, 543);
let x = 0; window.squares = 0;
setInterval(() => {
  ctx.fillStyle = '#f0f0f0'; ctx.fillRect(x, 200, 16, 16);
  x = (x + 4) % 399;
  ctx.fillStyle = '#0000ff'; ctx.fillRect(x, 200, 16, 16);
  ++window.squares;
}, 25);
</script>`;

async function main() {
  await sizes();
  const site = await serveSite(siteFolder);
  const browser = await launch();
  try {
    await firstFrames(browser, site.url);

    await playAndPause(browser, site.url, { viewport: { width: 415, height: 543 } }, 'the game');
    await playAndPause(browser, site.url, phone, 'on a phone (390 x 844 at 3x, the touch controls shown)');

    // The bare page as most pages make their canvas, and with the game's own context settings.
    for (const options of ['{ alpha: false }', '{ alpha: false, desynchronized: true }']) {
      const bare = await browser.newPage({ viewport: { width: 415, height: 543 } });
      await bare.setContent(barePage(options));
      const used = await cpu(bare, (until) => bare.waitForTimeout(until - Date.now()));
      console.log(`a bare canvas ${options}, a square moved 40 times a second: ${used}`);
      await bare.close();
    }

    await mkdir(outFolder, { recursive: true });
    for (const ratio of [1, 2]) {
      const shots = await browser.newContext({ viewport: { width: 415, height: 543 }, deviceScaleFactor: ratio });
      const page = await openGame(shots, site.url);
      await writeFile(join(outFolder, `web-${ratio}x.png`), await page.screenshot());
      await shots.close();
    }
    await phoneShots(browser, site.url);
    console.log(`screenshots: ${join(outFolder, 'web-1x.png')}, web-2x.png, web-phone-upright.png, web-phone-side.png`);
  } finally {
    await browser.close();
    site.server.close();
  }
}

await main();

// The browser build's figures: the size of the site, the time from
// navigation to the first frame against a bare page that fills a canvas of
// the same size inline and against the floor (a page that readies the same
// engine and faces and draws nothing of the game), and the page's main-thread
// CPU time (Chrome's own TaskDuration) over 10 s of play and 10 s paused, on
// a desktop and on a phone with the touch controls shown, against a bare
// canvas page that redraws a moving square 40 times a second; the ratios
// printed, each from one run with the pages taken in turn. Screenshots of the
// opening frame at 1x and 2x, and of play on a phone held upright and on its
// side, go to the output folder. Last, Lighthouse's four scores for the page
// as served, on its emulated phone and throttled network, three runs, with
// every failing audit of accessibility, best practices and SEO and every
// performance opportunity that would save time or bytes.
// Usage: node tests/web/bench.mjs [--lighthouse] [site folder] [output folder]
// (--lighthouse: that step alone)

import { mkdir, readFile, readdir, writeFile } from 'node:fs/promises';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { launch as launchChrome } from 'chrome-launcher';
import lighthouse from 'lighthouse';
import { launchChromium as launch, root, serveSite } from './browser.mjs';

// The game in a new page of `context` (Chromium's, for its DevTools
// protocol), once its first frame is on the screen.
async function openGame(context, url) {
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.tessaly?.frames() > 0);
  return page;
}

const onlyLighthouse = process.argv.includes('--lighthouse');
const [siteArgument, outArgument] = process.argv.slice(2).filter((a) => a !== '--lighthouse');
const siteFolder = siteArgument ?? join(root, 'build-web', 'site');
const outFolder = outArgument ?? join(root, 'build-web', 'bench');
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

// A bare page of the opening frame's size whose inline script fills its
// canvas at once: the least a first paint from this server takes.
const bareFirst = `<!doctype html><title>bare</title><body style="margin:0;background:#000">
<canvas width="415" height="543"></canvas><script>
const ctx = document.querySelector('canvas').getContext('2d', { alpha: false, desynchronized: true });
ctx.fillStyle = '#f0f0f0'; ctx.fillRect(0, 0, 415, 543);
performance.mark('tessaly-first-frame');
</script>`;

// The least any page that carries this game can do before its first paint,
// and nothing of the game: the site's page's engine and faces, carried as the
// page carries them (copied from it), the WebAssembly compiled and set up with
// stand-ins for what it asks of the page, and each face that the opening frame
// shows (?faces=0,1,2) readied, measured and written once on a canvas filled inline.
const floorFirst = (page, faceTable) => `<!doctype html><title>floor</title><body style="margin:0;background:#000">
<canvas width="415" height="543"></canvas>
${page.match(/<script type="application\/octet-stream"[^>]*>[^<]*<\/script>/g).join('\n')}
<script>
const bytes = (base64) => {
  const text = atob(base64);
  const out = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) out[i] = text.charCodeAt(i);
  return out;
};
const ctx = document.querySelector('canvas').getContext('2d', { alpha: false, desynchronized: true });
const engine = new WebAssembly.Module(bytes(document.getElementById('tessaly-engine').textContent));
const imports = {};
for (const { module, name } of WebAssembly.Module.imports(engine)) (imports[module] ??= {})[name] = () => 0;
new WebAssembly.Instance(engine, imports);
ctx.fillStyle = '#f0f0f0';
ctx.fillRect(0, 0, 415, 543);
const data = bytes(document.getElementById('tessaly-faces').textContent);
const table = ${JSON.stringify(faceTable)};
const shown = new URLSearchParams(location.search).get('faces').split(',').filter(Boolean).map(Number);
ctx.fillStyle = '#000';
shown.forEach((index, row) => {
  const face = table[index];
  const font = new FontFace('floor-' + index, data.subarray(face.at, face.at + face.bytes), { weight: face.bold ? '700' : '400' });
  document.fonts.add(font);
  ctx.font = (face.bold ? 'bold ' : '') + '20px floor-' + index;
  ctx.measureText('141');
  ctx.fillText('141', 20, 30 + 30 * row);
});
performance.mark('tessaly-first-frame');
</script>`;

// A bare page moving a square 40 times a second on a canvas of the game's
// size: the least a frame of play costs.
const bareMoving = (options) => `<!doctype html><title>bare</title><body style="margin:0;background:#000">
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

const gameSettings = '{ alpha: false, desynchronized: true }';
const barePages = {
  '/bare-first.html': bareFirst,
  '/bare-moving.html': bareMoving(gameSettings),
  '/bare-moving-plain.html': bareMoving('{ alpha: false }'),
};

const median = (list) => [...list].sort((a, b) => a - b)[list.length >> 1];
const figures = (list) => {
  const sorted = [...list].sort((a, b) => a - b);
  return `median ${median(list).toFixed(0)} ms, best ${sorted[0].toFixed(0)} ms, worst ${sorted.at(-1).toFixed(0)} ms`;
};

// The page marks the first frame once the game has drawn it on the canvas;
// the browser's first contentful paint is when that frame reaches the screen.
// Each fresh page of the game is followed by a fresh floor page and a fresh
// bare page.
async function firstFrames(browser, url) {
  const game = { drawn: [], painted: [] };
  const floor = { drawn: [], painted: [] };
  const bare = { drawn: [], painted: [] };
  let faces = '';
  const pages = 15;  // a median of few pages swings with whatever else the machine does
  const open = async (address, ready, into) => {
    const context = await browser.newContext({ viewport: { width: 415, height: 543 } });
    const page = await context.newPage();
    await page.goto(address);
    await page.waitForFunction(ready);
    // The faces the opening frame readied, each under the name the page gives it.
    if (into === game) {
      faces = await page.evaluate(() => [...document.fonts].filter((font) => font.status === 'loaded')
        .map((font) => font.family.replace(/^"?tessaly-(\d+)"?$/, '$1')).join(','));
    }
    // A page may be ready before its frame is on the screen.
    await page.waitForFunction(() => performance.getEntriesByName('first-contentful-paint').length > 0);
    into.drawn.push(await page.evaluate(() => performance.getEntriesByName('tessaly-first-frame')[0].startTime));
    into.painted.push(await page.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0].startTime));
    await context.close();
  };
  for (let i = 0; i < pages; ++i) {
    await open(url, () => window.tessaly?.frames() > 0, game);
    await open(`${url}floor-first.html?faces=${faces}`, () => true, floor);
    await open(`${url}bare-first.html`, () => true, bare);
  }
  console.log(`first frame after navigation: ${figures(game.drawn)} (${pages} fresh pages)`);
  console.log(`  and on the screen:          ${figures(game.painted)}`);
  console.log(`a bare canvas filled inline:  ${figures(bare.drawn)}, on the screen ${figures(bare.painted)}`);
  console.log(`the floor, the engine and the faces ${faces} readied, nothing of the game:`);
  console.log(`  ${figures(floor.drawn)}, on the screen ${figures(floor.painted)}`);
  const ratio = (a, b) => `${(median(a.painted) / median(b.painted)).toFixed(2)}x`;
  console.log(`first paint, the game / the bare canvas: ${ratio(game, bare)}; the floor / the bare canvas: `
    + `${ratio(floor, bare)}; the game / the floor: ${ratio(game, floor)}`);
}

// The page's main-thread time so far, in ms, as Chrome counts it (TaskDuration).
async function mainThread(page) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Performance.enable');
  return {
    time: async () => (await cdp.send('Performance.getMetrics')).metrics
      .find((m) => m.name === 'TaskDuration').value * 1000,
    detach: () => cdp.detach(),
  };
}

// The page's main-thread time over `seconds` while `act` runs, in ms, and the frames shown.
async function cpuOf(page, act) {
  const cpu = await mainThread(page);
  const count = () => page.evaluate(() => window.tessaly?.frames() ?? window.squares);
  const start = await cpu.time();
  const frames = await count();
  const until = Date.now() + seconds * 1000;
  while (Date.now() < until) await act(until);
  const used = await cpu.time() - start;
  const shown = await count() - frames;
  await cpu.detach();
  return { used, shown };
}

const idle = (page) => (until) => page.waitForTimeout(until - Date.now());
const said = ({ used, shown }) => `${used.toFixed(0)} ms of CPU in ${seconds} s (${(used / seconds / 10).toFixed(2)} % `
  + `of a core), ${shown} frames${shown ? `, ${(used / shown).toFixed(3)} ms a frame` : ''}`;

// Play in steps of 0.4 s, each a key that serves or steers, Left and Right
// in turn so that the paddles stay about the middle; a game over is met
// with Enter, which starts the next game. A step counts as play when every
// wake in it drew a frame, the ball in flight: a lost ball rests and draws
// nothing, and a game over has no wakes at all. Answers the main-thread
// time and the frames of the steps that count, and how many did.
async function playOf(page) {
  const cpu = await mainThread(page);
  const sample = async () => [await cpu.time(), ...await page.evaluate(() => (window.tessaly
    ? [window.tessaly.frames(), window.tessaly.wakeups(), window.tessaly.scheduled()]
    : [window.squares, window.squares, true]))];
  let [time, frames, wakes, running] = await sample();
  const play = { used: 0, shown: 0, steps: 0, counted: 0 };
  const until = Date.now() + seconds * 1000;
  while (Date.now() < until) {
    if (!running) await page.keyboard.press('Enter');
    const key = play.steps % 2 ? 'ArrowRight' : 'ArrowLeft';
    await page.keyboard.down(key);
    await page.waitForTimeout(50);
    await page.keyboard.up(key);
    await page.waitForTimeout(350);
    const [nowTime, nowFrames, nowWakes, nowRunning] = await sample();
    const woke = nowWakes - wakes;
    if (woke >= 10 && nowFrames - frames >= woke) {
      play.used += nowTime - time;
      play.shown += nowFrames - frames;
      ++play.counted;
    }
    ++play.steps;
    [time, frames, wakes, running] = [nowTime, nowFrames, nowWakes, nowRunning];
  }
  await cpu.detach();
  return play;
}
const played = ({ used, shown, steps, counted }) => `${counted} of ${steps} steps in play, ${shown} frames, `
  + `${used.toFixed(0)} ms of CPU, ${(used / shown).toFixed(3)} ms a frame`;

const phone = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, hasTouch: true, isMobile: true };

// Serves every 0.4 s, so that a lost ball is back in flight at once.
async function serve(page, until) {
  await page.keyboard.down('ArrowLeft');
  await page.waitForTimeout(50);
  await page.keyboard.up('ArrowLeft');
  await page.waitForTimeout(Math.min(350, Math.max(0, until - Date.now())));
}

// A frame of play against a frame of the bare page with the game's canvas
// settings: five rounds of each, taken in turn (three swung with the
// machine), each page measured once the collector is done with its start (3 s).
const settle = 3000;
async function frames(browser, url) {
  const game = [];
  const bare = [];
  for (let round = 0; round < 5; ++round) {
    const context = await browser.newContext({ viewport: { width: 415, height: 543 } });
    const page = await openGame(context, url);
    await page.waitForTimeout(settle);
    game.push(await playOf(page));
    if (round === 0) {
      await page.keyboard.press('p');
      console.log(`the game, paused:         ${said(await cpuOf(page, idle(page)))}`);
    }
    await context.close();
    const square = await browser.newPage({ viewport: { width: 415, height: 543 } });
    await square.goto(`${url}bare-moving.html`);
    await square.waitForTimeout(settle);
    // The same keys as the game gets, so that both pay for the same input.
    bare.push(await playOf(square));
    await square.close();
  }
  const perFrame = (list) => list.map(({ used, shown }) => used / shown);
  game.forEach((g, i) => console.log(`the game, ball in flight: ${played(g)}\n  the bare page ${gameSettings}: ${played(bare[i])}`));
  const ratio = median(perFrame(game)) / median(perFrame(bare));
  console.log(`a frame of play, the game / the bare page: ${median(perFrame(game)).toFixed(3)} ms / `
    + `${median(perFrame(bare)).toFixed(3)} ms = ${ratio.toFixed(2)}x`);
  const plain = await browser.newPage({ viewport: { width: 415, height: 543 } });
  await plain.goto(`${url}bare-moving-plain.html`);
  console.log(`the bare page { alpha: false }: ${said(await cpuOf(plain, idle(plain)))}`);
  await plain.close();
}

async function onPhone(browser, url) {
  const context = await browser.newContext(phone);
  const game = await openGame(context, url);
  const what = 'on a phone (390 x 844 at 3x, the touch controls shown)';
  console.log(`${what}, ball in flight: ${played(await playOf(game))}`);
  await game.keyboard.press('p');
  console.log(`${what}, paused:         ${said(await cpuOf(game, idle(game)))}`);
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

// Lighthouse as it comes (a mid-range phone, its simulated slow 4G and CPU),
// each run in a fresh Chromium of its own that chrome-launcher starts and
// ends. The scores of each run, then every audit of accessibility, best
// practices and SEO that fails, and every performance opportunity that would
// save time or bytes, with the runs it showed in.
async function lighthouseScores(url) {
  const runs = 3;
  const categories = ['performance', 'accessibility', 'best-practices', 'seo'];
  const short = new Map();
  for (let run = 1; run <= runs; ++run) {
    const chrome = await launchChrome({
      chromePath: process.env.TESSALY_CHROMIUM ?? '/usr/bin/chromium',
      chromeFlags: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run'],
    });
    let lhr;
    try {
      ({ lhr } = await lighthouse(url, { port: chrome.port, logLevel: 'error', onlyCategories: categories }));
    } finally {
      await chrome.kill();
    }
    if (lhr.runtimeError) throw new Error(`Lighthouse: ${lhr.runtimeError.code} ${lhr.runtimeError.message}`);
    const metric = (id) => lhr.audits[id].displayValue;
    console.log(`Lighthouse run ${run}: ${categories.map((c) => `${lhr.categories[c].title} `
      + `${Math.round(lhr.categories[c].score * 100)}`).join(', ')} (FCP ${metric('first-contentful-paint')}, `
      + `LCP ${metric('largest-contentful-paint')}, TBT ${metric('total-blocking-time')}, `
      + `CLS ${metric('cumulative-layout-shift')}, SI ${metric('speed-index')})`);
    for (const category of categories) {
      for (const { id } of lhr.categories[category].auditRefs) {
        const audit = lhr.audits[id];
        const savings = audit.details?.type === 'opportunity'
          && (audit.details.overallSavingsMs > 0 || audit.details.overallSavingsBytes > 0);
        const failing = category === 'performance' ? savings
          : audit.score !== null && audit.score < 1 && !['notApplicable', 'manual', 'informative']
            .includes(audit.scoreDisplayMode);
        if (!failing) continue;
        const key = `${category}: ${audit.title}`;
        short.set(key, [...short.get(key) ?? [], `run ${run}${audit.displayValue ? ` ${audit.displayValue}` : ''}`]);
      }
    }
  }
  for (const [key, seen] of short) console.log(`  ${key}: ${seen.join('; ')}`);
  if (short.size === 0) console.log('  no failing audit, no opportunity with savings');
}

async function main() {
  if (!onlyLighthouse) await sizes();
  const page = await readFile(join(siteFolder, 'index.html'), 'utf8');
  // The table of faces as the build writes it, before the page takes it in.
  const faceTable = new Function(`return ${await readFile(join(siteFolder, '..', 'faces.js'), 'utf8')}`)();
  const site = await serveSite(siteFolder, { ...barePages, '/floor-first.html': floorFirst(page, faceTable) });
  try {
    if (!onlyLighthouse) {
      const browser = await launch();
      try {
        await firstFrames(browser, site.url);
        await frames(browser, site.url);
        if (process.env.TESSALY_BENCH_QUICK) return;
        await onPhone(browser, site.url);

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
      }
    }
    await lighthouseScores(site.url);
  } finally {
    site.server.close();
  }
}

await main();

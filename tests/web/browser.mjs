// The browser the page's tests run in, behind one small seam, so that the
// same test files prove the page in each engine: Debian's Chromium
// (playwright-core), Firefox ESR (puppeteer-core over WebDriver BiDi) and
// WebKitGTK's MiniBrowser, the engine of Safari (selenium-webdriver over
// classic WebDriver, on an X display). TESSALY_BROWSER names the engine
// (chromium). None of the three downloads a browser of its own.
//
// A tab opens at a size and pixel ratio, takes keys, the mouse and (where
// the engine has them) fingers, evaluates functions in the page, takes
// screenshots and hears the page's errors. A test that needs more than an
// engine can do says so by name (`needs`): it is skipped there with the
// reason, and run.mjs counts it.

import { after, before } from 'node:test';
import { spawn } from 'node:child_process';
import { mkdir, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { serve } from '../../tools/web-serve/serve.mjs';

export const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');

const chromiumFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// What a test may need beyond keys, the mouse, evaluating and screenshots,
// and why an engine cannot give it here.
const lacks = {
  chromium: {},
  firefox: {
    devtools: 'the DevTools protocol is Chromium\'s',
  },
  webkit: {
    touch: 'WebKitWebDriver on GTK turns a finger into the mouse',
    fractional: 'WebKitGTK scales a screen by whole numbers only',
    devtools: 'the DevTools protocol is Chromium\'s',
  },
};

export const engine = process.env.TESSALY_BROWSER ?? 'chromium';
if (!Object.hasOwn(lacks, engine)) throw new Error(`TESSALY_BROWSER=${engine}: chromium, firefox or webkit`);

/**
 * Options for a test that needs `abilities` ('touch': fingers on a touch
 * screen; 'fractional': a device pixel ratio such as 1.5; 'devtools':
 * Chromium's DevTools protocol): skipped, with the reason, where the engine
 * lacks one.
 */
export function needs(...abilities) {
  const missing = abilities.filter((a) => lacks[engine][a]).map((a) => `needs ${a}: ${lacks[engine][a]}`);
  return missing.length ? { skip: missing.join('; ') } : {};
}

// A free port on 127.0.0.1.
function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer().listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    }).on('error', reject);
  });
}

// Keys by the names the tests use (as Playwright and puppeteer name them), as
// classic WebDriver codes them.
const webdriverKeys = {
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015', Enter: '\uE007', Space: ' ',
  Escape: '\uE00C', Shift: '\uE008', Control: '\uE009', Alt: '\uE00A', Meta: '\uE03D', F1: '\uE031', F2: '\uE032',
};

// The mouse's buttons as classic WebDriver numbers them.
const mouseButtons = { left: 0, middle: 1, right: 2 };

// puppeteer names the space bar by its character.
const puppeteerKeys = { Space: ' ' };

// Run in the page ahead of its own script where the browser's console cannot
// be heard: its uncaught errors and console errors are kept for the test.
function keepErrors() {
  window.tessalyErrors = [];
  const error = console.error.bind(console);
  console.error = (...args) => {
    window.tessalyErrors.push(args.map(String).join(' '));
    error(...args);
  };
  window.addEventListener('error', (e) => window.tessalyErrors.push(e.message));
  window.addEventListener('unhandledrejection', (e) => window.tessalyErrors.push(String(e.reason?.message ?? e.reason)));
}

// --- Chromium -----------------------------------------------------------------

// Chromium as playwright-core drives it, for what only Chromium can do (the
// DevTools protocol: the page's soak and fuzz, the benchmark).
export async function launchChromium() {
  const { chromium: driver } = await import('playwright-core');
  return driver.launch({
    executablePath: process.env.TESSALY_CHROMIUM ?? '/usr/bin/chromium', headless: true, args: chromiumFlags,
  });
}

async function chromium() {
  const browser = await launchChromium();
  return {
    version: `Chromium ${browser.version()}`,
    close: () => browser.close(),
    async open(url, { width, height, ratio, touch, mobile }) {
      const context = await browser.newContext({
        viewport: { width, height }, deviceScaleFactor: ratio, hasTouch: touch, isMobile: mobile,
      });
      const page = await context.newPage();
      const errors = [];
      // The browser's own look for /favicon.ico beside a file that names no
      // icon (the tests visit an image) is no fault of the page's.
      page.on('console', (m) => {
        if (m.type() === 'error' && !m.location().url.endsWith('/favicon.ico')) errors.push(m.text());
      });
      page.on('pageerror', (e) => errors.push(e.message));
      await page.goto(url);
      let cdp = null;
      const devtools = async () => (cdp ??= await context.newCDPSession(page));
      // The touch screen takes every finger on it with each event.
      const fingers = new Map();
      const dispatch = async (type, points) => (await devtools()).send('Input.dispatchTouchEvent', { type, touchPoints: points });
      const on = () => [...fingers].map(([id, [x, y]]) => ({ id, x, y }));
      return {
        raw: { page, context, devtools },
        evaluate: (f, arg) => page.evaluate(f, arg),
        keyDown: (key) => page.keyboard.down(key),
        keyUp: (key) => page.keyboard.up(key),
        mouseMove: (x, y) => page.mouse.move(x, y),
        mouseDown: (button = 'left') => page.mouse.down({ button }),
        mouseUp: (button = 'left') => page.mouse.up({ button }),
        fingerDown: (id, x, y) => dispatch('touchStart', on(fingers.set(id, [x, y]))),
        fingerMove: (id, x, y) => dispatch('touchMove', on(fingers.set(id, [x, y]))),
        fingerUp: (id) => {
          const [x, y] = fingers.get(id);
          fingers.delete(id);
          return dispatch('touchEnd', [{ id, x, y }]);
        },
        screenshot: () => page.screenshot(),
        resize: (w, h) => page.setViewportSize({ width: w, height: h }),
        errors: async () => errors,
        close: () => context.close(),
      };
    },
  };
}

// --- Firefox ----------------------------------------------------------------

async function firefox() {
  const { default: puppeteer } = await import('puppeteer-core');
  const browser = await puppeteer.launch({
    browser: 'firefox', executablePath: process.env.TESSALY_FIREFOX ?? '/usr/bin/firefox-esr', headless: true,
  });
  return {
    version: (await browser.version()).replace(/^firefox\//i, 'Firefox '),
    close: () => browser.close(),
    async open(url, { width, height, ratio }) {
      const context = await browser.createBrowserContext();
      const page = await context.newPage();
      const errors = [];
      page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
      page.on('pageerror', (e) => errors.push(e.message));
      await page.setViewport({ width, height, deviceScaleFactor: ratio });
      await page.goto(url);
      const fingers = new Map();
      return {
        raw: { page, context },
        evaluate: (f, arg) => page.evaluate(f, arg),
        keyDown: (key) => page.keyboard.down(puppeteerKeys[key] ?? key),
        keyUp: (key) => page.keyboard.up(puppeteerKeys[key] ?? key),
        mouseMove: (x, y) => page.mouse.move(x, y),
        mouseDown: (button = 'left') => page.mouse.down({ button }),
        mouseUp: (button = 'left') => page.mouse.up({ button }),
        screenshot: () => page.screenshot(),
        fingerDown: async (id, x, y) => fingers.set(id, await page.touchscreen.touchStart(x, y)),
        fingerMove: (id, x, y) => fingers.get(id).move(x, y),
        fingerUp: async (id) => {
          await fingers.get(id).end();
          fingers.delete(id);
        },
        resize: (w, h) => page.setViewport({ width: w, height: h, deviceScaleFactor: ratio }),
        errors: async () => errors,
        close: () => context.close(),
      };
    },
  };
}

// --- WebKit -----------------------------------------------------------------

// WebKitWebDriver on a port of its own for each pixel ratio (GTK scales a
// screen by GDK_SCALE, a whole number); each tab is a session of its own, a
// MiniBrowser of its own, as fresh as a private window.
async function webkit() {
  const { Builder } = await import('selenium-webdriver');
  // MiniBrowser's toolbar holds its window at least 447 pixels wide, wider
  // than a phone or the game at 1x: a style sheet of the driver's own shrinks
  // it to nothing, so that the page can be any size.
  const config = await mkdtemp(join(tmpdir(), 'tessaly-webkit-'));
  await mkdir(join(config, 'gtk-3.0'));
  await writeFile(join(config, 'gtk-3.0', 'gtk.css'),
    '* { min-width: 0; min-height: 0; padding: 0; margin: 0; border-width: 0; font-size: 1px; }\n');
  const binary = process.env.TESSALY_MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
  const drivers = new Map();
  const session = async (scale) => {
    if (!drivers.has(scale)) {
      const port = await freePort();
      drivers.set(scale, {
        port,
        process: spawn(process.env.TESSALY_WEBKIT_DRIVER ?? 'WebKitWebDriver', [`--port=${port}`], {
          stdio: ['ignore', 'ignore', 'inherit'],
          env: { ...process.env, XDG_CONFIG_HOME: config, GDK_SCALE: String(scale) },
        }),
      });
    }
    // A driver takes a moment to listen.
    for (let tries = 0; ; ++tries) {
      try {
        return await new Builder().usingServer(`http://127.0.0.1:${drivers.get(scale).port}`).withCapabilities({
          browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary, args: ['--automation'] },
        }).build();
      } catch (error) {
        if (tries > 50) throw error;
        await new Promise((resolve) => setTimeout(resolve, 100));
      }
    }
  };
  const probe = await session(1);
  const version = `WebKitGTK ${(await probe.getCapabilities()).get('browserVersion')}`;
  await probe.quit();
  let current = null;
  return {
    version,
    async close() {
      await current?.quit().catch(() => {});
      for (const driver of drivers.values()) driver.process.kill();
      await rm(config, { recursive: true, force: true });
    },
    async open(url, { width, height, ratio }) {
      if (!Number.isInteger(ratio)) throw new Error(`WebKitGTK cannot show a pixel ratio of ${ratio}`);
      // A driver keeps one session at a time: a tab a failed test left open goes first.
      await current?.quit().catch(() => {});
      const driver = current = await session(ratio);
      await driver.manage().setTimeouts({ script: 60_000 });
      const evaluate = async (f, arg) => {
        const answer = await driver.executeAsyncScript(`const done = arguments[arguments.length - 1];
          Promise.resolve().then(() => (${f})(arguments[0])).then((value) => done({ value }),
            (error) => done({ error: String(error && error.stack || error) }));`, arg);
        if (answer.error) throw new Error(answer.error);
        return answer.value ?? undefined;
      };
      // The window's size less MiniBrowser's own bars is the page's; the
      // page hears of a new size a moment after the window has it.
      const resize = async (w, h) => {
        let want = { width: w, height: h };
        for (let tries = 0; tries < 4; ++tries) {
          await driver.manage().window().setRect(want);
          let inner = [0, 0];
          for (let reads = 0; reads < 50; ++reads) {
            const was = inner;
            inner = await evaluate(() => [innerWidth, innerHeight]);
            if (inner[0] === w && inner[1] === h) return;
            if (reads > 4 && inner[0] === was[0] && inner[1] === was[1]) break;
            await new Promise((resolve) => setTimeout(resolve, 20));
          }
          const rect = await driver.manage().window().getRect();
          want = { width: w + rect.width - inner[0], height: h + rect.height - inner[1] };
        }
        throw new Error(`MiniBrowser would not show the page at ${w} x ${h}`);
      };
      await driver.get('about:blank');
      await resize(width, height);
      await driver.get(url);
      const actions = () => driver.actions({ async: true });
      const key = (name) => webdriverKeys[name] ?? name;
      const mouse = { x: 0, y: 0 };
      return {
        raw: { driver },
        evaluate,
        keyDown: (name) => actions().keyDown(key(name)).perform(),
        keyUp: (name) => actions().keyUp(key(name)).perform(),
        mouseMove: (x, y) => {
          Object.assign(mouse, { x: Math.round(x), y: Math.round(y) });
          return actions().move({ x: mouse.x, y: mouse.y, origin: 'viewport', duration: 0 }).perform();
        },
        mouseDown: (button = 'left') => actions().press(mouseButtons[button]).perform(),
        mouseUp: (button = 'left') => actions().release(mouseButtons[button]).perform(),
        screenshot: async () => Buffer.from(await driver.takeScreenshot(), 'base64'),
        resize,
        errors: () => evaluate(() => window.tessalyErrors ?? []),
        async close() {
          current = null;
          await driver.quit();
        },
      };
    },
  };
}

const launchers = { chromium, firefox, webkit };

/**
 * The engine launched: `version`, `open(url, options)` and `close()`.
 * Tabs open through `openTab`, below.
 */
export function launch() {
  return launchers[engine]();
}

// The site at build-web/site/ (or the folder given) on a free port. Pages a
// test makes of the site's own (the page with a script of the test's ahead
// of the page's) are served beside it.
export async function serveSite(folder = join(root, 'build-web', 'site'), pages = {}) {
  const server = await serve(folder, 0, '127.0.0.1', pages);
  return { server, folder, pages, url: `http://127.0.0.1:${server.address().port}/` };
}

let made = 0;

/**
 * A tab of `browser` on the site's page, `width` x `height` CSS pixels at
 * `ratio`, with `touch` (a touch screen) and `mobile` (a phone's browser)
 * where the engine has them. Each function of `early` runs in the page ahead
 * of its own script, as a test's stand-ins must: the site serves, beside its
 * page, a copy with them at the top.
 */
export async function openTab(browser, site, {
  width = 415, height = 543, ratio = 1, touch = false, mobile = false, early = [], path = '',
} = {}) {
  const scripts = [...early];
  if (engine === 'webkit') scripts.unshift(keepErrors);
  let url = site.url + path;
  if (scripts.length) {
    const page = await readFile(join(site.folder, 'index.html'), 'utf8');
    const head = scripts.map((f) => `<script>(${f})();</script>`).join('\n');
    const name = `early-${++made}.html`;
    site.pages[`/${name}`] = page.replace('<head>', `<head>\n${head}`);
    url = site.url + name;
  }
  const tab = await browser.open(url, { width, height, ratio, touch, mobile });
  tab.url = url;
  tab.press = async (combination) => {
    const keys = combination.split('+');
    for (const key of keys) await tab.keyDown(key);
    for (const key of keys.reverse()) await tab.keyUp(key);
  };
  tab.click = async (x, y) => {
    await tab.mouseMove(x, y);
    await tab.mouseDown();
    await tab.mouseUp();
  };
  // A page on its way to another may not answer: asked again.
  tab.until = async (f, arg, what = String(f)) => {
    for (const deadline = Date.now() + 10_000; !(await tab.evaluate(f, arg).catch(() => false));) {
      if (Date.now() > deadline) throw new Error(`timed out waiting until ${what}`);
      await new Promise((resolve) => setTimeout(resolve, 25));
    }
  };
  return tab;
}

/** A tab on the game, once its first frame is on the screen. */
export async function openGame(browser, site, options = {}) {
  const tab = await openTab(browser, site, options);
  await tab.until(() => window.tessaly?.frames() > 0, undefined, 'the first frame is shown');
  // Firefox is told of no touch screen: as on a laptop with one, the page
  // learns of it from a first touch, here on the window's last pixel.
  if (options.touch && engine === 'firefox') {
    const [w, h] = await tab.evaluate(() => [innerWidth, innerHeight]);
    await tab.fingerDown(0, w - 1, h - 1);
    await tab.fingerUp(0);
    await tab.until(() => !document.getElementById('controls').hidden);
  }
  return tab;
}

// The site served and the engine launched once for a test file, both let go
// after its last test: `shared.site` and `shared.browser` while it runs.
export function servedAndLaunched(folder) {
  const shared = { site: null, browser: null };
  before(async () => {
    shared.site = await serveSite(folder);
    shared.browser = await launch();
  });
  after(async () => {
    await shared.browser?.close();
    shared.site?.server.close();
  });
  return shared;
}

// A fresh Chromium profile of its own, not private: as a player's, where a
// site can be installed as an app. The profile goes with the browser.
export async function launchChromiumProfile(contextOptions) {
  const { chromium: driver } = await import('playwright-core');
  const profile = await mkdtemp(join(tmpdir(), 'tessaly-chromium-'));
  const context = await driver.launchPersistentContext(profile, {
    executablePath: process.env.TESSALY_CHROMIUM ?? '/usr/bin/chromium', headless: true, args: chromiumFlags,
    ...contextOptions,
  });
  const close = context.close.bind(context);
  context.close = async () => {
    await close();
    await rm(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
  };
  return context;
}

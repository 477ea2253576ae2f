// Debian's Chromium, headless, driven by playwright-core (which downloads no
// browser of its own), and the built site served on a free port: what the
// browser tests and the benchmark share.

import { after, before } from 'node:test';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import { serve } from '../../tools/web-serve/serve.mjs';

export const root = join(dirname(fileURLToPath(import.meta.url)), '..', '..');

const options = {
  executablePath: process.env.TESSALY_CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
};

// Playwright starts it with a fresh profile (--user-data-dir) of its own;
// its contexts are private windows.
export function launch() {
  return chromium.launch(options);
}

// A browser on a fresh profile of its own, not private: as a player's, where
// a site can be installed as an app. The profile goes with the browser.
export async function launchProfile(contextOptions) {
  const profile = await mkdtemp(join(tmpdir(), 'tessaly-chromium-'));
  const context = await chromium.launchPersistentContext(profile, { ...options, ...contextOptions });
  // The browser may still be writing to it as it closes: a few tries.
  const close = context.close.bind(context);
  context.close = async () => {
    await close();
    await rm(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
  };
  return context;
}

// The site at build-web/site/ (or the folder given), at http://127.0.0.1:PORT/,
// with `pages` (path to HTML) beside it.
export async function serveSite(folder = join(root, 'build-web', 'site'), pages = {}) {
  const server = await serve(folder, 0, '127.0.0.1', pages);
  return { server, url: `http://127.0.0.1:${server.address().port}/` };
}

// Opens the game in a new page of `context` and waits for its first frame;
// every console error and uncaught exception of the page is kept in `errors`.
export async function openGame(context, url) {
  const page = await context.newPage();
  page.errors = [];
  page.on('console', (m) => { if (m.type() === 'error') page.errors.push(m.text()); });
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.goto(url);
  await page.waitForFunction(() => window.tessaly?.frames() > 0);
  return page;
}

// The site served and Chromium launched once for a test file, both let go
// after its last test: `shared.site` and `shared.browser` while it runs.
export function servedAndLaunched() {
  const shared = { site: null, browser: null };
  before(async () => {
    shared.site = await serveSite();
    shared.browser = await launch();
  });
  after(async () => {
    await shared.browser?.close();
    shared.site?.server.close();
  });
  return shared;
}

// Runs the page's browser tests in one engine and says what ran there: how
// many tests passed, failed, and could not run in that engine, and why.
// Usage: node tests/web/run.mjs chromium|firefox|webkit [test files]
// (the browser test files by default). WebKit needs an X display (xvfb-run).

import { run } from 'node:test';
import { tap } from 'node:test/reporters';
import { dirname, join, basename } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
// The files that drive a browser; the rest of tests/web/ runs in Node alone.
const browserFiles = ['browser', 'pad', 'touch', 'frame', 'fuzz', 'soak'].map((f) => join(here, `${f}.test.mjs`));

const [engine, ...named] = process.argv.slice(2);
if (!['chromium', 'firefox', 'webkit'].includes(engine)) {
  console.error('usage: node tests/web/run.mjs chromium|firefox|webkit [test files]');
  process.exit(2);
}
process.env.TESSALY_BROWSER = engine;
const files = named.length ? named : browserFiles;

const counts = { passed: 0, failed: 0, skipped: 0 };
const notHere = [];
const failed = [];
// One test at a time: the timers the tests measure want a core to themselves.
const stream = run({ files, concurrency: 1, timeout: 20 * 60_000 });
stream.on('test:pass', (t) => {
  if (t.nesting !== 0) return;
  if (t.skip) {
    ++counts.skipped;
    notHere.push(`${basename(t.file ?? '')}: ${t.name}: ${t.skip}`);
  } else {
    ++counts.passed;
  }
});
stream.on('test:fail', (t) => {
  if (t.nesting !== 0) return;
  ++counts.failed;
  failed.push(`${basename(t.file ?? '')}: ${t.name}`);
});
// Every test's outcome, and each failure whole, as TAP.
stream.compose(tap).pipe(process.stdout);
stream.on('end', () => {
  const total = counts.passed + counts.failed + counts.skipped;
  console.log(`\n${engine}: ${total} tests, ${counts.passed} passed, ${counts.failed} failed, `
    + `${counts.skipped} could not run in this engine`);
  for (const line of notHere) console.log(`  not run: ${line}`);
  for (const line of failed) console.log(`  FAILED: ${line}`);
  process.exitCode = counts.failed || total === 0 ? 1 : 0;
});

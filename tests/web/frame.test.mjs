// The page's opening frame in each engine against the desktop game's, drawn
// by the desktop's own painter (desktop_frame): every shape on the same
// pixels in the same colours, and the captions, which each engine's text
// smoothing draws its own way, differing in no more pixels than measured.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { resolve } from 'node:path';
import { test } from 'node:test';
import { engine, openGame, root, servedAndLaunched } from './browser.mjs';

const shared = servedAndLaunched();
const native = process.env.TESSALY_NATIVE_BUILD ?? 'build';

// The desktop's frame at `scale`: its size, pixels and caption boxes.
const desktop = (scale) => JSON.parse(execFileSync(resolve(root, native, 'tests', 'web', 'desktop_frame'), [String(scale)],
  { encoding: 'utf8', maxBuffer: 64 << 20 }));

// In the page: how its canvas differs from the desktop's frame, outside the
// caption boxes and inside them (pixels, and pixels off by more than 3 % in
// some channel).
function differences({ width, height, rgb, captions }) {
  const canvas = document.querySelector('canvas');
  if (canvas.width !== width || canvas.height !== height) return { size: [canvas.width, canvas.height] };
  const drawn = canvas.getContext('2d').getImageData(0, 0, width, height).data;
  const want = Uint8Array.from(atob(rgb), (c) => c.charCodeAt(0));
  const inCaption = new Uint8Array(width * height);
  for (let i = 0; i < captions.length; i += 4) {
    const [x, y, w, h] = captions.slice(i, i + 4);
    for (let row = Math.max(0, y); row < Math.min(height, y + h); ++row) {
      inCaption.fill(1, row * width + Math.max(0, x), row * width + Math.min(width, x + w));
    }
  }
  const found = { shapes: 0, shapesMost: 0, captions: 0, captionsOver3: 0, firstShape: null };
  for (let p = 0; p < width * height; ++p) {
    let most = 0;
    for (let c = 0; c < 3; ++c) most = Math.max(most, Math.abs(drawn[4 * p + c] - want[3 * p + c]));
    if (most === 0) continue;
    const where = inCaption[p] ? 'captions' : 'shapes';
    ++found[where];
    if (where === 'captions' && most > 255 * 0.03) ++found.captionsOver3;
    if (where === 'shapes') found.shapesMost = Math.max(found.shapesMost, most);
    if (where === 'shapes' && !found.firstShape) {
      found.firstShape = [p % width, Math.floor(p / width), [...drawn.slice(4 * p, 4 * p + 3)],
        [...want.slice(3 * p, 3 * p + 3)]];
    }
  }
  return found;
}

// What each engine was measured at, with a little room: a caption moved by
// a pixel, or drawn in another face, differs in thousands more. Each engine
// smooths text its own way; the desktop's FreeType another.
const captionBound = {
  chromium: { 1: 8_300, 2: 15_500 },
  firefox: { 1: 8_300, 2: 15_700 },
  webkit: { 1: 10_100, 2: 15_800 },
};
// The shapes' anti-aliased edges are blended by the browser, which rounds
// its premultiplied colours a level away from the desktop's blend at some
// of them: so many pixels, each at most one level (of 255) off, the same
// in every engine.
const blendedEdges = { 1: 104, 2: 200 };

for (const scale of [1, 2]) {
  test(`the opening frame at ${scale}x: every shape as the desktop draws it, the captions within their bound`,
    async () => {
      const page = await openGame(shared.browser, shared.site, { ratio: scale });
      const found = await page.evaluate(differences, desktop(scale));
      await page.close();
      console.log(`${engine} at ${scale}x, against the desktop: captions differ in ${found.captions} pixels `
        + `(${found.captionsOver3} by more than 3 %); shapes in ${found.shapes}, by at most ${found.shapesMost} level`);
      assert.equal(found.size, undefined, 'the canvas has the desktop\'s size');
      assert.ok(found.shapesMost <= 1 && found.shapes <= blendedEdges[scale],
        `shapes: ${found.shapes} pixels differ, by up to ${found.shapesMost}, first ${JSON.stringify(found.firstShape)}`);
      assert.ok(found.captions <= captionBound[engine][scale], `captions: ${found.captions} pixels differ`);
    });
}

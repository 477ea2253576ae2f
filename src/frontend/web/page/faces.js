// @ts-check
// The faces the page serves, from the bytes it carries inline.

/**
 * Decoded by the browser itself where it can; otherwise a plain loop, several
 * times faster than Uint8Array.from with a function per byte.
 * @param {string} base64
 * @returns {Uint8Array<ArrayBuffer>}
 */
export function bytes(base64) {
  const native = /** @type {{ fromBase64?: (text: string) => Uint8Array<ArrayBuffer> }} */ (Uint8Array).fromBase64;
  if (native) return native.call(Uint8Array, base64);
  const text = atob(base64);
  const out = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) out[i] = text.charCodeAt(i);
  return out;
}

/**
 * Each served face under a family name of its own, so that no installed font
 * of the same name stands in for it.
 * @param {import('./inline.js').Face[]} faces the table of served faces
 * @param {string} faceData the faces one after another, as base64
 * @returns {Promise<import('./engine.js').ServedFace[]>}
 */
export async function serveFaces(faces, faceData) {
  const data = bytes(faceData);
  const served = faces.map((face, i) => {
    const family = `tessaly-${i}`;
    /** @type {FontFace | null} */
    let font = null;
    const make = () => {
      if (font) return font;
      // Without faces made from bytes, captions come in the browser's own face.
      if (typeof FontFace === 'undefined') return null;
      // A face without a bold of its own is made bold by the painter, as on the desktop.
      const weight = face.bold && !face.syntheticBold ? '700' : '400';
      font = new FontFace(family, data.subarray(face.at, face.at + face.bytes), { weight });
      if (font.status === 'error') throw new Error(`the face standing for ${face.face} is damaged`);
      document.fonts.add(font);
      return font;
    };
    return { ...face, family, make };
  });
  // A browser that readies a face from its bytes at once (Chromium) makes
  // each when the engine first asks for it, so that the faces the opening
  // frame does not show cost its start nothing. Any other makes them all and
  // waits for them before the engine starts.
  const first = served[0]?.make();
  if (first && first.status !== 'loaded') await Promise.all(served.map((face) => face.make()?.loaded));
  return served;
}

// @ts-check
// The page's canvas for the painter (canvas.h): an Emscripten JavaScript
// library, linked into tessaly.js. The page hands the module its canvas and
// its table of served faces (Module.tessalyCanvas, Module.tessalyFaces). It
// reads the engine's records and drawing commands by $TessalyLayout, which
// the build makes from the engine's declarations (canvas_tables.js, from
// page_tables.cpp). What it uses of Emscripten's own is declared in
// emscripten_library.d.ts.
// The library's values are written out as text: functions stay `function`
// expressions, and what cannot be written (a Map, a context) is made on first use.

mergeInto(LibraryManager.library, {
  $TessalyCanvas: /** @type {TessalyCanvasState} */ ({
    // Made with the context, which every call asks for first.
    context: null,
    colors: /** @type {any} */ (null),
    // The kept pictures, as bitmaps and as the patterns they are drawn with.
    images: /** @type {any} */ (null),
    patterns: /** @type {any} */ (null),
    // Where each kept picture is put together before it becomes a bitmap:
    // one for them all, as each canvas's own context costs a millisecond.
    // A browser without canvases off the page or their bitmaps (older
    // Safari) keeps each picture on a canvas of its own: slower to make.
    scratch: /** @type {any} */ (null),
    captions: /** @type {any} */ (null),
    // The context's fill and font as last set; a restore takes both back.
    fill: '',
    font: '',
    ctx: function () {
      let context = TessalyCanvas.context;
      if (!context) {
        // Opaque, and drawn straight to the screen rather than through the
        // page's compositing: each tick's few small repaints cost half as much.
        context = /** @type {CanvasRenderingContext2D} */ (
          Module['tessalyCanvas'].getContext('2d', { alpha: false, desynchronized: true }));
        TessalyCanvas.context = context;
        TessalyCanvas.colors = new Map();
        TessalyCanvas.images = [];
        TessalyCanvas.patterns = [];
        TessalyCanvas.captions = [];
        TessalyCanvas.scratch = typeof OffscreenCanvas === 'undefined' ? null
          : /** @type {OffscreenCanvasRenderingContext2D | null} */ (new OffscreenCanvas(1, 1).getContext('2d'));
      }
      return context;
    },
    // A colour's CSS text, made once.
    css: function (rgb) {
      let css = TessalyCanvas.colors.get(rgb);
      if (css === undefined) {
        css = '#' + rgb.toString(16).padStart(6, '0');
        TessalyCanvas.colors.set(rgb, css);
      }
      return css;
    },
    setFill: function (ctx, css) {
      if (css !== TessalyCanvas.fill) ctx.fillStyle = TessalyCanvas.fill = css;
    },
    // A served face (or the generic stand-in) at an em of `pixels`. A bold
    // asked of a face without one is made as the desktop's text renderer
    // makes it: the regular glyphs smeared to the right by a tenth of the em,
    // in whole pixels. Answers that smear (0 for none).
    setFont: function (ctx, face, bold, pixels) {
      const served = face >= 0 ? Module['tessalyFaces'][face] : null;
      const smear = bold && served && served.syntheticBold ? Math.floor(pixels / 10) : 0;
      const family = served ? '"' + served.family + '"' : 'sans-serif';
      const css = (bold && !smear ? 'bold ' : '') + pixels + 'px ' + family;
      if (css !== TessalyCanvas.font) ctx.font = TessalyCanvas.font = css;
      return smear;
    },
    // A frame's commands, from `at` in the heap's words; nothing is made
    // here, so that play leaves the collector nothing to do.
    replay: function (ctx, at, end) {
      const op = TessalyLayout.commands;
      const heap = HEAP32;
      while (at < end) {
        const code = heap[at];
        if (code === op.Fill.code) {
          TessalyCanvas.setFill(ctx, TessalyCanvas.css(heap[at + 5]));
          ctx.fillRect(heap[at + 1], heap[at + 2], heap[at + 3], heap[at + 4]);
          at += op.Fill.words;
        } else if (code === op.Image.code) {
          // The picture's pattern, laid with its corner where the picture's
          // goes, fills the part shown: half the cost of drawing the bitmap
          // itself, and as close to the exact blend.
          const fromX = heap[at + 2];
          const fromY = heap[at + 3];
          ctx.translate(heap[at + 6] - fromX, heap[at + 7] - fromY);
          ctx.fillStyle = TessalyCanvas.patterns[heap[at + 1]];
          ctx.fillRect(fromX, fromY, heap[at + 4], heap[at + 5]);
          ctx.setTransform(1, 0, 0, 1, 0, 0);
          TessalyCanvas.fill = '';
          at += op.Image.words;
        } else if (code === op.Caption.code) {
          TessalyCanvas.caption(ctx, TessalyCanvas.captions[heap[at + 1]], heap[at + 2], heap[at + 3]);
          at += op.Caption.words;
        } else if (code === op.Clip.code) {
          ctx.save();
          ctx.beginPath();
          ctx.rect(heap[at + 1], heap[at + 2], heap[at + 3], heap[at + 4]);
          ctx.clip();
          at += op.Clip.words;
        } else if (code === op.Unclip.code) {
          ctx.restore();
          TessalyCanvas.fill = TessalyCanvas.font = '';
          at += op.Unclip.words;
        } else {
          throw new Error('Tessaly: no drawing command ' + code);
        }
      }
    },
    // A bold asked of a face without one is smeared, as setFont says.
    caption: function (ctx, kept, x, baseline) {
      if (kept.font !== TessalyCanvas.font) ctx.font = TessalyCanvas.font = kept.font;
      TessalyCanvas.setFill(ctx, kept.fill);
      for (let dx = 0; dx <= kept.smear; ++dx) ctx.fillText(kept.text, x + dx, baseline);
    },
  }),

  tessaly_canvas_resized__deps: ['$TessalyCanvas'],
  tessaly_canvas_resized: function () {
    TessalyCanvas.ctx();
    TessalyCanvas.fill = TessalyCanvas.font = '';
    for (const image of TessalyCanvas.images) if ('close' in image) image.close();
    TessalyCanvas.images = [];
    TessalyCanvas.patterns = [];
    TessalyCanvas.captions = [];
  },

  tessaly_canvas_draw__deps: ['$TessalyCanvas', '$TessalyLayout'],
  /** @type {(commands: number, words: number) => void} */
  tessaly_canvas_draw: function (commands, words) {
    TessalyCanvas.replay(TessalyCanvas.ctx(), commands >> 2, (commands >> 2) + words);
  },

  // The served face that stands for a font of the game's, made now if it was
  // not yet; -1 for none.
  /** @type {(face: number, length: number, bold: number, charset: number) => number} */
  tessaly_canvas_face: function (face, length, bold, charset) {
    const name = UTF8ToString(face, length);
    const index = Module['tessalyFaces'].findIndex(
      (f) => f.face === name && f.bold === !!bold && f.charset === charset);
    if (index >= 0) Module['tessalyFaces'][index].make();
    return index;
  },

  tessaly_canvas_face_units__deps: ['$TessalyLayout'],
  /** @type {(face: number, units: number) => void} */
  tessaly_canvas_face_units: function (face, units) {
    const f = Module['tessalyFaces'][face];
    const at = TessalyLayout.faceUnits.fields;
    HEAP32[(units + at.unitsPerEm.at) >> 2] = f.unitsPerEm;
    HEAP32[(units + at.ascender.at) >> 2] = f.ascender;
    HEAP32[(units + at.descender.at) >> 2] = f.descender;
  },

  tessaly_canvas_text_ink__deps: ['$TessalyCanvas', '$TessalyLayout'],
  /** @type {(face: number, bold: number, pixels: number, text: number, length: number, ink: number) => void} */
  tessaly_canvas_text_ink: function (face, bold, pixels, text, length, ink) {
    const ctx = TessalyCanvas.ctx();
    const smear = TessalyCanvas.setFont(ctx, face, bold, pixels);
    const m = ctx.measureText(UTF8ToString(text, length));
    const at = TessalyLayout.textInk.fields;
    HEAPF64[(ink + at.advance.at) >> 3] = m.width;
    HEAPF64[(ink + at.left.at) >> 3] = m.actualBoundingBoxLeft;
    HEAPF64[(ink + at.right.at) >> 3] = m.actualBoundingBoxRight + smear;
    HEAPF64[(ink + at.ascent.at) >> 3] = m.actualBoundingBoxAscent;
    HEAPF64[(ink + at.descent.at) >> 3] = m.actualBoundingBoxDescent;
  },

  tessaly_canvas_keep_caption__deps: ['$TessalyCanvas'],
  /** @type {(id: number, face: number, bold: number, pixels: number, text: number, length: number, rgb: number) => void} */
  tessaly_canvas_keep_caption: function (id, face, bold, pixels, text, length, rgb) {
    const ctx = TessalyCanvas.ctx();
    const smear = TessalyCanvas.setFont(ctx, face, bold, pixels);
    TessalyCanvas.captions[id] = {
      font: TessalyCanvas.font, smear, fill: TessalyCanvas.css(rgb), text: UTF8ToString(text, length),
    };
  },

  tessaly_canvas_keep_image__deps: ['$TessalyCanvas'],
  /** @type {(id: number, rgba: number, width: number, height: number) => void} */
  tessaly_canvas_keep_image: function (id, rgba, width, height) {
    const ctx = TessalyCanvas.ctx();
    // Read in place: the pixels are copied out before the heap can move.
    const image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4), width, height);
    // A bitmap, drawn as it is: a canvas as a picture is copied at every draw.
    const shared = TessalyCanvas.scratch;
    const scratch = shared ?? document.createElement('canvas').getContext('2d');
    if (!scratch) throw new Error('Tessaly: the browser gives no canvas to put a picture together on');
    scratch.canvas.width = width;
    scratch.canvas.height = height;
    scratch.putImageData(image, 0, 0);
    const bitmap = shared ? shared.canvas.transferToImageBitmap() : /** @type {HTMLCanvasElement} */ (scratch.canvas);
    TessalyCanvas.images[id] = bitmap;
    const pattern = ctx.createPattern(bitmap, 'no-repeat');
    if (!pattern) throw new Error(`Tessaly: the canvas cannot lay a picture of ${width} x ${height}`);
    TessalyCanvas.patterns[id] = pattern;
  },

});

// The page's canvas for the painter (canvas.h): an Emscripten JavaScript
// library, linked into tessaly.js. The page hands the module its canvas and
// its table of served faces (Module.tessalyCanvas, Module.tessalyFaces).

mergeInto(LibraryManager.library, {
  $TessalyCanvas: {
    // Made on first use: the library's own values are written out as text.
    context: null,
    colors: null,
    images: null,
    // The context's fill and font as last set; a restore takes both back.
    fill: '',
    font: '',
    ctx: function () {
      if (!TessalyCanvas.context) {
        // Opaque, and drawn straight to the screen rather than through the
        // page's compositing: each tick's few small repaints cost half as much.
        TessalyCanvas.context = Module['tessalyCanvas'].getContext('2d', { alpha: false, desynchronized: true });
        TessalyCanvas.colors = new Map();
        TessalyCanvas.images = [];
      }
      return TessalyCanvas.context;
    },
    setFill: function (ctx, rgb) {
      let css = TessalyCanvas.colors.get(rgb);
      if (css === undefined) {
        css = '#' + rgb.toString(16).padStart(6, '0');
        TessalyCanvas.colors.set(rgb, css);
      }
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
  },

  tessaly_canvas_resized__deps: ['$TessalyCanvas'],
  tessaly_canvas_resized: function () {
    TessalyCanvas.ctx();
    TessalyCanvas.fill = TessalyCanvas.font = '';
    TessalyCanvas.images = [];
  },

  tessaly_canvas_fill__deps: ['$TessalyCanvas'],
  tessaly_canvas_fill: function (x, y, w, h, rgb) {
    const ctx = TessalyCanvas.ctx();
    TessalyCanvas.setFill(ctx, rgb);
    ctx.fillRect(x, y, w, h);
  },

  tessaly_canvas_begin_clip__deps: ['$TessalyCanvas'],
  tessaly_canvas_begin_clip: function (x, y, w, h) {
    const ctx = TessalyCanvas.ctx();
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
  },

  tessaly_canvas_end_clip__deps: ['$TessalyCanvas'],
  tessaly_canvas_end_clip: function () {
    TessalyCanvas.ctx().restore();
    TessalyCanvas.fill = TessalyCanvas.font = '';
  },

  tessaly_canvas_face: function (face, length, bold, charset) {
    const name = UTF8ToString(face, length);
    return Module['tessalyFaces'].findIndex(
      (f) => f.face === name && f.bold === !!bold && f.charset === charset);
  },

  tessaly_canvas_face_units: function (face, units) {
    const f = Module['tessalyFaces'][face];
    HEAP32[units >> 2] = f.unitsPerEm;
    HEAP32[(units >> 2) + 1] = f.ascender;
    HEAP32[(units >> 2) + 2] = f.descender;
  },

  tessaly_canvas_text_ink__deps: ['$TessalyCanvas'],
  tessaly_canvas_text_ink: function (face, bold, pixels, text, length, ink) {
    const ctx = TessalyCanvas.ctx();
    const smear = TessalyCanvas.setFont(ctx, face, bold, pixels);
    const m = ctx.measureText(UTF8ToString(text, length));
    const at = ink >> 3;
    HEAPF64[at] = m.width;
    HEAPF64[at + 1] = m.actualBoundingBoxLeft;
    HEAPF64[at + 2] = m.actualBoundingBoxRight + smear;
    HEAPF64[at + 3] = m.actualBoundingBoxAscent;
    HEAPF64[at + 4] = m.actualBoundingBoxDescent;
  },

  tessaly_canvas_text__deps: ['$TessalyCanvas'],
  tessaly_canvas_text: function (face, bold, pixels, text, length, rgb, x, baseline) {
    const ctx = TessalyCanvas.ctx();
    const smear = TessalyCanvas.setFont(ctx, face, bold, pixels);
    TessalyCanvas.setFill(ctx, rgb);
    const caption = UTF8ToString(text, length);
    for (let dx = 0; dx <= smear; ++dx) ctx.fillText(caption, x + dx, baseline);
  },

  tessaly_canvas_keep_image__deps: ['$TessalyCanvas'],
  tessaly_canvas_keep_image: function (id, rgba, width, height) {
    TessalyCanvas.ctx();
    const bytes = HEAPU8.buffer.slice(rgba, rgba + width * height * 4);  // a copy: the heap may move
    const image = new ImageData(new Uint8ClampedArray(bytes), width, height);
    const kept = new OffscreenCanvas(width, height);
    kept.getContext('2d').putImageData(image, 0, 0);
    TessalyCanvas.images[id] = kept;
  },

  tessaly_canvas_draw_image__deps: ['$TessalyCanvas'],
  tessaly_canvas_draw_image: function (id, fromX, fromY, w, h, x, y) {
    TessalyCanvas.ctx().drawImage(TessalyCanvas.images[id], fromX, fromY, w, h, x, y, w, h);
  },
});

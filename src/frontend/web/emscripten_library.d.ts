// What canvas_library.js uses of Emscripten's library environment (emcc
// links the library into tessaly.js, where these names are in scope), for
// the type checker alone.

declare const LibraryManager: { library: Record<string, unknown> };
declare function mergeInto(library: Record<string, unknown>, entries: Record<string, unknown>): void;

declare const Module: {
  tessalyCanvas: HTMLCanvasElement;
  tessalyFaces: import('./page/engine.js').ServedFace[];
};
declare const HEAPU8: Uint8Array<ArrayBuffer>;
declare const HEAP32: Int32Array<ArrayBuffer>;
declare const HEAPF64: Float64Array<ArrayBuffer>;
declare function UTF8ToString(pointer: number, maxBytes?: number): string;

// The library's own state ($TessalyCanvas), by the name its functions use;
// its tables ($TessalyLayout) are declared in canvas_tables.d.ts, which the
// build makes with them.
interface TessalyCanvasState {
  context: CanvasRenderingContext2D | null;
  colors: Map<number, string>;
  images: (ImageBitmap | HTMLCanvasElement)[];
  patterns: CanvasPattern[];
  scratch: OffscreenCanvasRenderingContext2D | null;
  captions: KeptCaption[];
  fill: string;
  font: string;
  ctx(): CanvasRenderingContext2D;
  css(rgb: number): string;
  setFill(ctx: CanvasRenderingContext2D, css: string): void;
  setFont(ctx: CanvasRenderingContext2D, face: number, bold: number, pixels: number): number;
  replay(ctx: CanvasRenderingContext2D, at: number, end: number): void;
  caption(ctx: CanvasRenderingContext2D, kept: KeptCaption, x: number, baseline: number): void;
}
// A caption as the page keeps it: its font, smear and fill made once.
interface KeptCaption {
  font: string;
  smear: number;
  fill: string;
  text: string;
}
declare const TessalyCanvas: TessalyCanvasState;

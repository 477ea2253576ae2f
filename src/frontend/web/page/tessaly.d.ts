// The engine's JavaScript as the build makes it (tessaly.js, from main.cpp
// and the canvas library), for the type checker alone: what engine.js uses of it.

export interface TessalyModule {
  // The page's canvas and served faces, for the canvas library.
  tessalyCanvas: HTMLCanvasElement;
  tessalyFaces: import('./engine.js').ServedFace[];
  // The engine's memory, viewed afresh whenever it grows.
  HEAPU8: Uint8Array<ArrayBuffer>;
  HEAP32: Int32Array<ArrayBuffer>;
  HEAPF64: Float64Array<ArrayBuffer>;

  // The door (main.cpp): the record's address, an event, and the canvas's size.
  _tessaly_record(): number;
  _tessaly_event(): void;
  _tessaly_canvas_size(width: number, height: number): void;
}

export interface TessalyOptions {
  tessalyCanvas: HTMLCanvasElement;
  instantiateWasm(
    imports: WebAssembly.Imports,
    receive: (instance: WebAssembly.Instance) => void,
  ): object;
}

export default function createTessaly(options: TessalyOptions): Promise<TessalyModule>;

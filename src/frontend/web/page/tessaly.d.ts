// The engine's JavaScript as the build makes it (tessaly.js, from main.cpp
// and canvas_library.js), for the type checker alone: what engine.js uses of it.

export interface TessalyModule {
  // The page's canvas and served faces, for the canvas library.
  tessalyCanvas: HTMLCanvasElement;
  tessalyFaces: import('./engine.js').ServedFace[];
  // The engine's memory, viewed afresh whenever it grows.
  HEAPU8: Uint8Array<ArrayBuffer>;
  HEAP32: Int32Array<ArrayBuffer>;

  _tessaly_record(): number;
  _tessaly_start(width: number, height: number): number;
  _tessaly_resize(width: number, height: number): number;
  _tessaly_tick(): number;
  _tessaly_key_down(keyLength: number, codeLength: number): void;
  _tessaly_key_up(keyLength: number, codeLength: number): number;
  _tessaly_pointer_down(x: number, y: number): number;
  _tessaly_pointer_move(x: number, y: number): number;
  _tessaly_pointer_up(x: number, y: number): number;
  _tessaly_pointer_cancel(): number;
  _tessaly_press(device: number, control: number): number;
  _tessaly_release(device: number, control: number): number;
  _tessaly_release_all(device: number): number;
  _tessaly_stick(x: number, y: number): number;
  _tessaly_frames(): number;
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

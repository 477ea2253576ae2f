// What the build writes into the page in place of its import of './inline.js'
// (cmake/site_files.cmake), for the type checker alone.

// A face the page serves, from the table cmake/make_fonts.cmake writes:
// where it lies in faceData, and the game's font it stands for.
export interface Face {
  face: string;
  bold: boolean;
  charset: number;
  at: number;
  bytes: number;
  installed: string;
  syntheticBold: boolean;
  unitsPerEm: number;
  ascender: number;
  descender: number;
}

export const faces: Face[];
// The faces one after another, and the engine's WebAssembly, as base64.
export const faceData: string;
export const engineData: string;

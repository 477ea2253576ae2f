// @ts-check
// Where the board and the on-screen controls go. Without them the board
// fills the window in the client area's shape, centred on black. With them
// the board takes what the controls leave and never lies under one: below it
// on a screen held upright, to its left and right on one lying on its side,
// whichever leaves the board larger. The left thumb steers Left and Right,
// the right one Up, Down and Faster.

/** A rectangle in CSS pixels, or in device pixels for the board. @typedef {{ x: number, y: number, w: number, h: number }} Box */
/** The engine's canvas for an area of device pixels. @typedef {(width: number, height: number) => { width: number, height: number }} CanvasSize */
/** The controls by their name (Touch's keys), each with its box. @typedef {Record<string, Box>} ControlBoxes */

const gap = 12;  // between two controls: a thumb on one does not touch the next
const margin = 12;  // between the controls and the board or the screen's edge
// The arrows' side: the board gets its room with the smallest, and the
// controls then grow into what it leaves them, up to the largest.
const smallestArrow = 56;
const largestArrow = 84;

/**
 * The controls in their groups, each laid out from its own top-left corner,
 * for arrows of `a` CSS pixels.
 * @param {number} a
 */
function groups(a) {
  const s = { w: 72, h: 44 };  // Previous, Pause, Next: seldom pressed, smaller
  /** @param {number} w @param {number} h @param {Record<string, [number, number, number, number]>} at */
  const group = (w, h, at) => ({ w, h, at });
  return {
    steer: group(2 * a + gap, a, { Left: [0, 0, a, a], Right: [a + gap, 0, a, a] }),
    lift: group(2 * a + gap, 2 * a + gap,
      { Faster: [0, 0, a, 2 * a + gap], Up: [a + gap, 0, a, a], Down: [a + gap, a + gap, a, a] }),
    row: group(3 * s.w + 2 * gap, s.h, {
      PreviousPattern: [0, 0, s.w, s.h], Pause: [s.w + gap, 0, s.w, s.h], NextPattern: [2 * (s.w + gap), 0, s.w, s.h],
    }),
    column: group(s.w, 3 * s.h + 2 * gap, {
      PreviousPattern: [0, 0, s.w, s.h], Pause: [0, s.h + gap, s.w, s.h], NextPattern: [0, 2 * (s.h + gap), s.w, s.h],
    }),
  };
}
/** @typedef {ReturnType<typeof groups>['steer']} Group */

/**
 * Puts a group's controls into `boxes` with its top-left corner at x, y.
 * @param {ControlBoxes} boxes @param {Group} group @param {number} x @param {number} y
 */
function put(boxes, group, x, y) {
  for (const [name, [dx, dy, w, h]] of Object.entries(group.at)) boxes[name] = { x: x + dx, y: y + dy, w, h };
}

/**
 * The board, in device pixels, as large as `area` (CSS pixels) holds in the
 * client area's shape: centred across, and down too unless `top`.
 * @param {Box} area @param {number} ratio @param {CanvasSize} canvasSize @param {boolean} top
 * @returns {Box}
 */
function boardIn(area, ratio, canvasSize, top = false) {
  const width = Math.max(1, Math.round(area.w * ratio));
  const height = Math.max(1, Math.round(area.h * ratio));
  const { width: w, height: h } = canvasSize(width, height);
  return {
    x: Math.round(area.x * ratio) + Math.floor((width - w) / 2),
    y: Math.round(area.y * ratio) + (top ? 0 : Math.floor((height - h) / 2)),
    w, h,
  };
}

/**
 * The board and, when `withControls`, every control, for a screen whose
 * usable part is `screen` (CSS pixels) at `ratio` device pixels to a CSS pixel.
 * @param {Box} screen @param {number} ratio @param {CanvasSize} canvasSize @param {boolean} withControls
 * @returns {{ board: Box, controls: ControlBoxes }}
 */
export function layOut(screen, ratio, canvasSize, withControls) {
  if (!withControls) return { board: boardIn(screen, ratio, canvasSize), controls: {} };
  const g = groups(smallestArrow);
  // Below: the small row under the board, the arrows under it at the screen's foot.
  const under = 2 * margin + g.row.h + gap + g.lift.h;
  const below = boardIn({ ...screen, h: screen.h - under }, ratio, canvasSize, true);
  // Beside: a strip each side as wide as its widest group.
  const strip = 2 * margin + Math.max(g.steer.w, g.lift.w);
  const beside = boardIn({ ...screen, x: screen.x + strip, w: screen.w - 2 * strip }, ratio, canvasSize);
  const board = below.w >= beside.w ? below : beside;
  const b = { x: board.x / ratio, y: board.y / ratio, w: board.w / ratio, h: board.h / ratio };
  return { board, controls: board === below ? underBoard(screen, b) : besideBoard(screen, b) };
}

/** @param {number} a @returns {number} the arrows' side, whole CSS pixels, within the sides allowed */
const arrowOf = (a) => Math.max(smallestArrow, Math.min(largestArrow, Math.floor(a)));

/**
 * The controls under the board `b`: the small row just under it, the arrows
 * at the screen's foot, Left and Right to the left, the rest to the right.
 * @param {Box} screen @param {Box} b @returns {ControlBoxes}
 */
function underBoard(screen, b) {
  const room = screen.y + screen.h - (b.y + b.h);
  const g = groups(arrowOf(Math.min((room - 2 * margin - 44 - 2 * gap) / 2, (screen.w - 2 * margin - 3 * gap) / 4)));
  const liftY = screen.y + screen.h - margin - g.lift.h;
  /** @type {ControlBoxes} */
  const boxes = {};
  put(boxes, g.row, screen.x + (screen.w - g.row.w) / 2, b.y + b.h + margin);
  put(boxes, g.steer, screen.x + margin, liftY + (g.lift.h - g.steer.h) / 2);
  put(boxes, g.lift, screen.x + screen.w - margin - g.lift.w, liftY);
  return boxes;
}

/**
 * The controls left and right of the board `b`: on the left the small
 * buttons at the top and Left and Right lower down, on the right the rest.
 * @param {Box} screen @param {Box} b @returns {ControlBoxes}
 */
function besideBoard(screen, b) {
  const leftStrip = b.x - screen.x;
  const rightStrip = screen.x + screen.w - (b.x + b.w);
  const narrow = groups(smallestArrow);
  // The small buttons in a row where the strip is wide enough, else one above another.
  const row = leftStrip >= 2 * margin + narrow.row.w;
  const small = row ? narrow.row : narrow.column;
  // Left and Right, centred on the lift's middle, stay clear of the small buttons.
  const g = groups(arrowOf(Math.min((Math.min(leftStrip, rightStrip) - 2 * margin - gap) / 2,
    (screen.h - 2 * margin - gap / 2 - small.h - gap) / 1.5)));
  const liftY = screen.y + screen.h - margin - g.lift.h;
  /** @type {ControlBoxes} */
  const boxes = {};
  put(boxes, small, screen.x + (leftStrip - small.w) / 2, screen.y + margin);
  put(boxes, g.steer, screen.x + (leftStrip - g.steer.w) / 2, liftY + (g.lift.h - g.steer.h) / 2);
  put(boxes, g.lift, b.x + b.w + (rightStrip - g.lift.w) / 2, liftY);
  return boxes;
}

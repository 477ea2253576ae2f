#!/usr/bin/env bash
# The real game in a real X server: start it, steer it with xdotool, read its
# pixels, close it. Starts its own Xvfb on a free display number.
# Usage: e2e.sh TESSALY X11_PROBE ARTEFACT_DIR
set -euo pipefail
tessaly=$1 probe=$2 out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.stderr

fail() { echo "FAIL: $*" >&2; exit 1; }

# Each run of the game keeps its error output apart; the game writes there
# only when something went wrong, so every run's must be empty at its end.
start_game() {  # name
  run=$1
  "$tessaly" 2>"$out/$run.stderr" &
  game=$!
}
quiet_run() {
  [[ ! -s "$out/$run.stderr" ]] || { cat "$out/$run.stderr" >&2; fail "$run: the game wrote to stderr"; }
  echo "ok: $run: nothing on stderr"
}

source "$(dirname "$0")/xvfb.sh"
start_xvfb "$out/xvfb.log"
game=
cleanup() {
  [[ -n "$game" ]] && kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
echo "Xvfb on $DISPLAY"

start_game 1x
window=$(timeout 10 xdotool search --sync --name '^Form1$' | head -1) || fail "no window named Form1"
echo "window $window"

shots=$out
source "$(dirname "$0")/play.sh"

await "opening frame: the ball rests on the bottom paddle" $ball_x $ball_y "0 0 255"
expect "opening frame: cell (8, 6) is empty" $cell86_x $cell86_y "128 255 128"
shot 01-opening
play_through

# Twice the height and wider still: everything at 2x, letterboxed at the sides.
xdotool windowsize "$window" 1000 1086
await "resized: cell (8, 6) at 2x" $((85 + 2 * cell86_x)) $((2 * cell86_y)) "255 0 0"
expect "resized: the letterbox" 40 500 "0 0 0"
shot 06-resized

close_game
quiet_run

# A desktop scaled to 192 dots per inch opens the window at 2x.
"$probe" dpi 192
start_game hidpi
window=$(timeout 10 xdotool search --sync --name '^Form1$' | head -1) || fail "no window at 2x"
await "HiDPI: the ball at 2x" $((2 * ball_x)) $((2 * ball_y)) "0 0 255"
size=$(window_size)
[[ "$size" == 830x1086 ]] || fail "HiDPI: the window is $size, not 830x1086"
echo "ok: HiDPI: the window opens at 830x1086"
shot 07-hidpi
close_game
quiet_run

echo "screenshots kept in $out"

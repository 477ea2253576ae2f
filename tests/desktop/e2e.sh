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
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"

# Client-area pixels at 1x: 15 twips a pixel.
px() { "$probe" pixel "$window" "$1" "$2" 2>/dev/null || echo "no pixel"; }
shot() { import -window "$window" "$out/$1.png"; }
expect() {  # name x y "R G B" [not]
  local got
  got=$(px "$2" "$3")
  if [[ "${5:-}" == not ]]; then
    [[ "$got" != "$4" ]] || { shot "failed-$1"; fail "$1: pixel $2,$3 is still $got"; }
  else
    [[ "$got" == "$4" ]] || { shot "failed-$1"; fail "$1: pixel $2,$3 is $got, not $4"; }
  fi
  echo "ok: $1"
}
# Waits up to 5 s until the pixel shows the colour (or, with "not", another).
await() {  # name x y "R G B" [not]
  local got
  for _ in $(seq 100); do
    got=$(px "$2" "$3")
    if [[ "${5:-}" == not ]]; then [[ "$got" != "$4" ]] && { echo "ok: $1"; return; }
    else [[ "$got" == "$4" ]] && { echo "ok: $1"; return; }; fi
    sleep 0.05
  done
  shot "failed-$1"
  fail "$1: pixel $2,$3 is $got"
}
# The board as pixels (no file metadata), with the Pause button's place
# blacked out, so that only the ball and paddles tell play from standstill.
board() {
  import -window "$window" png:- |
    convert - -crop 400x400+8+136 +repage -fill black -draw "rectangle 126,70 291,171" "ppm:$1"
}
same_twice() {  # the board looks the same 300 ms apart
  board "$out/a.ppm"
  sleep 0.3
  board "$out/b.ppm"
  cmp -s "$out/a.ppm" "$out/b.ppm"
}

ball_x=208 ball_y=516         # the ball's middle, resting on the bottom paddle
pause_x=146 pause_y=218       # inside the pause button, off its caption
cell86_x=123 cell86_y=230     # grid cell (8, 6): empty in pattern 1

await "opening frame: the ball rests on the bottom paddle" $ball_x $ball_y "0 0 255"
expect "opening frame: cell (8, 6) is empty" $cell86_x $cell86_y "128 255 128"
shot 01-opening

xdotool keydown Left
sleep 0.25
xdotool keyup Left
await "Left: the ball has left the paddle" $ball_x $ball_y "0 0 255" not
shot 02-served

xdotool key p
await "P: the Pause button shows" $pause_x $pause_y "240 240 240"
same_twice || fail "P: the board still moves while paused"
echo "ok: P: the ball stands still"
shot 03-paused

xdotool mousemove --window "$window" $pause_x $pause_y click 1
await "click: the Pause button is gone" $pause_x $pause_y "240 240 240" not
# Play went on when the board leaves its paused look: the ball flies on, or,
# if it was about to pass a paddle, is lost and waits on the bottom one.
moved=false
for _ in $(seq 50); do
  board "$out/now.ppm"
  cmp -s "$out/b.ppm" "$out/now.ppm" || { moved=true; break; }
  sleep 0.1
done
$moved || fail "click: play did not go on"
echo "ok: click: play goes on"
shot 04-resumed

xdotool key F1
await "F1: pattern 2 fills cell (8, 6)" $cell86_x $cell86_y "255 0 0"
shot 05-pattern2

# Twice the height and wider still: everything at 2x, letterboxed at the sides.
xdotool windowsize "$window" 1000 1086
await "resized: cell (8, 6) at 2x" $((85 + 2 * cell86_x)) $((2 * cell86_y)) "255 0 0"
expect "resized: the letterbox" 40 500 "0 0 0"
shot 06-resized

"$probe" close "$window"
status=0
wait "$game" || status=$?
game=
[[ $status -eq 0 ]] || fail "closing the window ended the game with status $status"
echo "ok: closing the window ends the game with status 0"
quiet_run

# A desktop scaled to 192 dots per inch opens the window at 2x.
"$probe" dpi 192
start_game hidpi
window=$(timeout 10 xdotool search --sync --name '^Form1$' | head -1) || fail "no window at 2x"
await "HiDPI: the ball at 2x" $((2 * ball_x)) $((2 * ball_y)) "0 0 255"
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[[ "$size" == 830x1086 ]] || fail "HiDPI: the window is $size, not 830x1086"
echo "ok: HiDPI: the window opens at 830x1086"
shot 07-hidpi
"$probe" close "$window"
wait "$game" || fail "closing the 2x window failed"
game=
quiet_run

rm -f "$out"/*.ppm
echo "screenshots kept in $out"

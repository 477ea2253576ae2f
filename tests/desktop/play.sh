# shellcheck shell=bash
# Sourced by e2e.sh (the Linux game) and tests/windows/wine.sh (the Windows
# game under Wine): what they read off the game's window, and the play both
# put it through. The caller sets probe (x11_probe), window, game (its
# process), shots (the folder for screenshots and scratch frames), fail(), and
# may set run (the name of the run) and await_seconds (5 unless said; Wine
# starts slower).

# Client-area pixels at 1x: 15 twips a pixel.
ball_x=208 ball_y=516     # the ball's middle, resting on the bottom paddle
pause_x=146 pause_y=218   # inside the pause button, off its caption
cell86_x=123 cell86_y=230 # grid cell (8, 6): empty in pattern 1, filled in pattern 2

px() { "$probe" pixel "$window" "$1" "$2" 2>/dev/null || echo "no pixel"; }
shot() { import -window "$window" "$shots/$1.png" || true; }
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
# Waits until the pixel shows the colour (or, with "not", another).
await() {  # name x y "R G B" [not]
  local got
  for _ in $(seq $((${await_seconds:-5} * 20))); do
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

# The window closed as a window manager closes it: the game ends, status 0.
close_game() {
  local status=0
  "$probe" close "$window"
  wait "$game" || status=$?
  game=
  [[ $status -eq 0 ]] || fail "${run:+$run: }closing the window ended the game with status $status"
  echo "ok: ${run:+$run: }closing the window ends the game with status 0"
}
window_size() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# From the opening frame at 1x: Left serves, P pauses and the board stands
# still, a click on Pause lets play go on, F1 brings pattern 2.
play_through() {
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool keydown Left
  sleep 0.25
  xdotool keyup Left
  await "Left: the ball has left the paddle" $ball_x $ball_y "0 0 255" not
  shot 02-served

  xdotool key p
  await "P: the Pause button shows" $pause_x $pause_y "240 240 240"
  board "$shots/a.ppm"
  sleep 0.3
  board "$shots/b.ppm"
  cmp -s "$shots/a.ppm" "$shots/b.ppm" || fail "P: the board still moves while paused"
  echo "ok: P: the ball stands still"
  shot 03-paused

  xdotool mousemove --window "$window" $pause_x $pause_y click 1
  await "click: the Pause button is gone" $pause_x $pause_y "240 240 240" not
  # Play went on when the board leaves its paused look: the ball flies on,
  # or, if it was about to pass a paddle, is lost and waits on the bottom one.
  local moved=false
  for _ in $(seq 50); do
    board "$shots/now.ppm"
    cmp -s "$shots/b.ppm" "$shots/now.ppm" || { moved=true; break; }
    sleep 0.1
  done
  $moved || fail "click: play did not go on"
  echo "ok: click: play goes on"
  shot 04-resumed

  xdotool key F1
  await "F1: pattern 2 fills cell (8, 6)" $cell86_x $cell86_y "255 0 0"
  shot 05-pattern2
  rm -f "$shots"/*.ppm
}

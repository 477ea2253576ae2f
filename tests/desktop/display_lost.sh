#!/usr/bin/env bash
# When the display goes from under a running game (the X server killed, the
# game's connection killed, its window destroyed by another program, while
# playing or paused), the game ends within a second with status 1 and one
# line of its own on stderr, never Xlib's dump. A display without any usable
# font gets one line and status 1 too. Each case has an Xvfb of its own.
# Usage: display_lost.sh TESSALY X11_PROBE [MS]
#   MS: how long the game may take to end, 1000 by default (a sanitized
#   build adds its own leak scan at exit).
set -uo pipefail
tessaly=$1 probe=$2 limit=${3:-1000}
source "$(dirname "$0")/xvfb.sh"

scratch=$(mktemp -d)
game= xvfb=
cleanup() {
  [[ -n "$game" ]] && kill "$game" 2>/dev/null
  [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The game's end: status 1 within the limit from `since` (ns), and exactly
# the expected line on stderr.
expect_end() {  # name since line [limit]
  local name=$1 since=$2 line=$3 within=${4:-$limit} status elapsed
  for _ in $(seq 500); do kill -0 "$game" 2>/dev/null || break; sleep 0.01; done
  elapsed=$((($(date +%s%N) - since) / 1000000))
  kill -0 "$game" 2>/dev/null && fail "$name: the game still runs ${elapsed} ms later"
  wait "$game"
  status=$?
  game=
  ((elapsed <= within)) || fail "$name: the game took ${elapsed} ms to end, more than $within"
  [[ $status -eq 1 ]] || fail "$name: status $status, not 1"
  [[ "$(cat "$scratch/stderr")" == "$line" ]] || { cat "$scratch/stderr"; fail "$name: stderr is not just: $line"; }
  echo "ok: $name: status 1 after ${elapsed} ms: $line"
}

# Starts the game on a fresh Xvfb and waits until it plays.
start_game() {
  start_xvfb
  "$tessaly" 2>"$scratch/stderr" &
  game=$!
  window=$(timeout 10 xdotool search --sync --name '^Form1$' | head -1) || fail "no window named Form1"
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key Left  # serve: the ball flies and every tick draws
  sleep 0.3
}
stop_xvfb() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  xvfb=
}

start_game
since=$(date +%s%N)
kill "$xvfb"
expect_end "the X server killed mid-game" "$since" "tessaly: the connection to the display $DISPLAY was lost."
stop_xvfb

start_game
since=$(date +%s%N)
xdotool windowkill "$window"
expect_end "the game's connection killed (xdotool windowkill)" "$since" \
  "tessaly: the connection to the display $DISPLAY was lost."
stop_xvfb

start_game
since=$(date +%s%N)
"$probe" destroy "$window" || fail "the probe could not destroy the window"
expect_end "the window destroyed by another client mid-game" "$since" \
  "tessaly: the game window was destroyed by another program."
stop_xvfb

# Paused, the game draws nothing and only hears of the loss as an event.
start_game
xdotool key p
for _ in $(seq 100); do [[ $("$probe" pixel "$window" 146 218) == "240 240 240" ]] && break; sleep 0.05; done
[[ $("$probe" pixel "$window" 146 218) == "240 240 240" ]] || fail "P did not pause the game"
since=$(date +%s%N)
"$probe" destroy "$window" || fail "the probe could not destroy the window"
expect_end "the window destroyed by another client while paused" "$since" \
  "tessaly: the game window was destroyed by another program."
stop_xvfb

# Fontconfig with no font at all: the game says so before it opens a window
# (timed from its start, so with time to start).
cat >"$scratch/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>$scratch/no-fonts</dir><cachedir>$scratch/cache</cachedir></fontconfig>
CONF
start_xvfb
since=$(date +%s%N)
FONTCONFIG_FILE="$scratch/fonts.conf" "$tessaly" 2>"$scratch/stderr" &
game=$!
expect_end "no usable font" "$since" "tessaly: no usable font is installed (fontconfig offers none that opens)." \
  $((limit + 4000))
stop_xvfb

#!/usr/bin/env bash
# Without a display the game says so in one sentence and ends with status 1,
# instead of playing in a window nobody can see.
# Usage: no_display.sh TESSALY
set -uo pipefail
tessaly=$1
check() {  # name, then the environment to run in
  local name=$1 err status
  shift
  err=$(env "$@" timeout 10 "$tessaly" 2>&1 >/dev/null)
  status=$?
  [[ $status -eq 1 ]] || { echo "FAIL: $name: status $status, not 1"; exit 1; }
  [[ $(printf '%s\n' "$err" | wc -l) -eq 1 && "$err" == tessaly:*. ]] ||
    { echo "FAIL: $name: not one sentence on stderr: $err"; exit 1; }
  echo "ok: $name: $err"
}
check "no display at all" -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER
check "SDL's offscreen driver" SDL_VIDEODRIVER=offscreen
check "SDL's dummy driver" SDL_VIDEODRIVER=dummy
check "a display that does not exist" -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:9999

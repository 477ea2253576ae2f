# Sourced by the tests that need a real X server: start_xvfb [LOG] starts an
# Xvfb on a display number it picks itself, exports DISPLAY and sets $xvfb to
# its process id.
start_xvfb() {
  local displayfile
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$displayfile" 2>"${1:-/dev/null}" &
  xvfb=$!
  for _ in $(seq 100); do [[ -s "$displayfile" ]] && break; sleep 0.05; done
  if [[ ! -s "$displayfile" ]]; then
    rm -f "$displayfile"
    echo "FAIL: Xvfb did not start" >&2
    exit 1
  fi
  DISPLAY=:$(head -1 "$displayfile")
  export DISPLAY
  rm -f "$displayfile"
}

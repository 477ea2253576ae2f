#!/usr/bin/env bash
# scripts/check-layers on a copy of the tree: the copy as it stands passes,
# and every kind of wrong include, planted in it one at a time, fails with a
# message naming the file and the include.
# Usage: check_layers_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The C++ files git knows of (what the checker reads) and the checker itself.
(
  cd "$source_dir"
  git ls-files -z --cached --others --exclude-standard -- '*.cpp' '*.h' '*.cc' '*.hpp' '*.inl' scripts/check-layers |
    while IFS= read -r -d '' f; do if [[ -f $f ]]; then printf '%s\0' "$f"; fi; done |
    tar --null -T - -cf -
) | tar -xf - -C "$scratch"
git -C "$scratch" init -q
checker=$scratch/scripts/check-layers

failures=0
if report=$("$checker" 2>&1); then
  echo "ok   - the tree as it stands: $report"
else
  echo "FAIL - the tree as it stands does not pass:"
  echo "$report"
  exit 1
fi

# plant <what> <file> <line> [<file> <line>]...: adds each line to the end of
# its file (new or not); the checker must fail and name the first file and
# line. The files are put back afterwards.
plant() {
  local what=$1 first=$2 line=$3
  shift
  local -a added=()
  while (($#)); do
    local file=$scratch/$1
    mkdir -p "$(dirname "$file")"
    if [[ -e $file ]]; then cp "$file" "$file.kept"; else added+=("$file"); fi
    printf '%s\n' "$2" >>"$file"
    shift 2
  done
  local status=0
  report=$("$checker" 2>&1) || status=$?
  if ((status == 0)); then
    echo "FAIL - $what: the checker passed it"
    failures=$((failures + 1))
  elif ! grep -F "$first:" <<<"$report" | grep -qF -- "$line"; then
    echo "FAIL - $what: the checker failed without naming $first and $line:"
    echo "$report"
    failures=$((failures + 1))
  else
    echo "ok   - $what"
  fi
  rm -f "${added[@]}"
  for kept in $(find "$scratch" -name '*.kept'); do mv "$kept" "${kept%.kept}"; done
}

plant "base includes ui" src/base/planted.h '#include "ui/timer.h"'
plant "game includes the front ends' drawing" src/game/planted.cpp '#include "frontend/core/viewport.h"'
plant "game includes the harness" src/game/planted.cpp '#include "harness/virtual_time.h"'
plant "flow includes a test's header by a relative path" src/flow/planted.cpp \
  '#include "../../tests/support/allocation_counter.h"'
plant "game includes a header only another target's include folder finds" src/game/planted.cpp \
  '#include "viewport.h"'
plant "the engine includes through a macro" src/game/planted.cpp '#include GAME_HEADER'
plant "ui includes SDL" src/ui/controls.cpp '#include <SDL2/SDL.h>'
plant "the harness includes X11" src/harness/replay.cpp '#include <X11/Xlib.h>'
plant "levels include GoogleTest" src/levels/patterns.cpp '#include <gtest/gtest.h>'
plant "frontend/core includes the desktop" src/frontend/core/planted.cpp '#include "frontend/desktop/game_window.h"'
plant "frontend/core includes Emscripten" src/frontend/core/planted.h '#include <emscripten/emscripten.h>'
plant "the desktop includes the page" src/frontend/desktop/planted.cpp '#include "frontend/web/canvas.h"'
plant "the desktop includes Emscripten" src/frontend/desktop/planted.cpp '#include <emscripten/emscripten.h>'
plant "the page includes SDL" src/frontend/web/planted.cpp '#include <SDL2/SDL.h>'
plant "the desktop includes the harness" src/frontend/desktop/planted.cpp '#include "harness/replay.h"'
plant "the harness includes the front ends' drawing" src/harness/planted.cpp '#include "frontend/core/painter.h"'
plant "levels and flow include each other" \
  src/levels/planted.h '#include "flow/planted.h"' \
  src/flow/planted.h '#include "levels/planted.h"'

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"

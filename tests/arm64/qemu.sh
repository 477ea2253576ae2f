#!/usr/bin/env bash
# Tessaly for arm64, proven on an amd64 Debian under qemu's user-mode
# emulation. The GoogleTest suites of the engine (the replay fixtures must
# end in the Linux digests, no tick may allocate) and of the front-end core
# are cross-built with the flags of the arm64 package and run by CTest
# through qemu-aarch64-static (cmake/aarch64-linux-gnu.cmake); then the
# arm64 package is checked as the amd64 one is, its game played in Xvfb
# through qemu, its opening frames at 1x and 2x the amd64 package's, pixel
# for pixel. Lean on purpose: the desktop front end is proven by the packaged
# game itself, and the soak and the live window's timers stay with the
# native build, since under emulation they would measure qemu, not the game.
# Usage: tests/arm64/qemu.sh X11_PROBE
#   after scripts/deb arm64, and check_deb.sh on the amd64 package, whose
#   frames in build-deb/check/ are the reference
set -euo pipefail
cd "$(dirname "$0")/../.."
probe=$1
started=$SECONDS

# The package's own compiler flags (Debian's, from scripts/deb), so that the
# suites prove the engine as the package carries it.
package_flags() { sed -n "s/^$1:STRING=//p" build-deb-arm64/CMakeCache.txt; }
mkdir -p build-arm64
nice cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$(package_flags CMAKE_CXX_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(package_flags CMAKE_EXE_LINKER_FLAGS)" \
  >build-arm64/configure.log 2>&1 || { cat build-arm64/configure.log; exit 1; }
suites=(engine_tests frontend_core_tests proof_tests no_allocation_test)
nice cmake --build build-arm64 -j "$(nproc)" --target "${suites[@]}" >build-arm64/build.log 2>&1 ||
  { tail -n 40 build-arm64/build.log; exit 1; }
echo "built for arm64 in $((SECONDS - started)) s: ${suites[*]}"

# Each folder's GoogleTest cases (named Suite.Case): the scripts beside them
# drive programs of the build machine.
emulated=$SECONDS
for folder in engine frontend proof; do
  log=build-arm64/tests/$folder/qemu.log
  if ! ctest --test-dir "build-arm64/tests/$folder" -R '\.' -LE soak -j "$(nproc)" --output-on-failure >"$log" 2>&1; then
    cat "$log"
    exit 1
  fi
  echo "tests/$folder: $(grep -E '^[0-9]+% tests passed' "$log")"
done
# The replays by name, and the digest each was held to.
for name in $(sed -n 's/.*Logs\/Fixture\.EndsInTheRecordedDigestWithEveryRuleHeld\/"\([a-z_]*\)" \.* *Passed.*/\1/p' \
  build-arm64/tests/proof/qemu.log); do
  echo "replay $name ends in $(cat "tests/proof/logs/$name.digest"), as on Linux amd64"
done
echo "the suites ran under qemu in $((SECONDS - emulated)) s"

tests/packaging/check_deb.sh build-deb-arm64 arm64 "$probe" build-deb/check
echo "arm64 proven in $((SECONDS - started)) s"

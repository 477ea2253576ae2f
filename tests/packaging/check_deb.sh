#!/usr/bin/env bash
# Checks the Debian package scripts/deb made (lintian has passed it there):
# its control fields, its file list, that every library the program links
# comes from a package of its architecture that it depends on, the copyright
# file, the changelog, the manual page and the metainfo in it; then the
# packaged game itself in a real X server (tests/desktop/e2e.sh: its window,
# keys, a click, a resize, 2x, closing with status 0), through qemu when the
# package is for another architecture, and the class its window gives the
# desktop. With a reference, its opening frames at 1x and 2x must be that
# run's, pixel for pixel. What the game showed stays in <build>/check/.
# Usage: check_deb.sh <build> <architecture> <x11_probe> [<reference check folder>]
#   e.g. check_deb.sh build-deb-arm64 arm64 build/tests/desktop/x11_probe build-deb/check
set -uo pipefail
build=$1
arch=$2
probe=$3
reference=${4:-}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/checks.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null)
deb=$build/tessaly_${version}_${arch}.deb
need "scripts/deb made $deb" test -f "$deb"
app=$(app_id "$build")
out=$build/check
rm -rf "$out"
mkdir -p "$out"

field() { dpkg-deb --field "$deb" "$1"; }
check_eq "Package is tessaly" "tessaly" "$(field Package)"
check_eq "Version is the project's" "$version" "$(field Version)"
check_eq "Architecture is $arch" "$arch" "$(field Architecture)"
check_eq "Section is games" "games" "$(field Section)"
check_eq "Priority is optional" "optional" "$(field Priority)"
check "Maintainer is a name and an address" \
  grep -qE '^[^<>]*[^<> ] <[^<>@ ]+@[^<>@ ]+>$' <<<"$(field Maintainer)"
description=$(field Description)
synopsis=$(head -n 1 <<<"$description")
check "Description has a one-line synopsis" test -n "$synopsis" -a ${#synopsis} -le 80
long=$(tail -n +2 <<<"$description")
check "Description has a long part" test -n "$long"
check "the long description's lines are indented" \
  test -z "$(grep -v '^ ' <<<"$long")"
check "the description's lines fit in 80 columns" \
  test -z "$(grep '.\{81\}' <<<"$description")"

# Package names in a relationship field, without versions or architectures.
names() { tr ',|' '\n\n' <<<"$1" | sed 's/(.*)//; s/:.*//; s/ //g' | grep -v '^$' | sort -u; }
depends=$(names "$(field Depends)")
recommends=$(names "$(field Recommends)")
for pkg in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fonts-liberation2; do
  check "Depends names $pkg" grep -qx "$pkg" <<<"$depends"
done
for pkg in fonts-roboto-unhinted fonts-dancingscript fonts-arphic-uming; do
  check "Recommends names $pkg" grep -qx "$pkg" <<<"$recommends"
done

# What the package holds: exactly the game, its desktop files and its
# documentation, the program in /usr/games as Debian keeps games.
doc=./usr/share/doc/tessaly
expected=$(
  printf '%s\n' ./usr/games/tessaly \
    "./usr/share/applications/$app.desktop" \
    "./usr/share/metainfo/$app.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$app.svg" \
    ./usr/share/man/man6/tessaly.6.gz "$doc/copyright" "$doc/changelog.gz"
  for size in 16 32 48 64 128 256; do
    echo "./usr/share/icons/hicolor/${size}x${size}/apps/$app.png"
  done
)
listing=$(dpkg-deb --contents "$deb")
files=$(grep -v '^d' <<<"$listing" | awk '{print $6}' | sort)
check_eq "the package holds exactly the game's files" "$(sort <<<"$expected")" "$files"
check "the program is root's and executable by all" \
  grep -qE '^-rwxr-xr-x root/root .* \./usr/games/tessaly$' <<<"$listing"

unpacked=$work/root
dpkg-deb --extract "$deb" "$unpacked"
game=$unpacked/usr/games/tessaly

# The program is for the package's architecture: its loader is that of
# Debian's libc6 for it. Another architecture's program runs under qemu.
loader=$(readelf --program-headers "$game" | sed -n 's/.*Requesting program interpreter: \(.*\)]$/\1/p')
loader_owner=$(dpkg -S "$loader" 2>/dev/null | cut -d' ' -f1)
check_eq "the program's loader ($loader) is libc6's for $arch" "libc6:$arch:" "$loader_owner"
emulator=()
if [[ $arch != "$(dpkg --print-architecture)" ]]; then
  emulator=("qemu-$(dpkg-architecture --host-arch "$arch" --query DEB_HOST_GNU_CPU 2>/dev/null)-static")
fi

# Every library the program links, as its own loader finds it, comes from a
# package of its architecture that the .deb depends on.
libraries=$("${emulator[@]}" "$loader" --list "$game" 2>&1)
for soname in $(readelf --dynamic "$game" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
  path=$(awk -v so="$soname" '$1 == so {print $3} $1 ~ "/" so "$" {print $1}' <<<"$libraries" | head -n 1)
  owner=
  if [[ -n $path ]]; then
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || dpkg -S "${path#/usr}" 2>/dev/null)
    owner=${owner%%: *}
  fi
  check "Depends covers $soname (${path:-not found}, from ${owner:-no package})" \
    test "${owner#*:}" = "$arch" -a -n "$(grep -x "${owner%%:*}" <<<"$depends")"
done
check "the packaged binary is stripped" \
  test -z "$(readelf --section-headers "$game" | grep -E '\.(debug_|symtab|comment)')"
appstream_check "appstreamcli validate --no-net accepts the packaged metainfo" \
  validate --no-net "$unpacked/usr/share/metainfo/$app.metainfo.xml"
check_eq "the menu entry starts the packaged program" "/usr/games/tessaly" \
  "$(desktop_key Exec "$unpacked/usr/share/applications/$app.desktop")"

# The copyright file in Debian's machine-readable form, its licence text
# the project's LICENSE from the grant on.
copyright=$unpacked/${doc#./}/copyright
check "the copyright file is machine-readable (Format 1.0)" grep -qx \
  'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright"
check_eq "the copyright file covers every file with the Expat (MIT) licence" \
  "Files: *|Copyright: 2026 The Tessaly developers|License: Expat" \
  "$(grep -A2 '^Files:' "$copyright" | paste -sd'|')"
check_eq "its licence text is LICENSE's" "$(sed -n '/^Permission/,$p' "$root/LICENSE")" \
  "$(sed -n '/^License: Expat$/,/^[^ ]/{/^ /p}' "$copyright" | sed 's/^ //; s/^\.$//')"

# The changelog in Debian's form, its latest entry this version.
zcat "$unpacked/${doc#./}/changelog.gz" >"$work/changelog"
check_eq "the changelog's latest entry is version $version" "$version" \
  "$(dpkg-parsechangelog --file "$work/changelog" --show-field Version 2>&1)"
manual_check "man renders the packaged manual page without a warning" "$unpacked/usr/share/man/man6/tessaly.6.gz"

# The packaged game in a real X server, played as tests/desktop plays the
# built one.
run=$game
if ((${#emulator[@]})); then
  run=$work/tessaly
  printf '#!/bin/sh\nexec %s %s "$@"\n' "${emulator[*]}" "$game" >"$run"
  chmod +x "$run"
fi
started=$(date +%s.%N)
"$root/tests/desktop/e2e.sh" "$run" "$probe" "$out/e2e" >"$out/e2e.log" 2>&1
status=$?
sed 's/^/       /' "$out/e2e.log"
check "the packaged game plays under Xvfb ${emulator[*]:+(through ${emulator[*]}) }and closes with status 0" \
  test "$status" -eq 0
echo "       e2e.sh took $(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN {printf "%.1f", b - a}') s"
if [[ -n $reference ]]; then
  for frame in 01-opening:1x 07-hidpi:2x; do
    differ=$(compare -metric AE "$reference/e2e/${frame%:*}.png" "$out/e2e/${frame%:*}.png" \
      "$out/e2e/differ-${frame%:*}.png" 2>&1)
    check_eq "the opening frame at ${frame#*:} is $reference's, pixel for pixel (pixels that differ)" 0 "$differ"
  done
fi

# The class a desktop matches against the menu entry's StartupWMClass.
. "$root/tests/desktop/xvfb.sh"
start_xvfb "$out/xvfb.log"
on_exit 'kill "$xvfb" 2>/dev/null'
"$run" 2>"$out/wm-class.stderr" &
pid=$!
window=$(timeout 30 xdotool search --sync --name '^Form1$' | head -n 1)
class=$(xprop -id "$window" WM_CLASS 2>/dev/null | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/\1/p')
check_eq "the window's class is the menu entry's StartupWMClass" \
  "$(desktop_key StartupWMClass "$unpacked/usr/share/applications/$app.desktop")" "$class"
"$probe" close "$window" 2>/dev/null || kill "$pid"
wait "$pid"
check "closed again, the game ends with status 0" test $? -eq 0

finish

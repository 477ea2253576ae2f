#!/usr/bin/env bash
# Builds the .deb with cpack, checks its control fields and file list with
# dpkg-deb and the whole package with lintian, checks the copyright file,
# the changelog and the manual page in it, then unpacks it and starts the
# packaged game under Xvfb until its window shows, and closes it as a window
# manager's close button would.
# Usage: check_deb.sh <CPackConfig.cmake> <app id> <version> <close_window> <built binary> <LICENSE>
set -uo pipefail
cpack_config=$1
app=$2
version=$3
close_window=$4
binary=$5
licence=$6
. "$(dirname "$0")/checks.sh"
skip_unless_built "$binary"

work=$(mktemp -d)
build=$(dirname "$cpack_config")
manifest=$build/install_manifest.txt
[[ -f $manifest ]] && cp "$manifest" "$work/manifest.saved"
cleanup() {
  if [[ -f $work/manifest.saved ]]; then cp "$work/manifest.saved" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$work"
}
trap cleanup EXIT

arch=$(dpkg --print-architecture)
deb=$work/out/tessaly_${version}_${arch}.deb
if ! cpack --config "$cpack_config" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || [[ ! -f $deb ]]; then
  cat "$work/cpack.log"
  ls "$work/out" 2>/dev/null
  fail "cpack builds tessaly_${version}_${arch}.deb"
  finish
fi
pass "cpack builds tessaly_${version}_${arch}.deb"

field() { dpkg-deb --field "$deb" "$1"; }
check_eq "Package is tessaly" "tessaly" "$(field Package)"
check_eq "Version is the project's" "$version" "$(field Version)"
check_eq "Architecture is this machine's" "$arch" "$(field Architecture)"
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

# lintian: no error and no warning. What it only mentions (informational
# and pedantic tags) is shown, not failed.
tags=$(lintian --fail-on error,warning --display-info --pedantic "$deb" 2>"$work/lintian.err")
status=$?
sed 's/^/       lintian: /' <<<"$tags" | grep -v '^       lintian: $'
if ((status != 0)); then grep -v 'root privileges' "$work/lintian.err" | sed 's/^/       /'; fi
check "lintian finds no error and no warning" test "$status" -eq 0

root=$work/root
dpkg-deb --extract "$deb" "$root"
game=$root/usr/games/tessaly

# Every library the binary links comes from a package the .deb depends on.
for soname in $(objdump -p "$game" | awk '$1 == "NEEDED" {print $2}'); do
  path=$(ldd "$game" | awk -v so="$soname" '$1 == so {print $3}')
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "/usr$path" 2>/dev/null || dpkg -S "${path#/usr}" 2>/dev/null)
  owner=${owner%%:*}
  check "Depends covers $soname (from ${owner:-no package})" \
    grep -qx "${owner:-none}" <<<"$depends"
done
check "the packaged binary is stripped" \
  test -z "$(objdump -h "$game" | awk '$2 ~ /^\.debug_/')"
appstream_check "appstreamcli validate --no-net accepts the packaged metainfo" \
  validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml"
check_eq "the menu entry starts the packaged program" "/usr/games/tessaly" \
  "$(desktop_key Exec "$root/usr/share/applications/$app.desktop")"

# The copyright file in Debian's machine-readable form, its licence text
# the project's LICENSE from the grant on.
copyright=$root/${doc#./}/copyright
check "the copyright file is machine-readable (Format 1.0)" grep -qx \
  'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright"
check_eq "the copyright file covers every file with the Expat (MIT) licence" \
  "Files: *|Copyright: 2026 The Tessaly developers|License: Expat" \
  "$(grep -A2 '^Files:' "$copyright" | paste -sd'|')"
check_eq "its licence text is LICENSE's" "$(sed -n '/^Permission/,$p' "$licence")" \
  "$(sed -n '/^License: Expat$/,/^[^ ]/{/^ /p}' "$copyright" | sed 's/^ //; s/^\.$//')"

# The changelog in Debian's form, its latest entry this version.
zcat "$root/${doc#./}/changelog.gz" >"$work/changelog"
check_eq "the changelog's latest entry is version $version" "$version" \
  "$(dpkg-parsechangelog --file "$work/changelog" --show-field Version 2>&1)"
manual_check "man renders the packaged manual page without a warning" "$root/usr/share/man/man6/tessaly.6.gz"

# Start the packaged game on a virtual screen, wait for its window, close it.
cat >"$work/run.sh" <<'RUN'
game=$1 close_window=$2
"$game" &
pid=$!
window=
for _ in $(seq 1 100); do
  window=$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -n 1)
  [[ -n $window ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [[ -z $window ]]; then
  echo "no window: the game did not show Form1 within 10 s"
  kill "$pid" 2>/dev/null
  wait "$pid"
  exit 10
fi
echo "window $window shows: $(xdotool getwindowname "$window")"
# The class a desktop matches against the menu entry's StartupWMClass.
xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/wm class: \1/p'
"$close_window" "$window" || exit 11
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the game did not end within 10 s of closing its window"
  kill -9 "$pid"
  exit 12
fi
wait "$pid"
status=$?
echo "the game ended with status $status"
exit $((status == 0 ? 0 : 13))
RUN
xvfb-run --auto-servernum --server-args='-screen 0 1024x768x24' \
  bash "$work/run.sh" "$game" "$close_window" >"$work/run.log" 2>&1
status=$?
sed 's/^/       /' "$work/run.log"
check "the packaged game shows its Form1 window under Xvfb" test "$status" -ne 10
check "closing the window ends the game cleanly" test "$status" -eq 0
check_eq "the window's class is the menu entry's StartupWMClass" \
  "wm class: $(desktop_key StartupWMClass "$root/usr/share/applications/$app.desktop")" \
  "$(grep '^wm class: ' "$work/run.log")"

finish

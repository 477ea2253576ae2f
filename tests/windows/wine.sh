#!/usr/bin/env bash
# The Windows build under Wine, in an Xvfb of its own, in the Wine prefix of
# the build folder: tessaly.exe is a window program needing none but Windows'
# own DLLs, with its version, manifest and icon; the zip is at most 6 MB; from
# it the game opens the window the Linux game opens, pixel for pixel, at 1x,
# 1.5x and 2x, in the faces the Linux game draws with, cut down, each drawing
# every pair of its characters as the installed face does; keys serve, pause
# and change the pattern, a click on Pause resumes, closing the window
# ends it with status 0; without faces or a display it says why in a message
# box; the replay fixtures end in the Linux digests; both timers tick 40 times
# a second while it sleeps between ticks; the installer installs silently and
# its uninstaller removes every file and key it made.
# Usage: tests/windows/wine.sh BUILD_WINDOWS TESSALY X11_PROBE
#   BUILD_WINDOWS  scripts/windows's folder (the zip, the installer, game/)
#   TESSALY, X11_PROBE  the Linux game and tests/desktop's probe
set -euo pipefail
out=$(cd "$1" && pwd) linux=$2 probe=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
art=$out/wine-test
rm -rf "$art"
mkdir -p "$art"
# No Mono or Gecko to offer, and no menu entries or icons for the host's
# desktop: what Wine would tell it stays in the build folder.
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export XDG_DATA_HOME=$out/wine-home/share XDG_CONFIG_HOME=$out/wine-home/config

fail() { echo "FAIL: $*" >&2; exit 1; }
zip=$(ls "$out"/tessaly-*-windows-x64.zip 2>/dev/null | head -1)
[[ -f $zip ]] || fail "no zip in $out (scripts/windows makes it)"
setup=${zip%.zip}-setup.exe
version=$(basename "$zip" | sed 's/^tessaly-\(.*\)-windows-x64.zip$/\1/')
# The faces go cut down: whole, AR PL UMing alone made the zip 13 MB.
zip_bytes=$(stat -c %s "$zip")
((zip_bytes <= 6000000)) || fail "the zip is $zip_bytes bytes, over 6 MB"
echo "ok: the zip is $zip_bytes bytes"
unzip -q "$zip" -d "$art/unzipped"
folder=$(ls -d "$art"/unzipped/*/)
exe=${folder}tessaly.exe
(cd "$folder" && find . -type f | sort) >"$art/zip-files"

echo "== the program file"
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "tessaly.exe is not a window program"
echo "ok: a window program, without a console"
imports=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '[:lower:]' '[:upper:]' | sort -u | tr '\n' ' ')
for dll in $imports; do
  case $dll in
    ADVAPI32.DLL | GDI32.DLL | IMM32.DLL | KERNEL32.DLL | MSVCRT.DLL | OLE32.DLL | OLEAUT32.DLL | SETUPAPI.DLL | \
      SHELL32.DLL | USER32.DLL | VERSION.DLL | WINMM.DLL) ;;
    *) fail "tessaly.exe needs $dll, which a bare Windows lacks" ;;
  esac
done
echo "ok: it needs Windows' own DLLs only: $imports"
properties=$(wrestool -x --raw --type=16 "$exe" | strings -el | tr '\n' '|')
for field in "FileVersion|$version" "ProductVersion|$version" "ProductName|Tessaly" "OriginalFilename|tessaly.exe"; do
  [[ $properties == *"|$field|"* ]] || fail "the version information lacks $field: $properties"
done
echo "ok: its properties give version $version"
grep -q '>PerMonitorV2</dpiAwareness>' <(wrestool -x --raw --type=24 "$exe") || fail "no per-monitor DPI awareness"
echo "ok: its manifest makes it aware of each monitor's scale"
wrestool -x --type=14 "$exe" -o "$art/tessaly.ico"
sizes=$(icotool -l "$art/tessaly.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | sort -n | tr '\n' ' ')
[[ $sizes == "16 24 32 48 64 128 256 " ]] || fail "the icon comes in sizes $sizes"
echo "ok: its icon, ${sizes% } pixels"

source "$root/tests/desktop/xvfb.sh"
start_xvfb "$art/xvfb.log"
game=
cleanup() {
  [[ -n "$game" ]] && kill "$game" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
[[ -f $WINEPREFIX/system.reg ]] || { wineboot -i >"$art/wineboot.log" 2>&1; wineserver -w; }
echo "Xvfb on $DISPLAY, Wine prefix $WINEPREFIX"

# Wine lists the host's fonts among Windows' own (Z:\usr\share\fonts\...):
# with them hidden, and fontconfig showing Wine none to list again, the faces
# Windows lacks must come from the zip's fonts folder.
cat >"$art/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>$art/no-fonts</dir><cachedir>$art/fontconfig-cache</cachedir></fontconfig>
CONF
export FONTCONFIG_FILE=$art/fonts.conf # for Wine; the Linux game runs without it
wineserver -k 2>/dev/null || true
{
  echo REGEDIT4
  for key in 'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Fonts'; do
    echo "[$key]"
    wine reg query "$key" | tr -d '\r' | sed -n 's/^    \(.*\)    REG_SZ    Z:\\.*/"\1"=-/p'
  done
} >"$art/hide-host-fonts.reg"
wine regedit /S "$(winepath -w "$art/hide-host-fonts.reg")"
wineserver -w
! wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' | grep -q 'Z:\\' ||
  fail "the host's fonts are still listed as Windows' own"
echo "ok: Windows' font list holds Wine's own faces only"

shots=$art await_seconds=10
source "$root/tests/desktop/play.sh"
start() {  # name command...: the game's window, once it shows
  run=$1
  shift
  "$@" >"$art/$run.out" 2>&1 &
  game=$!
  window=$(timeout 60 xdotool search --sync --name '^Form1$' | head -1) || fail "$run: no window named Form1"
}
# The opening frame at a scale, Linux's at Xft.dpi = DPI and Windows' at
# LogPixels = DPI: the same size, every pixel the same.
same_frame() {  # scale dpi
  local scale=$1 dpi=$2 x y
  x=$(awk -v s="$scale" -v v=$ball_x 'BEGIN {printf "%d", s * v}')
  y=$(awk -v s="$scale" -v v=$ball_y 'BEGIN {printf "%d", s * v}')
  "$probe" dpi "$dpi"
  start "linux-$scale" env -u FONTCONFIG_FILE "$linux"
  await "Linux at ${scale}x: the ball on the bottom paddle" "$x" "$y" "0 0 255"
  local linux_size
  linux_size=$(window_size)
  shot "linux-$scale"
  close_game
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  start "windows-$scale" wine "$exe"
  await "Windows at ${scale}x: the ball on the bottom paddle" "$x" "$y" "0 0 255"
  [[ $(window_size) == "$linux_size" ]] || fail "$run: the window is $(window_size), on Linux $linux_size"
  echo "ok: $run: the window opens at $linux_size, as on Linux"
  shot "windows-$scale"
  local differ
  differ=$(compare -metric AE "$art/linux-$scale.png" "$art/windows-$scale.png" "$art/diff-$scale.png" 2>&1) || true
  [[ $differ == 0 ]] || fail "$run: $differ pixels differ from the Linux frame (diff-$scale.png)"
  echo "ok: $run: the opening frame matches Linux's, every pixel"
}

same_frame 1.5 144
close_game
same_frame 2 192
close_game
same_frame 1 96
# The 1x window stays open for the keys.
play_through
close_game

echo "== the faces tessaly.exe draws with"
# Each font the game asks for, in the face the Linux build draws it with: the
# same family, weight, synthetic bold and design units, from the zip's fonts
# folder (a face cut from a collection is the only face of its file).
cp "$out/game/tools/tessaly-font-manifest/tessaly-font-manifest.exe" "$folder"
wine "${folder}tessaly-font-manifest.exe" | tr -d '\r' >"$art/faces-windows.json"
python3 - "$out/faces.json" "$art/faces-windows.json" <<'CHECK' || fail "the faces differ from Linux's"
import json, sys
def faces(path, separator):
    return [{k: v for k, v in f.items() if k not in ("file", "index")} | {"path": f["file"].split(separator)[-2:]}
            for f in json.load(open(path))]
linux, windows = faces(sys.argv[1], "/"), faces(sys.argv[2], "\\")
for l, w in zip(linux, windows):
    if w["path"][0] != "fonts" or {**l, "path": ""} != {**w, "path": ""}:
        sys.exit(f"on Linux {l}, on Windows {w}")
    print(f"ok: {l['face']}{' bold' if l['bold'] else ''}: {w['family']}, fonts\\{w['path'][1]}")
sys.exit(0 if len(linux) == len(windows) > 0 else "not the same fonts")
CHECK
# Each of them draws as the installed face it was cut from, pair of
# characters by pair, as tessaly.exe's own FreeType, HarfBuzz and SDL_ttf draw.
python3 - "$out/faces.json" "$art/faces-windows.json" <<'PAIRS' | sort -u >"$art/face-pairs"
import json, sys
for l, w in zip(json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))):
    print(l["file"], l["index"], w["file"], int(w["syntheticBold"]), sep="\t")
PAIRS
while IFS=$'\t' read -r installed index cut bold; do
  wine "$out/game/tests/windows/tessaly-face-pairs.exe" "$(winepath -w "$installed" </dev/null)" "$index" "$cut" "$bold" </dev/null |
    tr -d '\r' >"$art/pairs.out" || { cat "$art/pairs.out"; fail "$cut draws otherwise than $installed"; }
  echo "ok: $(cat "$art/pairs.out")"
done <"$art/face-pairs"

echo "== a game that cannot start"
# It says why in a message box titled Tessaly, and ends with status 1 once the
# player has read it, not before.
cannot_start() {  # name sentence command...
  run=$1
  local sentence=$2 box status=0
  shift 2
  "$@" >"$art/$run.out" 2>&1 &
  game=$!
  box=$(timeout 60 xdotool search --sync --name '^Tessaly$' | head -1) || fail "$run: no message box"
  sleep 0.5
  kill -0 "$game" 2>/dev/null || fail "$run: the game ended before the message box was answered"
  import -window "$box" "$art/$run-box.png"
  xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
  xdotool key Return
  wait "$game" || status=$?
  game=
  [[ $status -eq 1 ]] || fail "$run: status $status, not 1"
  grep -qxF "tessaly: $sentence" <(tr -d '\r' <"$art/$run.out") || { cat "$art/$run.out"; fail "$run: not the sentence"; }
  echo "ok: $run: a message box says why, then status 1"
}
# Without the zip's fonts folder, and with the host's fonts hidden, none of
# the faces the game asks for is left: the frames above were drawn in the
# shipped ones.
mkdir -p "$art/bare"
cp "$exe" "$art/bare/"
cannot_start no-face "no usable font is installed (neither Windows' fonts nor those shipped in the fonts folder \
beside tessaly.exe offer one that opens)." wine "$art/bare/tessaly.exe"
# SDL's dummy driver shows nothing on any screen.
cannot_start no-display "no display is available for the game window (SDL_VIDEODRIVER names a driver that shows \
nothing: unset it)." env SDL_VIDEODRIVER=dummy wine "$exe"

echo "== the replay fixtures"
replayed=$(wine "$out/game/tests/windows/tessaly-replay.exe" "$(winepath -w "$root/tests/proof/logs")" | tr -d '\r')
echo "$replayed"
for digest in "$root"/tests/proof/logs/*.digest; do
  line="$(basename "$digest" .digest): $(cat "$digest") as recorded"
  grep -qxF "$line" <<<"$replayed" || fail "replay: no line \"$line\""
done
grep -qx "$(ls "$root"/tests/proof/logs/*.log | wc -l) passed, 0 failed" <<<"$replayed" || fail "replay: not every fixture passed"
echo "ok: every fixture ends in the Linux digest"

echo "== the timers, 20 s of play"
cp "$out/game/tools/tessaly-live/tessaly-live.exe" "$folder"
live=$(wine "${folder}tessaly-live.exe" --seconds 20 --play-only --check | tr -d '\r') || { echo "$live"; fail "timers"; }
echo "$live"
for timer in 1 2; do
  grep -qE "^check: Timer$timer (39\.|40\.|41\.00)[0-9]* ticks a second over 20 s$" <<<"$live" ||
    fail "Timer$timer is not at 40 +- 1 ticks a second"
done
echo "ok: both timers at 40 +- 1 ticks a second"
# Between ticks the loop sleeps: a loop that spun to keep time would take a whole core.
cpu=$(sed -n 's/^play .* CPU *\([0-9.]*\) % of one core.*/\1/p' <<<"$live")
[[ -n $cpu ]] && awk -v c="$cpu" 'BEGIN {exit !(c < 25)}' || fail "the game took $cpu % of a core"
echo "ok: the game took $cpu % of one core: it sleeps between ticks"

echo "== the installer"
# What the prefix holds before: files under C:\users, and the user's keys
# that name Tessaly. After uninstalling, exactly that again.
snapshot() {  # name
  wineserver -w
  (cd "$WINEPREFIX/drive_c/users" && find . -type f | sort) >"$art/$1-files"
  grep -i tessaly "$WINEPREFIX/user.reg" >"$art/$1-keys" || true
}
snapshot before
wine "$setup" /S
wineserver -w
windows_path() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
installed=$(windows_path LOCALAPPDATA)/Programs/Tessaly
shortcut=$(windows_path APPDATA)"/Microsoft/Windows/Start Menu/Programs/Tessaly.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly'
(cd "$installed" && find . -type f ! -name uninstall.exe | sort) >"$art/installed-files"
cmp -s "$art/zip-files" "$art/installed-files" || { diff "$art/zip-files" "$art/installed-files"; fail "installed files"; }
[[ -f $installed/uninstall.exe && -f $shortcut ]] || fail "no uninstaller or no Start-menu entry"
registered=$(wine reg query "$key" | tr -d '\r')
for value in "DisplayName    REG_SZ    Tessaly" "DisplayVersion    REG_SZ    $version" \
  "UninstallString    REG_SZ    \"$(winepath -w "$installed")\\uninstall.exe\""; do
  grep -qF "$value" <<<"$registered" || { echo "$registered"; fail "the uninstall entry lacks $value"; }
done
echo "ok: installed into $installed: every file of the zip, the Start-menu entry, the uninstall entry"
start installed wine "$installed/tessaly.exe"
await "the installed game opens" $ball_x $ball_y "0 0 255"
close_game
wine "$installed/uninstall.exe" /S
# The uninstaller runs from a copy in %TEMP% that Windows deletes at the next
# restart, as Wine's restart does.
wineserver -w
wineboot -r
snapshot after
[[ ! -e $installed && ! -e $shortcut ]] || fail "the uninstaller left the game's folder or its Start-menu entry"
cmp -s "$art/before-files" "$art/after-files" ||
  { diff "$art/before-files" "$art/after-files"; fail "the uninstaller left files behind"; }
cmp -s "$art/before-keys" "$art/after-keys" ||
  { diff "$art/before-keys" "$art/after-keys"; fail "the uninstaller left keys behind"; }
echo "ok: uninstalled: the prefix's files and keys as they were before"

#!/usr/bin/env bash
# Installs the game into a throw-away prefix with cmake --install and checks
# that every file lies where a desktop and man look for it, that the menu
# entry, the metainfo and the manual page pass their checkers, and that the
# install manifest uninstalls it all.
# Usage: check_install.sh <build dir> <built binary> <gamesdir> <mandir> <docdir>
#   (the last three as configured, relative to the prefix)
set -uo pipefail
build=$1
program_built=$2
gamesdir=$3
mandir=$4
docdir=$5
. "$(dirname "$0")/checks.sh"
app=$(app_id "$build")
need "the desktop game is built ($program_built)" test -x "$program_built"

# Running the tests must not lose the manifest of a real install from this
# build directory.
manifest=$build/install_manifest.txt
if [[ -f $manifest ]]; then
  cp "$manifest" "$work/manifest.saved"
  on_exit 'cp "$work/manifest.saved" "$manifest"'
else
  on_exit 'rm -f "$manifest"'
fi

prefix=$work/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  fail "cmake --install into $prefix"
  finish
fi
pass "cmake --install into a temporary prefix"

share=$prefix/share
desktop=$share/applications/$app.desktop
metainfo=$share/metainfo/$app.metainfo.xml

program=$prefix/$gamesdir/tessaly
check "the program is in $gamesdir/ and executable" test -x "$program"
check "the menu entry is in share/applications/" test -f "$desktop"
check "the metainfo is in share/metainfo/" test -f "$metainfo"
check "the scalable icon is in the hicolor theme" test -f "$share/icons/hicolor/scalable/apps/$app.svg"
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$app.png
  check_eq "the ${size}x${size} icon is a ${size}x${size} PNG" "PNG ${size}x${size}" \
    "$(identify -format '%m %wx%h' "$png" 2>&1)"
done

check "desktop-file-validate accepts the menu entry" desktop-file-validate "$desktop"
check_eq "the menu entry is named Tessaly" "Tessaly" "$(desktop_key Name "$desktop")"
check "the menu entry has a one-line comment" test -n "$(desktop_key Comment "$desktop")"
categories=$(desktop_key Categories "$desktop")
check "the menu entry is in the Game category" grep -q '\(^\|;\)Game;' <<<"$categories"
check "the menu entry is in the ArcadeGame category" grep -q '\(^\|;\)ArcadeGame;' <<<"$categories"
check_eq "the menu entry starts the installed program by its full path" "$program" \
  "$(desktop_key Exec "$desktop")"
icon=$(desktop_key Icon "$desktop")
check_eq "the menu entry's icon is named after the app" "$app" "$icon"

appstream_check "appstreamcli validate --no-net accepts the metainfo" validate --no-net "$metainfo"
# The tree as a software centre reads it: the metainfo with the menu entry
# it launches.
appstream_check "appstreamcli validate-tree --no-net accepts the installed tree" validate-tree --no-net "$prefix"
check "the metainfo launches the installed menu entry" \
  grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo"
check "the metainfo carries a content rating" grep -q '<content_rating type="oars-1' "$metainfo"
check "the metainfo names the MIT licence" grep -q '<project_license>MIT</project_license>' "$metainfo"

manual_check "man renders the installed manual page without a warning" "$prefix/$mandir/man6/tessaly.6.gz"
check "the copyright file is in $docdir/" test -f "$prefix/$docdir/copyright"
check "the changelog is in $docdir/, compressed" gzip -t "$prefix/$docdir/changelog.gz"

# Every installed file is in the manifest, so uninstalling from it leaves
# nothing behind.
installed=$(cd / && find "$prefix" \( -type f -o -type l \) | sort)
check_eq "the manifest lists every installed file" "$installed" "$(sort "$manifest")"
xargs rm -f <"$manifest"
check_eq "uninstalling from the manifest removes every file" "" \
  "$(find "$prefix" \( -type f -o -type l \))"

finish

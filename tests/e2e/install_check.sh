#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the program, a launcher entry and metadata that validate, the icon at every
# size, the help file.
set -u
build=$1 source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "$*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "install failed"
[ -x "$prefix/bin/solvane" ] || fail "no bin/solvane"

desktop=$prefix/share/applications/solvane.desktop
desktop-file-validate "$desktop" || fail "the launcher entry does not validate"
grep -qx 'Exec=solvane %F' "$desktop" || fail "the launcher does not pass the files"
for t in audio/mpeg video/mp4 audio/x-mpegurl audio/mpegurl application/vnd.apple.mpegurl audio/x-scpls; do
  grep -q "^MimeType=.*\(=\|;\)$t;" "$desktop" || fail "MimeType lacks $t"
done

metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "no metainfo"
appstreamcli validate --no-net "${metainfo[0]}" || fail "the metainfo does not validate"
grep -q '<launchable type="desktop-id">solvane.desktop</launchable>' "${metainfo[0]}" || fail "metainfo names another launcher"

[ -f "$prefix/share/icons/hicolor/scalable/apps/solvane.svg" ] || fail "no scalable icon"
for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/solvane.png
  [ -f "$png" ] || fail "no ${size}px icon"
  # Width and height from the PNG header.
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w $h" = "$size $size" ] || fail "${size}px icon is ${w}x$h"
done

if [ -f "$source/resources/help/Solvane.hlp" ]; then
  [ -f "$prefix/share/solvane/Solvane.hlp" ] || fail "help file not installed"
fi
echo "installed tree validates"

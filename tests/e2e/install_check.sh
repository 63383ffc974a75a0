#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the program, a launcher entry and metadata that validate, the icon at every
# size, the help file.
build=$1
. "$(dirname "$0")/lib.sh"
prefix=$work

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "install failed"
[ -x "$prefix/bin/solvane" ] || fail "no bin/solvane"
[ -f "$prefix/share/solvane/Solvane.hlp" ] || fail "help file not installed"

desktop=$prefix/share/applications/solvane.desktop
desktop-file-validate "$desktop" || fail "the launcher entry does not validate"
grep -qx 'Exec=solvane %F' "$desktop" || fail "the launcher does not pass the files"
for t in audio/mpeg video/mp4 audio/x-mpegurl audio/mpegurl application/vnd.apple.mpegurl audio/x-scpls; do
  grep -q "^MimeType=.*\(=\|;\)$t;" "$desktop" || fail "MimeType lacks $t"
done

metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "${metainfo[0]}" || fail "the metainfo does not validate"
grep -q '<launchable type="desktop-id">solvane.desktop</launchable>' "${metainfo[0]}" || fail "metainfo names another launcher"

[ -f "$prefix/share/icons/hicolor/scalable/apps/solvane.svg" ] || fail "no scalable icon"
for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/solvane.png
  [ "$(identify -format %wx%h "$png" 2>/dev/null)" = "${size}x$size" ] || fail "no ${size}px icon, or one of another size"
done

#!/usr/bin/env bash
# The real program on a private session bus (run under dbus-run-session):
# a second start hands its files to the running player and ends within a
# second, or names on its standard error a file the player did not take; the
# MPRIS remote then reads and drives what plays, and every change
# is announced.
exe=$1
. "$(dirname "$0")/lib.sh"
fail() { { echo "FAIL: $*"; echo "--- bus signals:"; head -60 "$work/signals"; } >&"$out" 2>&1; exit 1; }

svc=org.mpris.MediaPlayer2.solvane
get() {
  dbus-send --session --reply-timeout=5000 --print-reply=literal --dest=$svc /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player "string:$1" 2>/dev/null
}
call() { dbus-send --session --reply-timeout=5000 --print-reply --dest=$svc /org/mpris/MediaPlayer2 "org.mpris.MediaPlayer2.$1" "${@:2}" >/dev/null; }
# True when one PropertiesChanged signal on the bus carried text matching $1.
announced() {
  awk -v pat="$1" '/^signal/ { if (b ~ /PropertiesChanged/ && b ~ pat) f = 1; b = "" }
                   { b = b $0 "\n" } END { if (b ~ /PropertiesChanged/ && b ~ pat) f = 1; exit !f }' "$work/signals"
}
status() { get PlaybackStatus | awk '{print $NF}'; }
# drive METHOD STATUS: calls the player's METHOD, then waits for STATUS.
drive() { local want=$2; call "Player.$1"; waitFor 3 eval '[ "$(status)" = "$want" ]' || fail "$1: $(status), not $want"; }
# True when the text $1 holds every one of the other arguments.
holdsAll() { local t=$1 w; shift; for w; do grep -qF -- "$w" <<<"$t" || return 1; done; }

step "making two sounds"
for name in un deux; do
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=6" -metadata title="Titre $name" \
         -metadata artist="Essai" "$work/$name.wav" || fail "ffmpeg"
done

dbus-monitor --session "type='signal',path='/org/mpris/MediaPlayer2'" > "$work/signals" 2>&1 & pids+=($!)
waitFor 5 eval '[ -s "$work/signals" ]' || fail "dbus-monitor did not start"

step "starting the player"
"$exe" & first=$!; pids+=($first)
waitFor 10 eval '[ -n "$(status)" ]' || fail "the player never appeared on the bus"
[ "$(status)" = Stopped ] || fail "status at start is $(status)"
err=$(timeout 10 "$exe" "$work/a
b.mp3" 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] && [[ $err == *"$work/a"$'\n'"b.mp3"* ]] || fail "a file not taken was not reported (rc=$rc: $err)"

# Hand-over: the second start ends within a second, the first plays.
step "second start"
cd "$work"
t0=$(date +%s%N)
timeout 5 "$exe" un.wav deux.wav; rc=$?
ms=$(( ($(date +%s%N) - t0) / 1000000 ))
[ $rc -eq 0 ] || fail "second start ended with $rc"
[ $ms -lt 1000 ] || fail "second start took $ms ms"
waitFor 10 eval '[ "$(status)" = Playing ]' || fail "the running player did not play the handed file ($(status))"
# The tags and the length are known once the file is open.
meta=""
waitFor 3 eval 'meta=$(get Metadata); holdsAll "$meta" "Titre un" "file://$work/un.wav" Essai mpris:length' \
  || fail "title, file, artist or length missing from: $meta"

step "driving the player over MPRIS"
drive Pause Paused
waitFor 3 eval 'announced "string \"Paused\""' || fail "no PropertiesChanged for the pause"
drive Play Playing

call Player.Seek int64:2000000
waitFor 3 eval 'grep -q "member=Seeked" "$work/signals"' || fail "no Seeked signal"
pos=$(get Position | awk '{print $NF}')
[ "${pos:-0}" -ge 1500000 ] || fail "position after a 2 s seek: $pos"

call Player.Next
waitFor 3 eval 'get Metadata | grep -q "deux.wav"' || fail "next did not move to deux.wav"
waitFor 3 eval 'announced "deux.wav"' || fail "no PropertiesChanged for the new file"
waitFor 3 eval '[ "$(status)" = Playing ]' || fail "after next: $(status)"

drive Stop Stopped

# Quit is the exit zone (that it stores the windows' places, the desktop
# windows script checks with a restart): the program ends.
call Quit 2>/dev/null
waitFor 5 allGone $first || fail "quit did not end the program"
echo "hand-over in $ms ms; MPRIS status, metadata, pause, play, seek, next, stop and quit work"

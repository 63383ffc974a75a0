#!/usr/bin/env bash
# The real program on a private session bus (run under dbus-run-session):
# a second start hands its files to the running player and ends within a
# second; the MPRIS remote then reads and drives what plays, and every change
# is announced.
set -u
exe=$1
work=$(mktemp -d)
first= monitor=
trap 'kill $first $monitor 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
fail() { echo "FAIL: $*"; echo "--- bus signals:"; cat "$work/signals" 2>/dev/null | head -60; exit 1; }
# Polls `cond` (a shell snippet) for up to `$2` tenths of a second.
until_true() { for _ in $(seq "${2:-100}"); do eval "$1" && return 0; sleep 0.1; done; return 1; }

svc=org.mpris.MediaPlayer2.solvane
get() {
  dbus-send --session --print-reply=literal --dest=$svc /org/mpris/MediaPlayer2 \
    org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player "string:$1" 2>/dev/null
}
call() { dbus-send --session --print-reply --dest=$svc /org/mpris/MediaPlayer2 "org.mpris.MediaPlayer2.$1" "${@:2}" >/dev/null; }
# True when one PropertiesChanged signal on the bus carried text matching $1.
announced() {
  awk -v pat="$1" '/^signal/ { if (b ~ /PropertiesChanged/ && b ~ pat) f = 1; b = "" }
                   { b = b $0 "\n" } END { if (b ~ /PropertiesChanged/ && b ~ pat) f = 1; exit !f }' "$work/signals"
}
status() { get PlaybackStatus | awk '{print $NF}'; }

for name in un deux; do
  ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=6" -metadata title="Titre $name" \
         -metadata artist="Essai" "$work/$name.wav" || fail "ffmpeg"
done

dbus-monitor --session "type='signal',path='/org/mpris/MediaPlayer2'" > "$work/signals" 2>&1 & monitor=$!
until_true '[ -s "$work/signals" ]' 50 || fail "dbus-monitor did not start"

"$exe" & first=$!
until_true '[ -n "$(status)" ]' || fail "the player never appeared on the bus"
[ "$(status)" = Stopped ] || fail "status at start is $(status)"

# Hand-over: the second start ends within a second, the first plays.
cd "$work"
t0=$(date +%s%N)
timeout 5 "$exe" un.wav deux.wav; rc=$?
ms=$(( ($(date +%s%N) - t0) / 1000000 ))
[ $rc -eq 0 ] || fail "second start ended with $rc"
[ $ms -lt 1000 ] || fail "second start took $ms ms"
until_true '[ "$(status)" = Playing ]' || fail "the running player did not play the handed file ($(status))"
# The tags and the length are known once the file is open.
until_true 'get Metadata | grep -q "Titre un"' 30 || fail "no title in: $(get Metadata)"
meta=$(get Metadata)
grep -q "file://$work/un.wav" <<<"$meta" || fail "metadata: $meta"
grep -q "Essai" <<<"$meta" || fail "no artist in: $meta"
grep -q "mpris:length" <<<"$meta" || fail "no length in: $meta"

call Player.Pause
until_true '[ "$(status)" = Paused ]' 30 || fail "pause: $(status)"
until_true 'announced "string \"Paused\""' 30 || fail "no PropertiesChanged for the pause"
call Player.Play
until_true '[ "$(status)" = Playing ]' 30 || fail "play: $(status)"

call Player.Seek int64:2000000
until_true 'grep -q "member=Seeked" "$work/signals"' 30 || fail "no Seeked signal"
pos=$(get Position | awk '{print $NF}')
[ "${pos:-0}" -ge 1500000 ] || fail "position after a 2 s seek: $pos"

call Player.Next
until_true 'get Metadata | grep -q "deux.wav"' 30 || fail "next did not move to deux.wav"
until_true 'announced "deux.wav"' 30 || fail "no PropertiesChanged for the new file"
until_true '[ "$(status)" = Playing ]' 30 || fail "after next: $(status)"

call Player.Stop
until_true '[ "$(status)" = Stopped ]' 30 || fail "stop: $(status)"

# Quit is the exit zone: the program ends and keeps its window position.
dbus-send --session --print-reply --dest=$svc /org/mpris/MediaPlayer2 org.mpris.MediaPlayer2.Quit >/dev/null 2>&1
until_true '! kill -0 $first 2>/dev/null' 50 || fail "quit did not end the program"
grep -q '^X=' "$XDG_CONFIG_HOME"/Solvane/Solvane.ini 2>/dev/null || fail "positions not stored at quit"
first=
echo "hand-over in $ms ms; MPRIS status, metadata, pause, play, seek, next, stop and quit work"

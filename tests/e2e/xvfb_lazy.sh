#!/usr/bin/env bash
# The real program under a real X server pays only for what it plays: with
# nothing to play libmpv is not even loaded; playing sound loads libmpv but
# no OpenGL driver; a clip that quits at its end leaves within moments.
set -u
exe=$1
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY PULSE_SERVER
export QT_QPA_PLATFORM=xcb

ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=440:duration=20" "$work/tone.wav" || exit 1
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
cp "$exe" "$work/solvane"  # the program's own folder: a fresh one

fail() { echo "$1"; exit 1; }
# libraries mapped by process $1 whose name matches $2
mapped() { grep -E "$2" "/proc/$1/maps" 2>/dev/null | awk '{print $6}' | sort -u; }
window() {  # waits for a visible window titled $1
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

"$work/solvane" >"$work/log" 2>&1 &
pid=$!
window '^Solvane$' || fail "no main window"
sleep 1
[ -z "$(mapped $pid 'libmpv|libavcodec|libLLVM|_dri\.so|libGLX_mesa')" ] \
  || fail "nothing played, yet loaded: $(mapped $pid 'libmpv|libavcodec|libLLVM|_dri\.so|libGLX_mesa')"
echo "idle: neither libmpv nor an OpenGL driver loaded"
kill $pid; wait $pid 2>/dev/null

"$work/solvane" "$work/tone.wav" >"$work/log" 2>&1 &
pid=$!
window 'tone.wav' || fail "no video window for the sound file"
for _ in $(seq 50); do [ -n "$(mapped $pid libmpv)" ] && break; sleep 0.1; done
sleep 1
[ -n "$(mapped $pid libmpv)" ] || fail "playing sound without libmpv?"
[ -z "$(mapped $pid 'libLLVM|_dri\.so|libGLX_mesa')" ] \
  || fail "sound alone loaded OpenGL: $(mapped $pid 'libLLVM|_dri\.so|libGLX_mesa')"
echo "sound: libmpv loaded, no OpenGL driver"
kill $pid; wait $pid 2>/dev/null

# Quit at the end of a 1 s clip, played once.
ffmpeg -loglevel error -y -f lavfi -i "testsrc2=size=320x240:rate=25:duration=1" -f lavfi \
  -i "sine=frequency=440:duration=1" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest \
  "$work/clip.mp4" || exit 1
printf ' 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  1  0  0 \r\n 1 -100  0  0 \r\n' >"$work/Solvane.cfg"
start=$(date +%s%N)
timeout 20 "$work/solvane" "$work/clip.mp4" >"$work/log" 2>&1 || fail "the clip did not end the program: $(cat "$work/log")"
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "a 1 s clip, start to exit: $ms ms"
[ "$ms" -lt 8000 ] || fail "start to exit took $ms ms"

#!/usr/bin/env bash
# What the picture shows when one video of a list follows another: a red
# then a blue 2 s clip (320x240) in one list, play count 1, on a private
# Xvfb; the video window is grabbed every IV ms (XGetImage of the screen
# area, the peer harness's grab tool) and each grab's picture classed by the
# colour of most of its middle: red, blue, black or other. A change without
# a flash reads "red xN blue xM"; a black grab between them is a flash, a red
# one after a blue an old frame.
#   bench/video_change_grabs.sh build/solvane [RUNS]
#   (IV, default 10 ms; CNT grabs per run, default 450; BENCH_PEERS as in
#   play720_paths.sh)
set -u
BIN=$(realpath "${1:?usage: $0 SOLVANE_BINARY [RUNS]}")
RUNS=${2:-5}
IV=${IV:-10} CNT=${CNT:-450}
HB=${BENCH_PEERS:-/work/shared/bench-peers}
W=$(mktemp -d)
trap 'kill "$XPID" 2>/dev/null; rm -rf "$W"' EXIT
gcc -O2 -o "$W/grab" "$HB/extra/grab.c" -lX11 || exit 1
for c in red blue; do
    ffmpeg -loglevel error -f lavfi -i "color=c=$c:s=320x240:r=25:d=2" -c:v libx264 -pix_fmt yuv420p "$W/$c.mp4" || exit 1
done
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$W/display" >/dev/null 2>&1 &
XPID=$!
for _ in $(seq 100); do [[ -s $W/display ]] && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$W/display")
ROOT=$(xwininfo -root | awk '/Window id/{print $4}')

one() { # PATH_CHOICE: one run, prints the classes of the grabs, run-length coded
    local home=$W/home out=$W/out pid win=
    rm -rf "$home" "$out"; mkdir -p "$home/.config/Solvane" "$out"
    # play count 1, no exit at the end
    printf ' 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  1  0  0 \r\n 0 -100  0  0 \r\n' >"$home/.config/Solvane/Solvane.cfg"
    HOME=$home XDG_RUNTIME_DIR=$home SOLVANE_VIDEO=$1 "$BIN" "$W/red.mp4" "$W/blue.mp4" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 200); do
        win=$(xdotool search --onlyvisible --name 'red\.mp4' 2>/dev/null | head -1)
        [[ -n $win ]] && break
        sleep 0.02
    done
    [[ -n $win ]] || { kill "$pid"; echo "no video window"; return; }
    eval "$(xdotool getwindowgeometry --shell "$win")"
    GRAB_RECT="$X,$Y,$WIDTH,$HEIGHT" "$W/grab" "$ROOT" "$IV" "$CNT" "$out" >/dev/null 2>&1
    kill "$pid"; wait "$pid" 2>/dev/null
    python3 - "$out" <<'EOF'
import glob, itertools, sys
seq = []
for f in sorted(glob.glob(sys.argv[1] + '/g*.ppm')):
    head, dims, _, px = open(f, 'rb').read().split(b'\n', 3)
    w, h = map(int, dims.split())
    n = {}
    for y in range(h * 3 // 10, h * 7 // 10, 4):
        for x in range(w * 3 // 10, w * 7 // 10, 4):
            r, g, b = px[(y * w + x) * 3:(y * w + x) * 3 + 3]
            k = 'black' if max(r, g, b) < 40 else 'red' if r > 150 and b < 80 else 'blue' if b > 150 and r < 80 else 'other'
            n[k] = n.get(k, 0) + 1
    seq.append(max(n, key=n.get))
print(' '.join('%s x%d' % (k, len(list(g))) for k, g in itertools.groupby(seq)))
EOF
}
for ((i = 1; i <= RUNS; i++)); do
    for p in gl image; do echo "$p: $(one $p)"; done
done

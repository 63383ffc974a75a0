#!/usr/bin/env bash
# The real program under a real X server: a clip given on the command line
# plays in the video window, and the picture on screen is the clip's.
set -u
exe=$1
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# An orange clip: easy to tell from the skin, the toolbar and the desktop.
clip=$work/orange.mp4
ffmpeg -loglevel error -y -f lavfi -i "color=c=0xF08020:size=320x240:rate=25:duration=8" \
  -f lavfi -i "sine=frequency=440:duration=8" -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$clip" || exit 1

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 & pids+=($!)
# Windows mapped while the window manager is still starting may never show.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done

cp "$exe" "$work/solvane"  # the program's own folder: a fresh one
"$work/solvane" "$clip" >"$work/log" 2>&1 & pids+=($!)

# The video window is titled with the clip's path.
win=""
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name "orange.mp4" 2>/dev/null | head -n1)
  [ -n "$win" ] && break; sleep 0.1
done
[ -n "$win" ] || { echo "no video window"; cat "$work/log"; exit 1; }

eval "$(xdotool getwindowgeometry --shell "$win")"
cx=$((X + WIDTH / 2)); cy=$((Y + HEIGHT / 2))
ok=""
for _ in $(seq 50); do
  import -window root "$work/shot.png" 2>/dev/null
  rgb=$(convert "$work/shot.png" -format "%[fx:int(255*p{$cx,$cy}.r)] %[fx:int(255*p{$cx,$cy}.g)] %[fx:int(255*p{$cx,$cy}.b)]" info:)
  read -r r g b <<<"$rgb"
  if [ $((r > 200 && r < 255 && g > 100 && g < 160 && b < 80)) = 1 ]; then ok=1; break; fi
  sleep 0.2
done
[ -n "$ok" ] || { echo "centre of the video window is rgb($rgb), not the clip's orange"; cat "$work/log"; exit 1; }
echo "video window centre shows the clip: rgb($rgb)"

[ ! -e "$work/Solvane.cfg" ] || { echo "start-up created Solvane.cfg"; exit 1; }

#!/usr/bin/env bash
# The real program under a real X server: a clip given on the command line
# plays in the video window, and the picture on screen is the clip's.
exe=$1
. "$(dirname "$0")/lib.sh"

step "making the clip"
# An orange clip: easy to tell from the skin, the toolbar and the desktop.
clip=$work/orange.mp4
ffmpeg -loglevel error -y -f lavfi -i "color=c=0xF08020:size=320x240:rate=25:duration=8" \
  -f lavfi -i "sine=frequency=440:duration=8" -c:v libx264 -pix_fmt yuv420p -c:a aac -shortest "$clip" || exit 1

startDesktop
startProgram app "$clip"  # the program's own folder: a fresh one

# The video window is titled with the clip's path.
win=$(window "orange.mp4") || fail "no video window"

step "checking the picture"
eval "$(x xdotool getwindowgeometry --shell "$win")"
cx=$((X + WIDTH / 2)); cy=$((Y + HEIGHT / 2))
orange() {
  rgb=$(pixelAt $cx $cy)
  read -r r g b <<<"$rgb"
  [ $((r > 200 && r < 255 && g > 100 && g < 160 && b < 80)) = 1 ]
}
rgb=""
waitFor 10 orange || fail "centre of the video window is rgb($rgb), not the clip's orange"
echo "video window centre shows the clip: rgb($rgb)"

[ ! -e "$work/app/Solvane.cfg" ] || fail "start-up created Solvane.cfg"

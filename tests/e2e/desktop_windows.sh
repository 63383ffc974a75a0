#!/usr/bin/env bash
# The windows as a user meets them under a real X server and window manager:
# a 1280 x 720 clip shows whole at 100 %, the video window opens beside the
# main window, keeps a size given by hand, the playlist follows a drag of the
# main window while it moves, and a sound after a video shows no frame of it.
exe=$1
. "$(dirname "$0")/lib.sh"

step "making the clip"
# Green with a red edge: a cropped picture loses the red.
clip=$work/edges.mp4
ffmpeg -loglevel error -y -f lavfi -i "color=c=0x20C020:size=1280x720:rate=25:duration=30,drawbox=x=0:y=0:w=1280:h=720:color=0xE02020:t=48" \
  -f lavfi -i "sine=frequency=440:duration=30" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$clip" || exit 1

startDesktop
startProgram app "$clip"

rect() { eval "$(x xdotool getwindowgeometry --shell "$1")"; echo "$X $Y $WIDTH $HEIGHT"; }
v=$(window "edges.mp4"); [ -n "$v" ] || fail "no video window"
m=$(window "^Solvane$"); [ -n "$m" ] || fail "no main window"

# 1. The whole picture: along the middle row, the first and last coloured
# pixels are the red edge, not the green inside.
read -r X Y W H <<<"$(rect "$v")"
step "checking the picture's edges"
rowEnds() {
  x import -window root "$work/shot.png" 2>/dev/null
  ends=$(convert "$work/shot.png" -crop "${W}x1+${X}+$((Y + H / 2 - 30))" txt:- | awk -F'[(),]' 'NR > 1 {
      r = $3; g = $4; b = $5
      c = (r > 150 && g < 100 && b < 100) ? "R" : ((g > 150 && r < 100 && b < 100) ? "G" : "")
      if (c != "") { if (first == "") first = c; last = c } }
      END { print first last }')
  [ "$ends" = "RR" ]
}
ends=""
waitFor 10 rowEnds || fail "picture cut at 100 % (row ends: '$ends')"
echo "1280x720 clip shows whole at 100 %"

step "checking the video window's place"
# 2. Beside the main window, not over it.
read -r mx my mw mh <<<"$(rect "$m")"
read -r X Y W H <<<"$(rect "$v")"
if [ $((X < mx + mw && mx < X + W && Y < my + mh + 30 && my < Y + H)) = 1 ]; then
  fail "video window ($X,$Y ${W}x$H) covers the main window ($mx,$my ${mw}x$mh)"
fi
echo "video window opens beside the main window"

# 3. A size given by hand stays after clicking the main window and back.
step "resizing the video window"
x xdotool windowsize "$v" 700 560; sleep 0.8
x xdotool mousemove --window "$m" 300 60 click 1; sleep 0.8
read -r X Y W H <<<"$(rect "$v")"
x xdotool mousemove $((X + W / 2)) $((Y + H / 3)) click 1; sleep 1
read -r X Y W H <<<"$(rect "$v")"
[ "$W $H" = "700 560" ] || fail "video window went back to ${W}x$H"
echo "video window keeps the size given by hand"

# 4. The playlist follows the main window during a drag, and opening the
# face leaves the focus on the main window.
step "dragging the main window"
x xdotool mousemove --window "$m" 156 20 click 1; sleep 1
l=$(window "^Form1$"); [ -n "$l" ] || fail "no playlist window"
[ "$(x xdotool getactivewindow)" = "$m" ] || fail "opening the face moved the focus"
# Out of the task bar and the window switcher, exactly as wide as the main window.
x xprop -id "$l" _NET_WM_STATE | grep -q 'SKIP_TASKBAR.*SKIP_PAGER' || fail "the playlist window is in the task bar or the switcher"
read -r _ _ mw _ <<<"$(rect "$m")"; read -r _ _ lw _ <<<"$(rect "$l")"
IFS=', ' read -r el er _ <<<"$(x xprop -id "$m" _NET_FRAME_EXTENTS | sed 's/.*= //')"
[ "$lw" = $((mw + el + er)) ] || fail "playlist ${lw} px wide under a main window of $((mw + el + er)) px"
read -r mx my mw mh <<<"$(rect "$m")"
read -r lx0 ly0 _ _ <<<"$(rect "$l")"
sx=$((mx + 300)); sy=$((my + 40))
x xdotool mousemove $sx $sy mousedown 1; sleep 0.3
for i in $(seq 10); do x xdotool mousemove $((sx - 15 * i)) $((sy + 20 * i)); sleep 0.05; done
sleep 0.5
read -r mx2 my2 _ _ <<<"$(rect "$m")"
read -r lx ly _ _ <<<"$(rect "$l")"
x xdotool mouseup 1
[ "$mx2 $my2" != "$mx $my" ] || fail "the main window did not move"
# Docked as before the drag: the same offset from the main window.
dx=$(( (lx - mx2) - (lx0 - mx) )); dy=$(( (ly - my2) - (ly0 - my) ))
[ $((dx > -4 && dx < 4 && dy > -4 && dy < 4)) = 1 ] || fail "playlist at $lx,$ly while the main window is at $mx2,$my2"
echo "playlist follows the main window during the drag"

# 5. A sound opened after the video: the picture area is black, no frame of
# the video stays.
step "opening a sound"
mkdir -p "$work/sons"
ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=660:duration=20" "$work/sons/son.wav" || exit 1
x xdotool mousemove --window "$m" 24 88 click 1
d=$(window "^Ouvrir un fichier"); [ -n "$d" ] || fail "no open dialog"
sleep 0.5
x xdotool type --window "$d" --delay 10 "$work/sons/son.wav"; x xdotool key --window "$d" Return
v=$(window "son.wav"); [ -n "$v" ] || fail "the sound did not open"
sleep 1.5
read -r X Y W H <<<"$(rect "$v")"
centre=$(pixelAt $((X + W / 2)) $((Y + H / 3)))
read -r r g b <<<"$centre"
[ $((r < 40 && g < 40 && b < 40)) = 1 ] || fail "picture area of a sound is rgb($centre), not black"
echo "a sound after the video shows a black area"

#!/usr/bin/env bash
# The windows as a user meets them under a real X server and window manager:
# the video window opens beside the main window, keeps a size given by hand,
# the playlist follows a drag of the main window while it moves, and a file
# opened through the open dialog plays.
exe=$1
. "$(dirname "$0")/lib.sh"

step "making the clip"
clip=$work/edges.mp4
ffmpeg -loglevel error -y -f lavfi -i "color=c=0x20C020:size=1280x720:rate=25:duration=30" \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$clip" || exit 1

startDesktop
startProgram app "$clip"

rect() { eval "$(x xdotool getwindowgeometry --shell "$1")"; echo "$X $Y $WIDTH $HEIGHT"; }
v=$(window "edges.mp4"); [ -n "$v" ] || fail "no video window"
m=$(window "^Solvane$"); [ -n "$m" ] || fail "no main window"

step "checking the video window's place"
# 1. Beside the main window, not over it.
read -r mx my mw mh <<<"$(rect "$m")"
read -r X Y W H <<<"$(rect "$v")"
[ $((X < mx + mw && mx < X + W && Y < my + mh + 30 && my < Y + H)) = 0 ] ||
  fail "video window ($X,$Y ${W}x$H) covers the main window ($mx,$my ${mw}x$mh)"

# 2. A size given by hand stays after clicking the main window and back.
step "resizing the video window"
x xdotool windowsize "$v" 700 560; sleep 0.8
x xdotool mousemove --window "$m" 300 60 click 1; sleep 0.8
x xdotool mousemove --window "$v" 350 180 click 1; sleep 1
read -r X Y W H <<<"$(rect "$v")"
[ "$W $H" = "700 560" ] || fail "video window went back to ${W}x$H"

# 3. The playlist follows the main window during a drag, and opening the
# face leaves the focus on the main window.
step "dragging the main window"
x xdotool mousemove --window "$m" 156 20 click 1; sleep 1
l=$(window "^Form1$"); [ -n "$l" ] || fail "no playlist window"
[ "$(x xdotool getactivewindow)" = "$m" ] || fail "opening the face moved the focus"
# Out of the task bar and the window switcher, exactly as wide as the main window.
x xprop -id "$l" _NET_WM_STATE | grep -q 'SKIP_TASKBAR.*SKIP_PAGER' || fail "the playlist window is in the task bar or the switcher"
read -r mx my mw _ <<<"$(rect "$m")"
read -r lx0 ly0 lw _ <<<"$(rect "$l")"
IFS=', ' read -r el er _ <<<"$(x xprop -id "$m" _NET_FRAME_EXTENTS | sed 's/.*= //')"
[ "$lw" = $((mw + el + er)) ] || fail "playlist ${lw} px wide under a main window of $((mw + el + er)) px"
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

# 4. A sound opened through the open dialog plays.
step "opening a sound"
ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=660:duration=20" "$work/son.wav" || exit 1
x xdotool mousemove --window "$m" 24 88 click 1
d=$(window "^Ouvrir un fichier"); [ -n "$d" ] || fail "no open dialog"
sleep 0.5
x xdotool type --window "$d" --delay 10 "$work/son.wav"; x xdotool key --window "$d" Return
v=$(window "son.wav"); [ -n "$v" ] || fail "the sound did not open"

# 5. A place and size given by hand outlive Stop + Play, and Stop then quit
# and a new start (the stopped window is reloaded hidden meanwhile).
step "moving the video window, Stop + Play, Stop + quit, restart"
x xdotool windowsize "$v" 640 500; x xdotool windowmove "$v" 420 330; sleep 1
want=$(rect "$v")
x xdotool mousemove --window "$m" 56 88 click 1; sleep 1
x xdotool mousemove --window "$m" 40 88 click 1
v=$(window "son.wav"); [ -n "$v" ] || fail "Play did not bring the video window back"; sleep 1
[ "$(rect "$v")" = "$want" ] || fail "after Stop + Play the video window is at $(rect "$v"), not $want"
x xdotool mousemove --window "$m" 56 88 click 1; sleep 2
x xdotool mousemove --window "$m" 332 19 click 1
waitFor 10 allGone "$app" || fail "the exit zone did not end the program"
"$work/app/solvane" "$work/son.wav" >>"$work/app.log" 2>&1 & app=$!; pids+=($app)
v=$(window "son.wav"); [ -n "$v" ] || fail "no video window after the restart"; sleep 1
[ "$(rect "$v")" = "$want" ] || fail "after a restart the video window is at $(rect "$v"), not $want"

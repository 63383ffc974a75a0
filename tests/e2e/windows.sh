#!/usr/bin/env bash
# The windows as a user meets them on a desktop without a notification area
# (Xvfb and openbox, no panel): lists that are not files leave the program
# responsive; a list load minimises the main window, which comes back from
# the task bar; closing the playlist window with the window manager
# only hides it, the playlist kept.
exe=$1
. "$(dirname "$0")/lib.sh"
unset DBUS_SESSION_BUS_ADDRESS

iconic() { [ "$(wmState "$1")" = Iconic ]; }
normal() { [ "$(wmState "$1")" = Normal ]; }
mainWindow() { x xdotool search --name '^Solvane$' 2>/dev/null | while read -r w; do [ -n "$(wmState "$w")" ] && echo "$w"; done | head -n1; }
# Clicks the main window's client area at (x, y) pixels.
clickMain() { local w; w=$(mainWindow) && [ -n "$w" ] && x xdotool mousemove --window "$w" "$1" "$2" click 1; }
rssMiB() { awk '/VmRSS/{print int($2 / 1024)}' "/proc/$1/status"; }

startDesktop

# 1. A FIFO and /dev/zero behind list names, and behind the settings file
# beside the program: refused without blocking.
mkdir "$work/fifo" "$work/zero"
mkfifo "$work/fifo.m3u" "$work/fifo/Solvane.cfg"
ln -s /dev/zero "$work/zero.m3u"
ln -s /dev/zero "$work/zero/Solvane.cfg"
for list in fifo.m3u zero.m3u; do
  step "$list: starting the program"
  startProgram "${list%.m3u}" "$work/$list"
  waitFor 15 visible '^Solvane$' || fail "$list: no main window"
  step "$list: main window shown, clicking the unlock zone"
  # Responsive: the unlock zone opens the face and shows the playlist window.
  clickMain 157 16
  waitFor 10 visible '^Form1$' || fail "$list: the program does not answer a click"
  rss=$(rssMiB "$app")
  [ "$rss" -lt 300 ] || fail "$list: $rss MiB resident"
  echo "$list refused: program answers, ${rss} MiB resident"
  stopProgram "$app"
done

# 2. A list of two clips on a desktop without a notification area.
# (Pictures only: the machine running the tests may have no sound device.)
step "making two clips"
for n in a b; do makeMedia "$work/$n.mp4" "color=c=0x3060C0:size=160x120:rate=25:duration=3"; done
# The list is read through a link to it.
printf '%s\r\n' "$work/a.mp4" "$work/b.mp4" >"$work/deux.txt"
ln -s deux.txt "$work/deux.m3u"
step "starting the program on the list"
startProgram list "$work/deux.m3u"
waitFor 15 visible 'a\.mp4$' || fail "the first clip does not play"
main=""
waitFor 10 eval 'main=$(mainWindow); [ -n "$main" ] && iconic "$main"' || fail "the list load did not minimise the main window"
x xprop -id "$main" _NET_WM_STATE | grep -q SKIP_TASKBAR && fail "the minimised main window has no task-bar entry"
x xdotool windowactivate "$main"
waitFor 10 normal "$main" || fail "the main window does not come back from the task bar"

# The open face shows the playlist window; the window manager closes it.
# (Clicks during openbox's restore animation are lost: click until it shows;
# once the face is open, the spot is plain skin.)
step "opening the playlist window"
tries 5 eval 'clickMain 157 16; waitFor 2 visible "^Form1$"' || fail "no playlist window"
list=$(x xdotool search --onlyvisible --name '^Form1$' | head -n1)
step "closing the playlist window with alt+F4"
# alt+F4 goes to the active window: the playlist window must take the focus.
# (A slow program may miss the key: press it again while the window stays.)
tries 3 eval 'x xdotool windowactivate "$list" 2>/dev/null; x xdotool key --clearmodifiers alt+F4; waitFor 10 hidden "^Form1$"' \
  || fail "alt+F4 did not close the playlist window"
kill -0 "$app" 2>/dev/null || fail "the program ended"
# The list button shows the same window again: it was hidden, not destroyed
# with the playlist (a new one would be a new X window).
clickMain 324 48
waitFor 10 visible '^Form1$' || fail "the list button does not show the playlist window again"
[ "$(x xdotool search --onlyvisible --name '^Form1$' | head -n1)" = "$list" ] || fail "the playlist window was destroyed"


#!/usr/bin/env bash
# The windows as a user meets them on a desktop without a notification area
# (Xvfb and openbox, no panel): lists that are not files leave the program
# responsive; a list load and imgMini minimise the main window, which comes
# back from the task bar; closing the playlist window with the window manager
# only hides it, the playlist kept.
set -u
exe=$1
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; for l in "$work"/*.log; do echo "== $l"; grep -v propagateSizeHints "$l" | tail -5; done; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 & pids+=($!)
# Windows mapped while the window manager is still starting may never show.
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
sleep 0.5

waitFor() {  # waitFor SECONDS COMMAND...: true once COMMAND succeeds
  local n=$(($1 * 10)); shift
  for _ in $(seq "$n"); do "$@" && return 0; sleep 0.1; done
  return 1
}
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
wmState() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state/{print $3}'; }
iconic() { [ "$(wmState "$1")" = Iconic ]; }
normal() { [ "$(wmState "$1")" = Normal ]; }
mainWindow() { xdotool search --name '^Solvane$' 2>/dev/null | while read -r w; do [ -n "$(wmState "$w")" ] && echo "$w"; done | head -n1; }
# Clicks the main window's client area at (x, y) pixels.
clickMain() {
  local w; w=$(mainWindow)
  local x y
  x=$(xwininfo -id "$w" | awk '/Absolute upper-left X/{print $4}')
  y=$(xwininfo -id "$w" | awk '/Absolute upper-left Y/{print $4}')
  xdotool mousemove $((x + $1)) $((y + $2)) click 1
}
# Each run gets its own copy of the program: its own single-instance lock.
start() {
  local name=$1; shift
  mkdir -p "$work/$name"; cp "$exe" "$work/$name/solvane"
  "$work/$name/solvane" "$@" >"$work/$name.log" 2>&1 &
  app=$!; pids+=($app)
}
rssMiB() { awk '/VmRSS/{print int($2 / 1024)}' "/proc/$1/status"; }

# 1. A FIFO and /dev/zero behind list names: refused without blocking.
mkfifo "$work/fifo.m3u"
ln -s /dev/zero "$work/zero.m3u"
for list in fifo.m3u zero.m3u; do
  start "${list%.m3u}" "$work/$list"
  waitFor 15 visible '^Solvane$' || fail "$list: no main window"
  # Responsive: the unlock zone opens the face and shows the playlist window.
  clickMain 157 16
  waitFor 10 visible '^Form1$' || fail "$list: the program does not answer a click"
  rss=$(rssMiB "$app")
  [ "$rss" -lt 300 ] || fail "$list: $rss MiB resident"
  echo "$list refused: program answers, ${rss} MiB resident"
  kill "$app"; wait "$app" 2>/dev/null
done

# 2. A list of two clips on a desktop without a notification area.
# (Pictures only: the machine running the tests may have no sound device.)
for n in a b; do
  ffmpeg -loglevel error -y -f lavfi -i "color=c=0x3060C0:size=160x120:rate=25:duration=3" \
    -c:v libx264 -pix_fmt yuv420p "$work/$n.mp4" || exit 1
done
printf '%s\r\n' "$work/a.mp4" "$work/b.mp4" >"$work/deux.m3u"
start list "$work/deux.m3u"
waitFor 15 visible 'a\.mp4$' || fail "the first clip does not play"
main=""
waitFor 10 eval 'main=$(mainWindow); [ -n "$main" ] && iconic "$main"' || fail "the list load did not minimise the main window"
xprop -id "$main" _NET_WM_STATE | grep -q SKIP_TASKBAR && fail "the minimised main window has no task-bar entry"
xprop -id "$main" _NET_WM_WINDOW_TYPE | grep -q NORMAL || fail "the main window is not a normal window"
echo "list load: main window minimised, with a task-bar entry"
xdotool windowactivate "$main"
waitFor 10 normal "$main" || fail "the main window does not come back from the task bar"

# The open face shows the playlist window; the window manager closes it.
# (Clicks during openbox's restore animation are lost: click until it shows;
# once the face is open, the spot is plain skin.)
shown=""
for _ in 1 2 3 4 5; do clickMain 157 16; waitFor 2 visible '^Form1$' && { shown=1; break; }; done
[ -n "$shown" ] || fail "no playlist window"
list=$(xdotool search --onlyvisible --name '^Form1$' | head -n1)
xdotool windowactivate "$list" 2>/dev/null
waitFor 5 eval '[ "$(xdotool getactivewindow 2>/dev/null)" = "$list" ]' || fail "the playlist window does not take the focus"
# (A slow program may miss the key: press it again while the window stays.)
closed=""
for _ in 1 2 3; do
  xdotool windowactivate "$list" 2>/dev/null
  xdotool key --clearmodifiers alt+F4
  waitFor 10 eval '! visible "^Form1$"' && { closed=1; break; }
done
[ -n "$closed" ] || fail "alt+F4 did not close the playlist window"
kill -0 "$app" 2>/dev/null || fail "the program ended"
# The list button shows the same window again: it was hidden, not destroyed
# with the playlist (a new one would be a new X window).
clickMain 324 48
waitFor 10 visible '^Form1$' || fail "the list button does not show the playlist window again"
[ "$(xdotool search --onlyvisible --name '^Form1$' | head -n1)" = "$list" ] || fail "the playlist window was destroyed"
echo "playlist window closed by the window manager: hidden, not destroyed"

# imgMini minimises; the task bar brings the window back.
main=$(mainWindow)
xdotool windowactivate --sync "$main" 2>/dev/null
clickMain 315 19
waitFor 5 iconic "$main" || { clickMain 315 19; waitFor 5 iconic "$main"; } || fail "imgMini did not minimise the main window"
xdotool windowactivate "$main"
waitFor 10 normal "$main" || fail "the main window does not come back after imgMini"
echo "imgMini: minimised, then restored"

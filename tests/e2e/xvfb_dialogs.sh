#!/usr/bin/env bash
# The real program under a real X server: the configuration dialog opens
# from the main window and its apply writes the default settings file; the
# About box opens and its help button shows the help file beside the program.
set -u
exe=$1; helpfile=$2
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_SCALE_FACTOR
export QT_QPA_PLATFORM=xcb

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 & pids+=($!)

cp "$exe" "$work/solvane"; cp "$helpfile" "$work/Solvane.hlp"
"$work/solvane" >"$work/log" 2>&1 & pids+=($!)

window() {  # waits for a visible window titled exactly $1
  local w=""
  for _ in $(seq 100); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
fail() { echo "$1"; cat "$work/log"; exit 1; }

main=$(window Solvane) || fail "no main window"
sleep 0.3
# The three dots of the configuration zone, on the left of the skin.
xdotool mousemove --window "$main" 16 48 click 1
conf=$(window Configuration) || fail "ImgConf did not open the configuration dialog"
xdotool windowactivate --sync "$conf" 2>/dev/null
[ ! -e "$work/Solvane.cfg" ] || fail "the settings file exists before apply"
xdotool key alt+a
for _ in $(seq 50); do [ -s "$work/Solvane.cfg" ] && break; sleep 0.1; done
expected=$(printf ' 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  0  0  0 \r\n 0 -100  0  0 \r\n' | od -c)
actual=$(od -c "$work/Solvane.cfg")
[ "$actual" = "$expected" ] || fail "apply wrote:
$actual"
echo "apply with the defaults wrote the three default lines"
xdotool key alt+f
for _ in $(seq 50); do xdotool search --onlyvisible --name '^Configuration$' >/dev/null 2>&1 || break; sleep 0.1; done
! xdotool search --onlyvisible --name '^Configuration$' >/dev/null 2>&1 || fail "Fermer left the dialog open"

# The About box from the round icon, then help from its button.
xdotool mousemove --window "$main" 323 78 click 1
about=$(window "A Propos") || fail "ImgInfo did not open the About box"
xdotool windowactivate --sync "$about" 2>/dev/null
xdotool key alt+a
window "Aide de Solvane" >/dev/null || fail "the About box's help button opened no help window"
echo "About box and help window shown"

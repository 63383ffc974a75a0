#!/usr/bin/env bash
# The real program under a real X server: the configuration dialog opens
# from the main window and its apply writes the default settings file; the
# About box opens and its help button shows the help file beside the program.
exe=$1; helpfile=$2
. "$(dirname "$0")/lib.sh"

startDesktop
startProgram app; cp "$helpfile" "$work/app/Solvane.hlp"
cfg=$work/app/Solvane.cfg

main=$(window '^Solvane$') || fail "no main window"
sleep 0.3
step "opening the configuration dialog"
# The three dots of the configuration zone, on the left of the skin.
x xdotool mousemove --window "$main" 16 48 click 1
conf=$(window '^Configuration$') || fail "ImgConf did not open the configuration dialog"
x xdotool windowactivate --sync "$conf" 2>/dev/null
[ ! -e "$cfg" ] || fail "the settings file exists before apply"
x xdotool key alt+a
waitFor 5 test -s "$cfg"
expected=$(printf ' 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  0  0  0 \r\n 0 -100  0  0 \r\n' | od -c)
actual=$(od -c "$cfg")
[ "$actual" = "$expected" ] || fail "apply wrote:
$actual"
echo "apply with the defaults wrote the three default lines"
x xdotool key alt+f
waitFor 5 hidden '^Configuration$' || fail "Fermer left the dialog open"

# The About box from the round icon, then help from its button.
step "opening the About box"
x xdotool mousemove --window "$main" 323 78 click 1
about=$(window '^A Propos$') || fail "ImgInfo did not open the About box"
x xdotool windowactivate --sync "$about" 2>/dev/null
x xdotool key alt+a
window '^Aide de Solvane$' >/dev/null || fail "the About box's help button opened no help window"
echo "About box and help window shown"

#!/usr/bin/env bash
# The real program under a real X server pays only for what it plays: with
# nothing to play libmpv is not even loaded; playing sound loads libmpv but
# no OpenGL driver. Then the configuration dialog opens from the main window
# and its apply writes the default settings file.
exe=$1
. "$(dirname "$0")/lib.sh"
unset PULSE_SERVER

step "making the sound"
makeMedia "$work/tone.wav" "sine=frequency=440:duration=20"
startDesktop

# libraries mapped by process $1 whose name matches $2
mapped() { grep -E "$2" "/proc/$1/maps" 2>/dev/null | awk '{print $6}' | sort -u; }

# The program with nothing to play stays up for the dialogs at the end.
step "starting with nothing to play"
startProgram app
cfg=$work/app/Solvane.cfg
main=$(window '^Solvane$') || fail "no main window"
sleep 1
loaded=$(mapped $app 'libmpv|libavcodec|libLLVM|_dri\.so|libGLX_mesa')
[ -z "$loaded" ] || fail "nothing played, yet loaded: $loaded"

step "playing the sound"
startProgram tone "$work/tone.wav"
waitFor 10 visible 'tone.wav' || fail "no video window for the sound file"
waitFor 5 eval '[ -n "$(mapped $app libmpv)" ]' || fail "playing sound without libmpv?"
sleep 1
loaded=$(mapped $app 'libLLVM|_dri\.so|libGLX_mesa')
[ -z "$loaded" ] || fail "sound alone loaded OpenGL: $loaded"
stopProgram $app

step "opening the configuration dialog"
# The three dots of the configuration zone, on the left of the skin.
x xdotool mousemove --window "$main" 16 48 click 1
conf=$(window '^Configuration$') || fail "ImgConf did not open the configuration dialog"
x xdotool windowactivate --sync "$conf" 2>/dev/null
[ ! -e "$cfg" ] || fail "the settings file exists before apply"
x xdotool key alt+a
waitFor 5 test -s "$cfg"
printf ' 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  0  0  0 \r\n 0 -100  0  0 \r\n' | cmp -s - "$cfg" || fail "apply wrote: $(od -c "$cfg")"
x xdotool key alt+f
waitFor 5 hidden '^Configuration$' || fail "Fermer left the dialog open"


#!/usr/bin/env bash
# The picture as a user sees it under a real X server, drawn the way $2 says
# (gl or image) at the scale $3 (1 or 2): the clip's colours at known points;
# the whole picture, its red edge never cut, at 100 %, 50 %, 200 % and in full
# screen; a sound played after the video shows no frame of it. The clip is
# given on the command line.
exe=$1 path=$2 scale=$3
. "$(dirname "$0")/lib.sh"

step "making the clip"
# Green with a red edge: a cropped picture loses the red.
clip=$work/edges.mp4
makeMedia "$clip" "color=c=0x20C020:size=1280x720:rate=5:duration=30,drawbox=x=0:y=0:w=1280:h=720:color=0xE02020:t=48" \
  "sine=frequency=440:duration=30"
makeMedia "$work/son.wav" "sine=frequency=660:duration=20"

startDesktop
export SOLVANE_VIDEO=$path QT_SCALE_FACTOR=$scale
startProgram app "$clip"  # the program's own folder: a fresh one
v=$(window "edges.mp4") || fail "no video window"

# Along the middle row and column of the video window, the first and last
# coloured pixels are the red edge, the centre the clip's green; both within
# 12 of the same colours on every path (those libmpv shows for this clip,
# whose colours are read as BT.709).
near() { [ $(( ($1 - $4) ** 2 < 144 && ($2 - $5) ** 2 < 144 && ($3 - $6) ** 2 < 144 )) = 1 ]; }
wholeAt() {
  eval "$(x xdotool getwindowgeometry --shell "$v")"
  x import -window root "$work/shot.png" 2>/dev/null
  local row=$((Y + HEIGHT / 2 - 30 * scale)) line
  ends=""
  # From the centre outwards along each line, the coloured run around it
  # (whatever the toolbar or panels hold beyond it) must end in red both ways.
  for line in "${WIDTH}x1+$X+$row:$((WIDTH / 2))" "1x${HEIGHT}+$((X + WIDTH / 2))+$Y:$((row - Y))"; do
    ends+=$(convert "$work/shot.png" -crop "${line%:*}" txt:- | awk -F'[(),]' -v mid="${line##*:}" 'NR > 1 {
        r = $3; g = $4; b = $5; n++; rgb[n] = r " " g " " b
        c[n] = (r > 150 && g < 100 && b < 100) ? "R" : ((g > 150 && r < 100 && b < 100) ? "G" : "")
        # Blends of red, green and black at the edges still belong to the picture.
        on[n] = (r > b + 60 || g > b + 60) }
        END { i = mid + 1; while (i > 1 && on[i - 1]) i--; while (i < n && c[i] == "") i++
              j = mid + 1; while (j < n && on[j + 1]) j++; while (j > 1 && c[j] == "") j--
              printf "%s%s %s ", c[i], c[j], rgb[i] }')
  done
  centre=$(convert "$work/shot.png" -crop "1x1+$((X + WIDTH / 2))+$row" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:)
  read -r across r1 g1 b1 down _ <<<"$ends"
  [ "$across $down" = "RR RR" ] && near $r1 $g1 $b1 240 51 28 && near $centre 20 167 26
}
# Toolbar buttons by index, as laid out at scale 1.
button() { x xdotool mousemove --window "$v" $(( (98 + 25 * ($1 - 5)) * scale )) $((13 * scale)) click 1; }
for size in 5:100% 6:50% 7:200% 8:"full screen"; do
  step "checking the whole picture at ${size#*:}"
  # Once the first place is checked, wide enough for 50 % to show the clip
  # smaller than at 100 %.
  [ "${size%%:*}" = 6 ] && x xdotool windowsize "$v" 1000 720
  button "${size%%:*}"
  ends="" centre=""
  waitFor 10 wholeAt || fail "picture at ${size#*:} cut or off colour (row, column ends and edge: $ends; centre $centre)"
  echo "the whole picture shows at ${size#*:}: ends $ends, centre rgb($centre)"
done
x xdotool key --window "$v" Escape

# Drawn as asked: OpenGL loads Mesa's driver, images do not.
mesa=$(grep -cE '_dri\.so|libGLX_mesa' "/proc/$app/maps")
{ [ "$path" = gl ] && [ "$mesa" != 0 ]; } || { [ "$path" = image ] && [ "$mesa" = 0 ]; } \
  || fail "asked for $path, $mesa mappings of Mesa's OpenGL driver"

# A sound handed to the running program after the video: black, no frame.
step "playing a sound after the video"
"$work/app/solvane" "$work/son.wav" >/dev/null 2>&1
v=$(window "son.wav") || fail "the sound did not open"
sleep 1.5
eval "$(x xdotool getwindowgeometry --shell "$v")"
centre=$(pixelAt $((X + WIDTH / 2)) $((Y + HEIGHT / 3)))
read -r r g b <<<"$centre"
[ $((r < 40 && g < 40 && b < 40)) = 1 ] || fail "picture area of a sound is rgb($centre), not black"

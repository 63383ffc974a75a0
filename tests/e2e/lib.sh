# Sourced by the end-to-end scripts: a private work folder cleaned on exit,
# a private X desktop, and waits that all end. Every wait here is bounded in
# time, and every X tool call is run under `x` (timeout 5 s): a stalled or
# grabbed server makes a step fail with a message instead of hanging until the
# test runner kills the script without a word. `step` lines say where a run was.
set -u
# Nothing here reads a terminal: a background process that tried would be
# stopped (SIGTTIN) and hang its step.
exec </dev/null
work=$(mktemp -d)
pids=()    # what cleanup ends: Xvfb, the window manager, the programs
started=$SECONDS

step() { echo "[$(date +%T) +$((SECONDS - started))s] $*"; }
exec {out}>&1  # the test's output, even from a command whose output is hidden
# The program logs' tails (the size-hint warnings under openbox are noise).
fail() {
  { echo "FAIL: $*"
    for l in "$work"/*.log; do [ -f "$l" ] && { echo "== ${l##*/}"; grep -v propagateSizeHints "$l" | tail -n 20; }; done
  } >&"$out" 2>&1
  exit 1
}

# waitFor SECONDS COMMAND...: true once COMMAND succeeds within SECONDS. Run
# in this shell, so `waitFor 5 eval 'v=$(...); ...'` keeps v.
waitFor() {
  local end=$(( ${EPOCHREALTIME/./} + $1 * 1000000 )); shift
  until "$@"; do [ "${EPOCHREALTIME/./}" -ge "$end" ] && return 1; sleep 0.1; done
}
# tries N COMMAND...: COMMAND run up to N times, true once it succeeds.
tries() { local n=$1; shift; while [ "$n" -gt 0 ]; do "$@" && return 0; n=$((n - 1)); done; return 1; }
allGone() { local p; for p; do kill -0 "$p" 2>/dev/null && return 1; done; return 0; }
# stopProgram PID...: TERM, up to 5 s to end, then KILL. No `wait`: the shell
# reaps its children by itself, and a process that cannot die must not hang us.
stopProgram() {
  kill "$@" 2>/dev/null
  waitFor 5 allGone "$@" || { kill -KILL "$@" 2>/dev/null; waitFor 2 allGone "$@"; }
  return 0
}
cleanup() { [ ${#pids[@]} -gt 0 ] && stopProgram "${pids[@]}"; rm -rf "$work"; }
trap cleanup EXIT

# Past E2E_TIME_LIMIT seconds (ctest sets it a little under the test's
# timeout) fail here, with the logs, rather than be killed without a word.
if [ -n "${E2E_TIME_LIMIT:-}" ]; then
  trap 'fail "still running after $E2E_TIME_LIMIT s"' USR1
  ( trap 'kill $s; exit' TERM; sleep "$E2E_TIME_LIMIT" & s=$!; wait $s && kill -USR1 $$ ) >/dev/null 2>&1 & pids+=($!)
fi

export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"

# X tools, bounded: a call that takes over 5 s fails.
x() { timeout -k 1 5 "$@"; }
visible() { x xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# Not shown: xdotool found nothing (status 1), as opposed to a call that timed out.
hidden() { x xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; [ $? = 1 ]; }
# The id of the first visible window whose title matches $1, waited for up to 10 s.
window() {
  local w="" title=$1
  waitFor 10 eval 'w=$(x xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n1); [ -n "$w" ]' && echo "$w"
}
wmState() { x xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state/{print $3}'; }
# "r g b" (0 to 255) of the screen pixel at ($1, $2), from a fresh screenshot.
pixelAt() {
  x import -window root "$work/shot.png" 2>/dev/null
  convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:
}

# startDesktop [nowm]: Xvfb, then openbox unless nowm.
startDesktop() {
  unset WAYLAND_DISPLAY QT_SCALE_FACTOR
  export QT_QPA_PLATFORM=xcb
  # -noreset: by default the server resets when its last client leaves, and
  # a client that connects meanwhile is refused. Here the first client is
  # often a short xprop polling for the window manager, and openbox, starting
  # at the same moment, then failed to open the display.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null & pids+=($!)
  waitFor 10 test -s "$work/display" || fail "Xvfb did not start"
  export DISPLAY=:$(cat "$work/display")
  step "X server on $DISPLAY"
  [ "${1:-}" = nowm ] && return
  openbox >"$work/openbox.log" 2>&1 & pids+=($!)
  # Windows mapped while the window manager is still starting may never show.
  waitFor 10 eval "x xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'" || fail "openbox did not start"
  sleep 0.5
}

# startProgram NAME ARGS...: a copy of the program in its own folder
# $work/NAME (its own settings file and single-instance lock), its output in
# $work/NAME.log; its pid in $app.
startProgram() {
  local name=$1; shift
  mkdir -p "$work/$name"; cp "$exe" "$work/$name/solvane"
  "$work/$name/solvane" "$@" >"$work/$name.log" 2>&1 &
  app=$!; pids+=($app)
}

# makeMedia FILE LAVFI_SOURCE...: FILE made by ffmpeg from the sources, the
# picture as H.264, the sound in the file type's usual codec.
makeMedia() {
  local out=$1 s in=(); shift
  for s; do in+=(-f lavfi -i "$s"); done
  ffmpeg -loglevel error -y "${in[@]}" -c:v libx264 -preset ultrafast -pix_fmt yuv420p -shortest "$out" \
    || fail "ffmpeg could not make ${out##*/}"
}

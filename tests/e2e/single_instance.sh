#!/usr/bin/env bash
# A second start while one instance runs ends at once, without a session bus
# too, and leaves the first running; a file the first does not take is named
# on the second's standard error.
exe=$1
. "$(dirname "$0")/lib.sh"
unset DBUS_SESSION_BUS_ADDRESS

step "starting the first instance"
"$exe" & first=$!; pids+=($first)
# The first instance holds its lock and listens once it is up.
waitFor 10 eval 'ls "$XDG_RUNTIME_DIR"/solvane-*.sock >/dev/null 2>&1'
ls "$XDG_RUNTIME_DIR"/solvane-*.lock >/dev/null 2>&1 || fail "first instance never took its lock"
ls "$XDG_RUNTIME_DIR"/solvane-*.sock >/dev/null 2>&1 || fail "first instance never listened"

step "second starts"
for args in "" "$work/nothing.mp3"; do
  timeout 10 "$exe" $args; rc=$?
  [ $rc -eq 0 ] || fail "second instance ($args) did not end by itself (rc=$rc)"
done
err=$(timeout 10 "$exe" "$work/a
b.mp3" 2>&1 >/dev/null); rc=$?
[ $rc -eq 1 ] && [[ $err == *"$work/a"$'\n'"b.mp3"* ]] || fail "a file not taken was not reported (rc=$rc: $err)"
kill -0 $first 2>/dev/null || fail "first instance is gone"

echo "second instance ended at once; first still running"

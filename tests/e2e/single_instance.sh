#!/usr/bin/env bash
# A second start while one instance runs ends at once, without a session bus
# too, and leaves the first running.
set -u
exe=$1
work=$(mktemp -d)
trap 'kill $first 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
unset DBUS_SESSION_BUS_ADDRESS
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"

"$exe" & first=$!
# The first instance holds its lock and listens once it is up.
for _ in $(seq 100); do ls "$XDG_RUNTIME_DIR"/solvane-*.sock >/dev/null 2>&1 && break; sleep 0.1; done
ls "$XDG_RUNTIME_DIR"/solvane-*.lock >/dev/null 2>&1 || { echo "first instance never took its lock"; exit 1; }
ls "$XDG_RUNTIME_DIR"/solvane-*.sock >/dev/null 2>&1 || { echo "first instance never listened"; exit 1; }

for args in "" "$work/nothing.mp3"; do
  timeout 10 "$exe" $args; rc=$?
  [ $rc -eq 0 ] || { echo "second instance ($args) did not end by itself (rc=$rc)"; exit 1; }
done
kill -0 $first 2>/dev/null || { echo "first instance is gone"; exit 1; }
echo "second instance ended at once; first still running"

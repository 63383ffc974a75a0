#!/usr/bin/env bash
# The real program under a real X server plays a list of 500 short clips to its
# end: every entry plays once, in order; memory after the last entry is within
# 20 MB of that after the 50th; the open descriptors do not grow. Which file
# plays is read from the files the process opens (strace), so the program
# needs no hook of its own.
exe=$1
count=${SOAK_ENTRIES:-500}
. "$(dirname "$0")/lib.sh"
# LeakSanitizer cannot work in a traced process; the other tests look for leaks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"

step "making $count clips"
mkdir "$work/clips"
makeMedia "$work/clip.mp4" "testsrc2=size=160x120:rate=25:duration=0.2" "sine=frequency=440:duration=0.2"
for i in $(seq -f %03g 0 $((count - 1))); do
  cp "$work/clip.mp4" "$work/clips/c$i.mp4"
  echo "$work/clips/c$i.mp4"
done >"$work/list.m3u"

startDesktop nowm

mkdir "$work/app"; cp "$exe" "$work/app/solvane"
# Default settings, but each file plays once (the default repeats it).
printf ' 0  1  1  1  1  1  1  1 \r\n 0  1  1  0  1  0  0 \r\n 0 -100  0  0 \r\n' >"$work/app/Solvane.cfg"
strace -f --seccomp-bpf -qq -e trace=openat -e status=successful -o "$work/trace" \
  "$work/app/solvane" "$work/list.m3u" >"$work/app.log" 2>&1 & pids+=($!)
tracer=$!
pid=""
waitFor 10 eval 'pid=$(pgrep -P $tracer -n)' || fail "the program did not start"
# strace lets go of the program when it ends: cleanup ends both.
pids+=($pid)

# Clip numbers in the order the process opened them.
opened() { sed -n 's|.*/clips/c0*\([0-9][0-9]*\)\.mp4".*|\1|p' "$work/trace"; }
rss() { awk '/^VmRSS/ {print $2}' /proc/$pid/status; }
# The fewest descriptors over a moment: a thread may hold one for an instant.
fds() {
  local least=999999 n
  for _ in 1 2 3 4 5; do n=$(ls /proc/$pid/fd | wc -l); [ "$n" -lt "$least" ] && least=$n; sleep 0.05; done
  echo $least
}
# Waits until clip $1 has been opened (the one before it has played).
await_clip() {
  local n=$1 last=-1 since=$SECONDS
  while kill -0 $pid 2>/dev/null; do
    local now; now=$(opened | tail -n1)
    [ -n "$now" ] && [ "$now" -ge "$n" ] && return 0
    # A clip lasts 0.2 s: a minute on the same one is a stall.
    [ "${now:-x}" = "$last" ] || { since=$SECONDS; last=${now:-x}; }
    [ $((SECONDS - since)) -gt 60 ] && fail "stalled after clip $now"
    sleep 0.1
  done
  fail "the program ended before clip $n"
}

start=$(date +%s)
step "playing up to entry 50"
await_clip 50
rss50=$(rss) fds50=$(fds)
step "playing up to entry $count"
await_clip $((count - 1))
# The last clip plays out; then the program sits idle on it.
sleep 1
rssEnd=$(rss) fdsEnd=$(fds)
kill -0 $pid 2>/dev/null || fail "the program ended after the last entry"
seconds=$(($(date +%s) - start))

# Each run of opens of one clip, with its length: a clip played twice in a
# row shows as a run opened twice as often as the others.
runs=$(opened | uniq -c)
usual=$(awk '{print $1}' <<<"$runs" | sort -n | uniq -c | sort -rn | awk 'NR==1 {print $2}')
echo "played $count entries in ${seconds}s; opens per entry: $usual"
echo "resident memory: ${rss50} kB after the 50th entry, ${rssEnd} kB after the last ($(( (rssEnd - rss50) / 1024 )) MB more)"
echo "open descriptors: ${fds50} after the 50th entry, ${fdsEnd} after the last"
order=$(awk '{print $2}' <<<"$runs" | tr '\n' ' ')
[ "$order" = "$(seq 0 $((count - 1)) | tr '\n' ' ')" ] || fail "entries did not play in order: $(fold -w 200 <<<"$order" | head -20)"
odd=$(awk -v k="$usual" '$1 != k {print "clip " $2 ": " $1 " opens"}' <<<"$runs")
[ -z "$odd" ] || fail "entries not played once each (one play opens a clip $usual times): $(head -20 <<<"$odd")"
# (A sanitizer build holds freed memory in quarantine: its memory is not compared.)
ldd "$exe" | grep -q libasan || [ $((rssEnd - rss50)) -le $((20 * 1024)) ] || fail "resident memory grew by more than 20 MB"
[ "$fdsEnd" -le "$fds50" ] || fail "open descriptors grew"

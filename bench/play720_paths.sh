#!/usr/bin/env bash
# Both picture paths, each beside its like-for-like mpv in the same run:
#   solvane-gl     SOLVANE_VIDEO=gl      vs  mpv-gl   mpv --vo=gpu --gpu-sw (llvmpipe)
#   solvane-image  SOLVANE_VIDEO=image   vs  mpv-x11  mpv --vo=x11 (no OpenGL)
# on the peer harness's 10 s 1280x720 30 fps clip, played to its end with a
# 1280x720 picture (mpv's window, Solvane's stored video window size), the
# four players alternating round by round so that machine noise hits all.
# Per player: CPU (user+sys), the X server's CPU, peak RSS, dropped frames
# (mpv: "Dropped:" of its last status line; Solvane: libmpv's frame-drop and
# decoder-frame-drop counts at the end, through the harness's libdiag.so).
# Then the grab check: from 3.5 s in, the picture grabbed 20 times a second
# for 3 s; at 30 fps every one of the 60 grabs falls on another frame.
#
# Uses the peer harness, read only, for its display, run chain, HOMEs and
# statistics; as root (players run as nobody):
#   SOLVANE_BIN=build/solvane BENCH_WORK=/tmp/paths bench/play720_paths.sh
#   (BENCH_PEERS, default /work/shared/bench-peers; BENCH_RUNS, BENCH_WARMUP,
#   GRAB_ROUNDS as in the harness)
set -u
HB=${BENCH_PEERS:-/work/shared/bench-peers}
: "${SOLVANE_BIN:?set SOLVANE_BIN to the built program}"
export BENCH_WORK=${BENCH_WORK:-/tmp/peers-bench}
export SOLVANE_DIR=${SOLVANE_DIR:-$BENCH_WORK/solvane-bin}
"$HB/solvane/prepare.sh" >/dev/null || exit 1
source "$HB/lib/common.sh"
BENCH_PERF=0
PLAYERS="mpv-gl solvane-gl mpv-x11 solvane-image"
GRAB_ROUNDS=${GRAB_ROUNDS:-2}
bench_start
# The video window's outer size (twips) that gives a 1280x720 picture.
T1280=$BENCH_WORK/solvane-template-paths
rm -rf "$T1280"; cp -a "$BENCH_WORK/solvane-template" "$T1280"
printf '\n[config2]\nVX=" 19365"\nVY=" 12840"\n' >>"$T1280/.config/Solvane/Solvane.ini"
T=$BENCH_WORK/build
[[ -x $T/grab ]] || gcc -O2 -o "$T/grab" "$HB/extra/grab.c" -lX11 || die "building grab"

eval "orig_$(declare -f player_cmd)"
eval "orig_$(declare -f player_prepare)"
player_supports() { [[ $2 == video_exit ]]; }
player_cmd() {
    local p=$1 file=$3
    PEXIT_IS_EVENT=0 PLIST_SYNC=0 PLIST_KILL=
    case $p in
        mpv-x11) PCMD=(mpv --ao=null --vo=x11 "$file") ;;
        solvane-*) PCMD=("SOLVANE_VIDEO=${p#solvane-}" "LD_PRELOAD=$SOLVANE_DIR/libdiag.so" "$SOLVANE_DIR/solvane" "$file") ;;
        *) orig_player_cmd "$@" ;;
    esac
}
player_prepare() {
    case $1 in
        mpv-x11) template_init mpv; fresh_home "$TEMPLATES/mpv"; rm -f "$RUN_HOME/.bench-template" ;;
        solvane-*) fresh_home "$T1280" ;;
        *) orig_player_prepare "$@"; return ;;
    esac
    own_home
}

out=$BENCH_WORK/logs/play720_paths-$(date +%Y%m%d-%H%M%S).txt
lf=$BENCH_WORK/run/player.log
declare -A CPU XCPU RSS DROP GRAB FAIL
one() {
    local p=$1 round=$2 d=NA c
    run_one "$p" video_exit "$CLIP10"
    case $p in
        mpv*) d=$(tr '\r' '\n' <"$lf" | grep -a 'AV:' | tail -1 | sed -n 's/.*Dropped: *\([0-9]*\).*/\1/p'); d=${d:-0} ;;
        solvane*) c=$(grep -a 'counters(eof)' "$lf" | head -1)
            d=$(sed -n 's/.* frame-drop-count=\([0-9]*\) decoder-frame-drop-count=\([0-9]*\).*/\1 \2/p' <<<"$c")
            [[ -n $d ]] && d=$(( ${d% *} + ${d#* } )) || d=NA ;;
    esac
    echo "PATHS player=$p round=$round ok=$R_ok cpu_s=$R_cpu xvfb_cpu_s=$R_xcpu wall_s=$R_wall maxrss_kb=$R_rss dropped=$d" | tee -a "$out" >&2
    [[ $round == warmup ]] && return 0
    if [[ $R_ok == 1 ]]; then
        CPU[$p]+=" $R_cpu" XCPU[$p]+=" $R_xcpu" RSS[$p]+=" $R_rss" DROP[$p]+=" $d"
    else
        FAIL[$p]=$(( ${FAIL[$p]:-0} + 1 ))
    fi
}
rounds "$PLAYERS" one

# The picture: mpv's whole window; Solvane's under its toolbar.
grabOne() {
    local p=$1 re rect pid w n=0 g
    case $p in
        mpv*) re="clip10s_1280x720\\.mp4 - mpv\$" rect=0,0,1280,720 ;;
        solvane*) re="clip10s_1280x720\\.mp4\$" rect=${SOLVANE_PICTURE:-1,28,1280,720} ;;
    esac
    player_prepare "$p" video_exit; player_cmd "$p" video_exit "$CLIP10"; player_env
    "${RUNAS[@]}" "${PENV[@]}" "${PCMD[@]}" >"$BENCH_WORK/run/grab-$p.log" 2>&1 & pid=$!
    for ((i = 0; i < 200; i++)); do
        w=$(xdotool search --onlyvisible --name "$re" 2>/dev/null | head -1); [[ -n $w ]] && break; sleep 0.05
    done
    if [[ -n $w ]]; then
        sleep 3.5
        g=$(GRAB_RECT=$rect "$T/grab" "$w" 50 60)
        n=$(grep -o 'hash=[0-9a-f]*' <<<"$g" | sort -u | wc -l)
        # What was grabbed, to look at.
        [[ $2 == 1 ]] && import -window "$w" "$BENCH_WORK/logs/grab-$p.png"
    fi
    for ((i = 0; i < 400; i++)); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
    kill -KILL $pid 2>/dev/null; wait $pid 2>/dev/null
    echo "GRAB20 player=$p round=$2 distinct=$n of 60" | tee -a "$out" >&2
    GRAB[$p]+=" $n"
}
for ((r = 1; r <= GRAB_ROUNDS; r++)); do for p in $PLAYERS; do grabOne "$p" "$r"; done; done

for p in $PLAYERS; do
    # shellcheck disable=SC2086
    {
        result paths_cpu "$p" s "${FAIL[$p]:-0}" ${CPU[$p]:-}
        result paths_xvfb_cpu "$p" s "${FAIL[$p]:-0}" ${XCPU[$p]:-}
        result paths_peak_rss "$p" KiB "${FAIL[$p]:-0}" ${RSS[$p]:-}
        result paths_dropped "$p" count "${FAIL[$p]:-0}" ${DROP[$p]:-}
        result paths_grab_distinct "$p" count 0 ${GRAB[$p]:-}
    } | tee -a "$out"
done
log "# done: $out"

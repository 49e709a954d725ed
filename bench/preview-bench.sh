#!/usr/bin/env bash
# The preview beside mpv on the same files, on an Xvfb of its own: the time
# from Play to the first picture in the panel against mpv's own open time
# (first frame to a null output), the time from a held slider's move to the
# key-frame picture and from its release to the exact picture, and the CPU
# share while playing 720p against mpv playing it.
#
#   bench/preview-bench.sh [BUILD_DIR]        (default: build; RUNS=3)
#
# The clips are made once with ffmpeg's test pattern in BUILD_DIR/bench/media.
set -euo pipefail

BUILD=$(cd "${1:-build}" && pwd)
RUNS=${RUNS:-3}
PLAY=${PLAY:-8}
BENCH=$BUILD/bench/preview-bench
MEDIA=$BUILD/bench/media
mkdir -p "$MEDIA"
[ -x "$BENCH" ] || { echo "missing $BENCH: build the project first" >&2; exit 1; }
command -v mpv >/dev/null || { echo "mpv is needed for the comparison (package mpv)" >&2; exit 1; }

make_clip() { # name size rate seconds options
    local file=$MEDIA/$1
    [ -s "$file" ] && return
    echo "making $file" >&2
    ffmpeg -v error -y -f lavfi -i "testsrc2=size=$2:rate=$3:duration=$4" \
        -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$4" $5 "$file"
}
make_clip preview720.mp4 1280x720 30 30 "-c:v libx264 -preset veryfast -b:v 4M -c:a aac -b:a 128k"
make_clip preview240.avi 320x240 25 30 "-c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k"

# An X server of our own on a display it picks itself.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ XVFB_PID <&3
read -r DISPLAY_NUMBER <&3
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
export DISPLAY=:$DISPLAY_NUMBER QT_QPA_PLATFORM=xcb

# Best wall time of RUNS runs, in milliseconds.
best_ms() {
    local best=""
    for ((i = 0; i < RUNS; i++)); do
        local t0 t1 ms
        t0=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        t1=$(date +%s%N)
        ms=$(((t1 - t0) / 1000000))
        [ -z "$best" ] || [ "$ms" -lt "$best" ] && best=$ms
    done
    echo "$best"
}

# CPU share of mpv playing a file for PLAY seconds in a window of its own.
mpv_cpu_share() {
    local TIMEFORMAT='%R %U %S' out
    out=$({ time mpv --no-config --really-quiet --audio-fallback-to-null=yes --length="$PLAY" \
        --vo=gpu,xv,x11 --gpu-api=opengl \
        --geometry=300x224 "$1" >/dev/null 2>&1; } 2>&1)
    awk '{ printf "%.3f", ($2 + $3) / $1 }' <<<"$out"
}

RESULTS=$("$BENCH" "$BUILD/bin" "$PLAY" "$MEDIA/preview720.mp4" "$MEDIA/preview240.avi")
echo "$RESULTS" | sed 's/^/  preview: /'

printf '\n%-16s %10s %10s %8s %10s %10s\n' clip first-ms mpv-ms ratio scrub-ms release-ms
for clip in preview720.mp4 preview240.avi; do
    read -r _ _ first _ scrub _ seek < <(grep "^$clip first-picture-ms" <<<"$RESULTS")
    mpv_ms=$(best_ms mpv --no-config --really-quiet --vo=null --ao=null --frames=1 "$MEDIA/$clip")
    awk -v c="$clip" -v f="$first" -v m="$mpv_ms" -v k="$scrub" -v s="$seek" 'BEGIN {
        printf "%-16s %10.1f %10d %8.2f %10.1f %10.1f\n", c, f, m, (m > 0 ? f / m : 0), k, s }'
done
echo "goals: first picture <= 1.5 x mpv and < 300 ms; release to picture <= 150 ms"

ours=$(grep "^preview720.mp4 play-cpu-share" <<<"$RESULTS" | awk '{ print $3 }')
theirs=$(mpv_cpu_share "$MEDIA/preview720.mp4")
awk -v o="$ours" -v t="$theirs" 'BEGIN {
    printf "\nCPU share playing 720p: preview %.3f, mpv %.3f, ratio %.2f (goal <= 1)\n",
        o, t, (t > 0 ? o / t : 0) }'

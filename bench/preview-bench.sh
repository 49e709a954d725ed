#!/usr/bin/env bash
# The preview beside mpv on the same files, on an Xvfb of its own: the time
# from Play to the first picture in the panel against mpv's own open time
# (first frame to a null output), the time from a held slider's move to the
# key-frame picture and from its release to the exact picture (mid-way
# between key frames, and just before one: the worst case), and the CPU
# share while playing 720p against mpv playing it. A 1080p phone clip stored
# on its side is played twice: turned by the player after drawing (ours) and
# turned by a filter before scaling (PLAYFILE_TURN=filter), side by side.
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
make_clip landscape1080.mp4 1920x1080 30 12 "-c:v libx264 -preset veryfast -b:v 8M -c:a aac -b:a 128k"
PORTRAIT=portrait1080.mp4
[ -s "$MEDIA/$PORTRAIT" ] ||
    ffmpeg -v error -y -i "$MEDIA/landscape1080.mp4" -c copy -metadata:s:v:0 rotate=90 "$MEDIA/$PORTRAIT"

# CLIP@PERCENT: the clip with the place one frame before the key frame
# nearest its middle, where an exact seek decodes the most.
with_worst() {
    local file=$MEDIA/$1 length key
    length=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$file")
    key=$(ffprobe -v error -select_streams v -skip_frame nokey -show_entries frame=pts_time \
        -of csv=p=0 "$file" | awk -v l="$length" '$1 > 0 { d = $1 - l / 2; d = d < 0 ? -d : d
            if (best == "" || d < best) { best = d; at = $1 } } END { print at }')
    awk -v f="$file" -v k="$key" -v l="$length" 'BEGIN { printf "%s@%.3f", f, (k - 0.04) * 100 / l }'
}

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

RESULTS=$("$BENCH" "$BUILD/bin" "$PLAY" "$(with_worst preview720.mp4)" \
    "$(with_worst preview240.avi)" "$MEDIA/$PORTRAIT")
echo "$RESULTS" | sed 's/^/  preview: /'
FILTERED=$(PLAYFILE_TURN=filter "$BENCH" "$BUILD/bin" "$PLAY" "$MEDIA/$PORTRAIT")
echo "$FILTERED" | sed 's/^/  filter turn: /'

printf '\n%-18s %10s %10s %8s %10s %10s %10s\n' clip first-ms mpv-ms ratio scrub-ms release-ms \
    worst-ms
for clip in preview720.mp4 preview240.avi $PORTRAIT; do
    read -r _ _ first _ scrub _ seek _ worst < <(grep "^$clip first-picture-ms" <<<"$RESULTS")
    mpv_ms=$(best_ms mpv --no-config --really-quiet --vo=null --ao=null --frames=1 "$MEDIA/$clip")
    awk -v c="$clip" -v f="$first" -v m="$mpv_ms" -v k="$scrub" -v s="$seek" -v w="$worst" 'BEGIN {
        printf "%-18s %10.1f %10d %8.2f %10.1f %10.1f %10.1f\n", c, f, m, (m > 0 ? f / m : 0), k, s, w }'
done
echo "goals: first picture <= 1.5 x mpv and < 300 ms; release to picture <= 150 ms mid-interval"
echo "(worst-ms: the release one frame before a key frame; -1: not measured)"

read -r _ _ ours_first _ _ _ _ _ _ < <(grep "^$PORTRAIT first-picture-ms" <<<"$RESULTS")
read -r _ _ filter_first _ _ _ _ _ _ < <(grep "^$PORTRAIT first-picture-ms" <<<"$FILTERED")
ours_cpu=$(grep "^$PORTRAIT play-cpu-share" <<<"$RESULTS" | awk '{ print $3 }')
filter_cpu=$(grep "^$PORTRAIT play-cpu-share" <<<"$FILTERED" | awk '{ print $3 }')
awk -v of="$ours_first" -v ff="$filter_first" -v oc="$ours_cpu" -v fc="$filter_cpu" 'BEGIN {
    printf "\n1080p portrait, turned after drawing against a filter before scaling:\n"
    printf "  first picture %.1f ms against %.1f ms, ratio %.2f\n", of, ff, (ff > 0 ? of / ff : 0)
    printf "  CPU share %.3f against %.3f, ratio %.2f (goal <= 1)\n", oc, fc, (fc > 0 ? oc / fc : 0) }'


ours=$(grep "^preview720.mp4 play-cpu-share" <<<"$RESULTS" | awk '{ print $3 }')
theirs=$(mpv_cpu_share "$MEDIA/preview720.mp4")
awk -v o="$ours" -v t="$theirs" 'BEGIN {
    printf "\nCPU share playing 720p: preview %.3f, mpv %.3f, ratio %.2f (goal <= 1)\n",
        o, t, (t > 0 ? o / t : 0) }'

#!/usr/bin/env bash
# The engine side by side with the ffmpeg command-line tool: the same
# conversions with equivalent options, the decoding alone, and probing plus
# a thumbnail per file. Prints a table of times (the fastest of RUNS runs)
# and ratios.
#
#   bench/run-bench.sh [BUILD_DIR]        (default: build; RUNS=3)
#
# The sources are made once with ffmpeg's test pattern and tone in
# BUILD_DIR/bench/media.
set -euo pipefail

BUILD=$(cd "${1:-build}" && pwd)
RUNS=${RUNS:-3}
DRIVER=$BUILD/bin/encoder-run
PROBE=$BUILD/bench/probe-bench
MEDIA=$BUILD/bench/media
OUT=$BUILD/bench/out
mkdir -p "$MEDIA" "$OUT"
for tool in "$DRIVER" "$PROBE"; do
    [ -x "$tool" ] || { echo "missing $tool: build the project first" >&2; exit 1; }
done

make_source() { # name size rate seconds video-options audio-options
    local file=$MEDIA/$1
    [ -s "$file" ] && return
    echo "making $file" >&2
    ffmpeg -v error -y -f lavfi -i "testsrc2=size=$2:rate=$3:duration=$4" \
        -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$4" $5 $6 "$file"
}
make_source src320.avi 320x240 25 60 "-c:v mpeg4 -q:v 4" "-c:a libmp3lame -b:a 128k"
make_source src720.mp4 1280x720 30 30 "-c:v libx264 -preset veryfast -b:v 4M" "-c:a aac -b:a 128k"
make_source src1080.mp4 1920x1080 30 20 "-c:v libx264 -preset veryfast -b:v 8M" "-c:a aac -b:a 128k"

# The fastest of RUNS runs of a command: "wall cpu" in seconds, where cpu is
# that run's user + system time (steadier than wall time on a busy machine).
fastest() {
    local best="" TIMEFORMAT='%R %U %S'
    for ((i = 0; i < RUNS; i++)); do
        local took
        took=$({ time "$@" >/dev/null 2>&1; } 2>&1) || { echo "failed: $*" >&2; exit 1; }
        best=$(awk -v t="$took" -v b="$best" 'BEGIN {
            split(t, n, " "); split(b, o, " ")
            if (b == "" || n[1] < o[1]) printf "%.3f %.3f", n[1], n[2] + n[3]; else print b }')
    done
    echo "$best"
}
wall() { echo "${1% *}"; }
cpu() { echo "${1#* }"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# source, length after a 1 s start, and the keep-ratio bands the program
# computes for each target (top = bottom).
declare -A LENGTH=([src320.avi]=58 [src720.mp4]=28 [src1080.mp4]=18)
declare -A WIDTH=([src320.avi]=320 [src720.mp4]=1280 [src1080.mp4]=1920)
declare -A BAND3GP=([src320.avi]=6 [src720.mp4]=22 [src1080.mp4]=22)
declare -A BANDPSP=([src320.avi]=0 [src720.mp4]=30 [src1080.mp4]=30)

# kind: format size rate video-kbit channels rate audio-kbit
declare -A KIND=([3gp]="3gp 176x144 15 128 1 22050 32" [psp]="psp 320x240 29.97 384 2 24000 64")

printf '\nWall seconds (fastest of %d), with the CPU seconds of that run in brackets.\n' "$RUNS"
printf '%-12s %-4s %15s %15s %6s %15s %7s\n' source kind engine ffmpeg eng/ff decode-only eng/dec
printf '%s\n' "------------------------------------------------------------------------------"
for src in src320.avi src720.mp4 src1080.mp4; do
    in=$MEDIA/$src
    len=${LENGTH[$src]}
    decode=$(fastest ffmpeg -v error -ss 1 -t "$len" -i "$in" -f null -)
    for kind in 3gp psp; do
        read -r fmt size rate vkb ch ar akb <<<"${KIND[$kind]}"
        if [ "$kind" = 3gp ]; then band=${BAND3GP[$src]}; else band=${BANDPSP[$src]}; fi
        w=${size%x*}
        h=${size#*x}
        # The scaler the engine picks: area when shrinking by two or more.
        flags=bicubic
        if ((WIDTH[$src] >= 2 * w)); then flags=area; fi
        engine=$(fastest "$DRIVER" Moviforge.exe -y -ss 00:00:01 -t "$len" -i "$in" -vol 100 \
            -bitexact -vcodec mpeg4 -padtop "$band" -padbottom "$band" -padleft 0 -padright 0 \
            -s "$size" -r "$rate" -b "$vkb" -acodec aac -ac "$ch" -ar "$ar" -ab "$akb" \
            -f "$fmt" "$OUT/engine.$kind")
        cli=$(fastest ffmpeg -v error -y -ss 1 -t "$len" -i "$in" \
            -vf "scale=$w:$((h - 2 * band)):flags=$flags,pad=$w:$h:0:$band:black,setsar=1" \
            -r "$rate" -c:v mpeg4 -b:v "${vkb}k" -maxrate "$((vkb * 3 / 2))k" \
            -bufsize "$((vkb * 1000 < 163840 ? 163840 : vkb * 1000))" -bt "${vkb}k" \
            -c:a aac -ac "$ch" -ar "$ar" -b:a "${akb}k" -bitexact -movflags +faststart \
            -f "$fmt" "$OUT/cli.$kind")
        printf '%-12s %-4s %6s (%6s) %6s (%6s) %6s %6s (%6s) %7s\n' "$src" "$kind" \
            "$(wall "$engine")" "$(cpu "$engine")" "$(wall "$cli")" "$(cpu "$cli")" \
            "$(ratio "$(wall "$engine")" "$(wall "$cli")")" "$(wall "$decode")" "$(cpu "$decode")" \
            "$(ratio "$(wall "$engine")" "$(wall "$decode")")"
    done
done

printf '\n%-12s %14s %18s %7s\n' source "in-process ms" "ffprobe+ffmpeg ms" ratio
printf '%s\n' "-----------------------------------------------------"
for src in src320.avi src720.mp4 src1080.mp4; do
    in=$MEDIA/$src
    inproc=$("$PROBE" "$BUILD/bin/libEncoder.so" "$((RUNS * 3))" "$OUT/thumb.jpg" "$in" | awk '{print $2}')
    procs=$(fastest bash -c "ffprobe -v error -show_format -show_streams '$in' &&
        ffmpeg -v error -y -ss 5 -i '$in' -frames:v 1 -s 80x60 '$OUT/cli-thumb.jpg'")
    procsMs=$(awk -v s="$(wall "$procs")" 'BEGIN { printf "%.1f", s * 1000 }')
    printf '%-12s %14s %18s %7s\n' "$src" "$inproc" "$procsMs" "$(ratio "$inproc" "$procsMs")"
done

echo
echo "clip list: 200 files added through the engine, then 1000 entries"
"$BUILD/bench/list-bench" "$BUILD/bin" "$MEDIA/src320.avi" 200

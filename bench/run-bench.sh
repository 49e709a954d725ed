#!/usr/bin/env bash
# The engine side by side with the ffmpeg command-line tool: the same
# conversions with equivalent options, the decoding alone, and probing plus
# a thumbnail per file. Prints a table of times (the fastest of RUNS runs)
# and ratios.
#
#   bench/run-bench.sh [BUILD_DIR]        (default: build; RUNS=3)
#   ONLY="src1080.mp4" bench/run-bench.sh  (just those sources' conversion rows)
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
# A phone held upright: 4K stored sideways with a display matrix (which
# ffmpeg writes only when copying), key pictures two seconds apart.
make_source phone4k-flat.mp4 3840x2160 30 8 "-c:v libx264 -preset ultrafast -b:v 20M -g 60" \
    "-c:a aac -b:a 128k"
[ -s "$MEDIA/phone4k.mp4" ] ||
    ffmpeg -v error -y -i "$MEDIA/phone4k-flat.mp4" -c copy -metadata:s:v:0 rotate=90 \
        "$MEDIA/phone4k.mp4"
# PAL DVD picture, 720x576 pixels shown 16:9.
make_source sd169.mpg 720x576 25 30 "-c:v mpeg2video -b:v 6M -aspect 16:9" "-c:a mp2 -b:a 192k"
# Two seconds of pictures under two minutes of sound: the last picture is
# held for the rest.
[ -s "$MEDIA/held.mp4" ] ||
    ffmpeg -v error -y -f lavfi -i "testsrc2=size=640x360:rate=25:duration=2" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=120" -c:v mpeg4 -q:v 4 \
        -c:a aac -b:a 128k "$MEDIA/held.mp4"
SOURCES=(src320.avi src720.mp4 src1080.mp4 phone4k.mp4 sd169.mpg)
if [ -n "${ONLY:-}" ]; then read -ra SOURCES <<<"$ONLY"; fi

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

# The engine converting through encoder-run. It never replaces a file, so
# the previous run's output goes first.
engine_convert() {
    rm -f "${!#}"
    "$DRIVER" "$@"
}

# ffmpeg doing what the engine's 38-entry vector asks: the picture scaled
# into the bands (area scaling when shrinking by two or more, as the engine
# does), the same rates, bit rates and rate control.
#   cli_convert DISPLAYED_WIDTH VECTOR...
cli_convert() {
    local srcw=$1
    shift
    local v=("$@")
    local w=${v[22]%x*} h=${v[22]#*x}
    local top=${v[14]} bottom=${v[16]} left=${v[18]} right=${v[20]} vkb=${v[26]}
    local flags=bicubic
    if ((srcw >= 2 * w)); then flags=area; fi
    ffmpeg -v error -y -ss "${v[3]}" -t "${v[5]}" -i "${v[7]}" \
        -vf "scale=$((w - left - right)):$((h - top - bottom)):flags=$flags,pad=$w:$h:$left:$top:black,setsar=1" \
        -r "${v[24]}" -c:v "${v[12]}" -b:v "${vkb}k" -maxrate "$((vkb * 3 / 2))k" \
        -bufsize "$((vkb * 1000 < 163840 ? 163840 : vkb * 1000))" -bt "${vkb}k" \
        -c:a "${v[28]}" -ac "${v[30]}" -ar "${v[32]}" -b:a "${v[34]}k" -bitexact \
        -movflags +faststart -f "${v[36]}" "${v[37]}"
}

# source: length after a 1 s start, displayed width, and the keep-ratio
# bands the program computes for each kind ("top bottom left right").
declare -A LENGTH=([src320.avi]=58 [src720.mp4]=28 [src1080.mp4]=18 [phone4k.mp4]=6 [sd169.mpg]=28)
declare -A WIDTH=([src320.avi]=320 [src720.mp4]=1280 [src1080.mp4]=1920 [phone4k.mp4]=2160
    [sd169.mpg]=1024)
declare -A PADS3GP=([src320.avi]="6 6 0 0" [src720.mp4]="22 22 0 0" [src1080.mp4]="22 22 0 0"
    [phone4k.mp4]="0 0 48 48" [sd169.mpg]="22 22 0 0")
declare -A PADSPSP=([src320.avi]="0 0 0 0" [src720.mp4]="30 30 0 0" [src1080.mp4]="30 30 0 0"
    [phone4k.mp4]="0 0 92 92" [sd169.mpg]="30 30 0 0")

# kind: format size rate video-kbit channels rate audio-kbit
declare -A KIND=([3gp]="3gp 176x144 15 128 1 22050 32" [psp]="psp 320x240 29.97 384 2 24000 64")

printf '\nWall seconds (fastest of %d), with the CPU seconds of that run in brackets.\n' "$RUNS"
printf '%-12s %-4s %15s %15s %6s %15s %7s\n' source kind engine ffmpeg eng/ff decode-only eng/dec
printf '%s\n' "------------------------------------------------------------------------------"
for src in "${SOURCES[@]}"; do
    in=$MEDIA/$src
    len=${LENGTH[$src]}
    decode=$(fastest ffmpeg -v error -ss 1 -t "$len" -i "$in" -f null -)
    for kind in 3gp psp; do
        read -r fmt size rate vkb ch ar akb <<<"${KIND[$kind]}"
        if [ "$kind" = 3gp ]; then pads=${PADS3GP[$src]}; else pads=${PADSPSP[$src]}; fi
        read -r top bottom left right <<<"$pads"
        vector=(Moviforge.exe -y -ss 00:00:01 -t "$len" -i "$in" -vol 100 -bitexact \
            -vcodec mpeg4 -padtop "$top" -padbottom "$bottom" -padleft "$left" \
            -padright "$right" -s "$size" -r "$rate" -b "$vkb" -acodec aac -ac "$ch" -ar "$ar" \
            -ab "$akb" -f "$fmt")
        engine=$(fastest engine_convert "${vector[@]}" "$OUT/engine.$kind")
        cliVector=("${vector[@]}" "$OUT/cli.$kind")
        cliVector[3]=1
        cli=$(fastest cli_convert "${WIDTH[$src]}" "${cliVector[@]}")
        printf '%-12s %-4s %6s (%6s) %6s (%6s) %6s %6s (%6s) %7s\n' "$src" "$kind" \
            "$(wall "$engine")" "$(cpu "$engine")" "$(wall "$cli")" "$(cpu "$cli")" \
            "$(ratio "$(wall "$engine")" "$(wall "$cli")")" "$(wall "$decode")" "$(cpu "$decode")" \
            "$(ratio "$(wall "$engine")" "$(wall "$decode")")"
    done
done

# Peak resident memory of one conversion, engine beside ffmpeg, for a
# normal clip and for one whose last picture is held for two minutes.
peak_kb() {
    /usr/bin/time -f %M -o "$OUT/peak" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    tail -n 1 "$OUT/peak"
}
printf '\n%-12s %-4s %12s %12s %6s\n' source kind "engine MB" "ffmpeg MB" eng/ff
printf '%s\n' "-----------------------------------------------------"
declare -A MEMKIND=([3gp]="3gp 176x144 15 128 1 22050 32" [psp]="psp 320x240 29.97 384 2 24000 64"
    [mp4]="mp4 1280x720 30 2000 2 44100 128")
for clip in "src320.avi 30" "held.mp4 120"; do
    read -r src len <<<"$clip"
    for kind in 3gp psp mp4; do
        read -r fmt size rate vkb ch ar akb <<<"${MEMKIND[$kind]}"
        vector=(Moviforge.exe -y -ss 00:00:00 -t "$len" -i "$MEDIA/$src" -vol 100 -bitexact \
            -vcodec mpeg4 -padtop 0 -padbottom 0 -padleft 0 -padright 0 -s "$size" -r "$rate" \
            -b "$vkb" -acodec aac -ac "$ch" -ar "$ar" -ab "$akb" -f "$fmt")
        rm -f "$OUT/engine-mem.$kind"
        engine=$(peak_kb "$DRIVER" "${vector[@]}" "$OUT/engine-mem.$kind")
        cliVector=("${vector[@]}" "$OUT/cli-mem.$kind")
        cliVector[3]=0
        cli=$(peak_kb bash -c "$(declare -f cli_convert); cli_convert 640 $(printf "'%s' " "${cliVector[@]}")")
        printf '%-12s %-4s %12s %12s %6s\n' "$src" "$kind" "$((engine / 1024))" "$((cli / 1024))" \
            "$(ratio "$engine" "$cli")"
    done
done

# zelo-convert end to end (probe, thumbnail, conversion of the whole clip
# with the 3gp kind's default profile) beside ffprobe, a one-frame ffmpeg
# thumbnail and the same conversion by ffmpeg.
[ -n "${ONLY:-}" ] && exit 0
ZC=$BUILD/bin/zelo-convert
if [ -x "$ZC" ]; then
    export XDG_CONFIG_HOME=$OUT/config XDG_CACHE_HOME=$OUT/cache
    printf '\n%-12s %15s %15s %6s\n' source zelo-convert ffmpeg ratio
    printf '%s\n' "-----------------------------------------------------"
    for src in src720.mp4 phone4k.mp4 sd169.mpg; do
        in=$MEDIA/$src
        mapfile -t zv < <("$ZC" --print-command --keep-ratio --output-dir "$OUT/zc" "$in")
        zv[37]=$OUT/cli-zc.3gp
        zc=$(fastest bash -c "rm -rf '$OUT/zc' && '$ZC' --keep-ratio --output-dir '$OUT/zc' '$in'")
        ff=$(fastest bash -c "ffprobe -v error -show_format -show_streams '$in' &&
            ffmpeg -v error -y -ss 5 -i '$in' -frames:v 1 -s 80x60 '$OUT/cli-thumb.jpg' &&
            $(declare -f cli_convert); cli_convert ${WIDTH[$src]} $(printf "'%s' " "${zv[@]}")")
        printf '%-12s %6s (%6s) %6s (%6s) %6s\n' "$src" "$(wall "$zc")" "$(cpu "$zc")" \
            "$(wall "$ff")" "$(cpu "$ff")" "$(ratio "$(wall "$zc")" "$(wall "$ff")")"
    done
fi

printf '\n%-12s %14s %18s %7s\n' source "in-process ms" "ffprobe+ffmpeg ms" ratio
printf '%s\n' "-----------------------------------------------------"
for src in "${SOURCES[@]}"; do
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

#!/usr/bin/env bash
# Starts and ends the real program many times on an Xvfb of its own and
# reports every run that did not end in order: a signal (abort, crash), a
# hang, or an exit status other than 0. Best run on a busy machine (a build
# beside it), where rare start-up and shut-down races show.
#
#   bench/start-stop.sh [BUILD_DIR] [RUNS]     (defaults: build, 300)
#
# Half the runs are ended by SIGTERM once the main window is up (the program
# ends in order on it), the others at a random moment of the start: during
# the splash, while the windows are built, or just after. WM=openbox runs
# the loop under that window manager when it is installed. Core files and
# the output of failed runs are kept in BUILD_DIR/start-stop/.
set -uo pipefail

BUILD=$(cd "${1:-build}" && pwd)
RUNS=${2:-300}
PROGRAM=$BUILD/bin/zelo-converter
OUT=${OUT:-$BUILD/start-stop}
[ -x "$PROGRAM" ] || { echo "missing $PROGRAM: build the project first" >&2; exit 1; }
rm -rf "$OUT"
mkdir -p "$OUT/home"
ulimit -c unlimited

# XVFB_ARGS=-noreset keeps the server from resetting between runs.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp ${XVFB_ARGS:-} 2>/dev/null & echo "pid $!")
read -r _ XVFB_PID <&3
read -r DISPLAY_NUMBER <&3
WM_PID=""
cleanup() {
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    kill "$XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=:$DISPLAY_NUMBER QT_QPA_PLATFORM=xcb
# The user's own settings and output folder stay untouched.
export HOME=$OUT/home XDG_CONFIG_HOME=$OUT/home/.config XDG_CACHE_HOME=$OUT/home/.cache
export XDG_RUNTIME_DIR=$OUT/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if [ "${WM:-}" = openbox ] && command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    WM_PID=$!
fi

# Whether a top-level window titled as the main window is mapped.
main_window_shown() {
    xwininfo -root -tree 2>/dev/null | grep -q '"Zelo 3GP Converter": ("zelo-converter"'
}

failed=0
for ((run = 1; run <= RUNS; run++)); do
    dir=$OUT/run$run
    mkdir -p "$dir"
    (cd "$dir" && exec "$PROGRAM") >"$dir/output" 2>&1 &
    pid=$!
    if ((run % 2)) && command -v xwininfo >/dev/null; then
        for ((t = 0; t < 200; t++)); do
            main_window_shown && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
    else
        sleep "0.$((RANDOM % 10))$((RANDOM % 10))"
        ((RANDOM % 2)) && sleep 1
    fi
    kill -TERM "$pid" 2>/dev/null
    status=""
    for ((t = 0; t < 300; t++)); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            status=$?
            break
        fi
        sleep 0.05
    done
    if [ -z "$status" ]; then
        echo "run $run: still running 15 s after SIGTERM" | tee -a "$OUT/failures"
        kill -ABRT "$pid" 2>/dev/null
        wait "$pid"
        failed=$((failed + 1))
    elif [ "$status" -ne 0 ]; then
        # A SIGTERM before the handler is in place ends the program at once
        # (143): not a fault of the program's own.
        if [ "$status" -eq 143 ] && [ ! -s "$dir/output" ]; then
            rm -rf "$dir"
            continue
        fi
        echo "run $run: exit status $status" | tee -a "$OUT/failures"
        failed=$((failed + 1))
        continue
    fi
    rm -rf "$dir"
done
echo "$RUNS starts, $failed not ended in order (details in $OUT)"
[ "$failed" -eq 0 ]

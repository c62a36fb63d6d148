#!/usr/bin/env bash
# The benchmark: the program (the i686 release, or the x86_64 build where 32-bit programs
# cannot run) under Wine on the simulated modem (zoltsim, which
# stamps every byte it receives on the monotonic clock), beside tio sending the same
# script with its 50 ms output delay and beside a minimal Win32 window program.
#   benchmark/bench.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR OUT_DIR
# Environment: BENCH_ROUNDS (busy-tone reads, each beside one of tio; default 5),
# BENCH_IDLE_S (default 60), BENCH_READS (reads for the memory figure; default 100),
# BENCH_STARTS (starts of each program; default 5), BENCH_IDLE_ONLY=1 (the idle figure alone).
# Prints the figures; the raw data stays in OUT_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib.sh
. scripts/wine.sh

BUILD=$(realpath "$1")
NATIVE=$(realpath "$2")
OUT=$(realpath -m "$3")
ROUNDS=${BENCH_ROUNDS:-5} IDLE_S=${BENCH_IDLE_S:-60} READS=${BENCH_READS:-100} STARTS=${BENCH_STARTS:-5}
EXE="$BUILD/src/platform/win32/linetrim.exe"
FLOOR="$BUILD/benchmark/floor_window.exe"
DRIVER="$BUILD/tests/wine/ltdrive.exe"
WINE_LOADER=$(loader_for "$EXE")
ZOLTSIM="$NATIVE/sim/zoltsim"
MONO="$NATIVE/benchmark/monotime"
W="$MAIN_CAPTION"
for f in "$EXE" "$FLOOR" "$DRIVER" "$ZOLTSIM" "$MONO"; do [ -x "$f" ] || { echo "missing $f" >&2; exit 1; }; done
HZ=$(getconf CLK_TCK)
rm -rf "$OUT"
mkdir -p "$OUT"
LOG="$OUT/zoltsim.log" PEER_LOG="$OUT/zoltsim-peer.log"
APP_PID= MODEM_PID= PEER_MODEM_PID=

drive() { win "$DRIVER" "$@"; }
now() { "$MONO"; }
ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
log_lines() { [ -f "$1" ] && wc -l <"$1" || echo 0; }
# The wineserver of this prefix: its helper work for the program's waits is spent there.
wineserver_pid() {
    local p
    for p in $(pgrep -x wineserver64) $(pgrep -x wineserver); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$p"; return; }
    done
    echo 0
}
memory() { awk '/^(VmRSS|RssAnon):/ {printf "%s %s kB  ", $1, $2}' "/proc/$APP_PID/status"; }

# wait_until SECONDS COMMAND...: polls the command until it succeeds.
wait_until() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.01
    done
}
log_has() { [ "$(log_lines "$1")" -ge "$2" ]; }

# start_modem LOG PID_VARIABLE: a zoltsim of its own on OUT/NAME.pty.
start_modem() {
    local log=$1 link=$2
    local priority=()
    chrt -f 10 true 2>/dev/null && priority=(chrt -f 10)
    "${priority[@]}" "$ZOLTSIM" --link "$link" --log "$log" --monotonic-log >"$log.out" 2>&1 &
    wait_until 10 grep -q '^PTY ' "$log.out" || { echo "zoltsim did not start" >&2; exit 1; }
}

stop_all() {
    if [ -n "$APP_PID" ]; then kill "$APP_PID" 2>/dev/null || true; fi
    for p in $MODEM_PID $PEER_MODEM_PID; do kill "$p" 2>/dev/null || true; done
    APP_PID= MODEM_PID= PEER_MODEM_PID=
    wineserver -k 2>/dev/null || true
}
trap 'stop_all; stop_display' EXIT

# Gap statistics of log lines FROM..TO (1-based) of LOG: median, 99th percentile and
# maximum gap, and the span against (characters - 1) x 50 ms.
gaps() {
    sed -n "$2,$3p" "$1" | awk '{print $1}' | awk 'NR > 1 {print $1 - t} {t = $1}' >>"$4"
}
# summarize NAME GAPS_FILE SPANS_FILE: one line of figures.
summarize() {
    sort -g "$2" | awk -v name="$1" -v spans="$3" '
        { g[NR] = $1 }
        END {
            n = NR; med = (n % 2) ? g[(n + 1) / 2] : (g[n / 2] + g[n / 2 + 1]) / 2
            p99 = g[int(0.99 * (n - 1)) + 1]
            while ((getline line < spans) > 0) { split(line, f, " "); span += f[1]; count += f[2] }
            printf "%-10s gaps %4d  median %.2f ms  p99 %.2f ms  max %.2f ms  script %.4f x characters x 50 ms\n",
                   name, n, med, p99, g[n], span / (count * 50)
        }'
}

start_app() {
    # The loader itself in the background, so that APP_PID is the program's process.
    "$WINE_LOADER" "$EXE" >>"$OUT/app.log" 2>&1 &
    APP_PID=$!
    drive wait-window "$W" 60 || { echo "the main window did not appear" >&2; exit 1; }
}

select_page() {
    drive tab "$W" PageControl1 "$1"
    wait_until 10 bash -c "'$WINE_LOADER' '$DRIVER' tabs '$W' PageControl1 | head -1 | grep -qx 'selected=$1'"
}

# record_script LOG MARK CHARS NAME: the gaps and the span of the CHARS bytes after line
# MARK of zoltsim's LOG, added to NAME's figures; SCRIPT_LAST is the last byte's stamp.
record_script() {
    local first=$(($2 + 1)) last=$(($2 + $3)) t_first
    gaps "$1" "$first" "$last" "$OUT/gaps-$4"
    t_first=$(sed -n "${first}p" "$1" | awk '{print $1}')
    SCRIPT_LAST=$(sed -n "${last}p" "$1" | awk '{print $1}')
    echo "$(awk -v a="$t_first" -v b="$SCRIPT_LAST" 'BEGIN {print b - a}') $(($3 - 1))" >>"$OUT/spans-$4"
}

# read_script NAME PAGE BUTTON CHARACTERS [FIELD VALUE]: one read, its pacing, its CPU from
# the click to the last character and, with a field, the time from the last character
# to the field showing the value.
read_script() {
    local name=$1 page=$2 button=$3 chars=$4 field=${5:-} value=${6:-}
    select_page "$page"
    [ -n "$field" ] && drive type "$W" "$field" ""
    local mark c0 s0 t0 c1 s1 t1 watcher=
    mark=$(log_lines "$LOG")
    c0=$(ticks "$APP_PID") s0=$(ticks "$WINESERVER") t0=$(now)
    drive click "$W" "$button"
    if [ -n "$field" ]; then
        drive watch-text "$W" "$field" "$value" 30 | "$MONO" --lines >"$OUT/watch.txt" &
        watcher=$!
    fi
    wait_until 30 log_has "$LOG" $((mark + chars)) || { echo "$name: the script did not arrive" >&2; return 1; }
    c1=$(ticks "$APP_PID") s1=$(ticks "$WINESERVER") t1=$(now)
    record_script "$LOG" "$mark" "$chars" "$name"
    echo "$((c1 - c0)) $((s1 - s0)) $(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')" >>"$OUT/cpu-$name"
    if [ -n "$watcher" ]; then
        wait "$watcher" || { echo "$name: $field did not show $value" >&2; return 1; }
        local ready seen look
        ready=$(awk '$2 == "ready" {print $1}' "$OUT/watch.txt")
        seen=$(awk '$2 == "seen" {print $1}' "$OUT/watch.txt")
        look=$(awk '$2 == "seen" {print $3}' "$OUT/watch.txt")
        awk -v r="$ready" -v s="$seen" -v l="$SCRIPT_LAST" -v look="$look" 'BEGIN {
            if (r > l) print "late watcher" > "/dev/stderr"; else print s - l, look }' >>"$OUT/latency-$name"
    fi
    # The send goes on 50 ms after the last character; the next step waits for it.
    wait_until 10 bash -c "'$WINE_LOADER' '$DRIVER' state '$W' '$button' >/dev/null"
}

# The same busy-tone script through tio with its 50 ms output delay, to a zoltsim of its own.
peer_read() {
    local script='ATE1\rATS203?\rATS204?\rATS205?\rATS206?\rATS207?\r' chars=45
    local fifo="$OUT/tio.in" mark c0 t0 c1 t1 tio
    rm -f "$fifo"; mkfifo "$fifo"
    tio -o 50 --mute "$OUT/peer.pty" <"$fifo" >/dev/null 2>&1 &
    tio=$!
    exec 3>"$fifo"
    sleep 0.5  # tio opens the port; nothing to wait on from outside
    mark=$(log_lines "$PEER_LOG")
    c0=$(ticks "$tio") t0=$(now)
    printf "$script" >&3
    wait_until 30 log_has "$PEER_LOG" $((mark + chars)) || { echo "tio: the script did not arrive" >&2; return 1; }
    c1=$(ticks "$tio") t1=$(now)
    exec 3>&-
    wait "$tio" || true
    record_script "$PEER_LOG" "$mark" "$chars" "tio"
    echo "$((c1 - c0)) 0 $(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')" >>"$OUT/cpu-tio"
}

cpu_line() {
    awk -v name="$1" -v hz="$HZ" '{ app += $1; srv += $2; ms += $3 }
        END { printf "%-10s CPU %.2f %% of a core (wineserver %.2f %%) over %.1f s\n",
              name, app * 1000 / hz / ms * 100, srv * 1000 / hz / ms * 100, ms / 1000 }' "$OUT/cpu-$1"
}

# startup PROGRAM CAPTION: ms from starting the program to its window being shown.
startup() {
    drive watch-window "$2" 60 | "$MONO" --lines >"$OUT/watch.txt" &
    local watcher=$! t0 pid
    wait_until 30 grep -q ready "$OUT/watch.txt"
    t0=$(now)
    "$WINE_LOADER" "$1" >>"$OUT/app.log" 2>&1 &
    pid=$!
    wait "$watcher"
    awk -v t="$t0" '$2 == "seen" {print $1 - t}' "$OUT/watch.txt"
    drive close "$2"
    wait "$pid" || true
}

threads() { ls "/proc/$APP_PID/task"; }

# Idle: the whole process over IDLE_S seconds with the port open, by thread.
idle() {
    local before after c0 s0 t0 c1 s1 t1 t
    declare -A tick0
    for t in $(threads); do tick0[$t]=$(ticks "$APP_PID/task/$t"); done
    c0=$(ticks "$APP_PID") s0=$(ticks "$WINESERVER") t0=$(now)
    sleep "$IDLE_S"  # the measuring window itself, not a wait for a condition
    c1=$(ticks "$APP_PID") s1=$(ticks "$WINESERVER") t1=$(now)
    local ms live=0 main=0 others=""
    ms=$(awk -v a="$t0" -v b="$t1" 'BEGIN {print b - a}')
    for t in "${!tick0[@]}"; do
        [ -e "/proc/$APP_PID/task/$t" ] || continue
        local d=$(($(ticks "$APP_PID/task/$t") - tick0[$t]))
        live=$((live + d))
        if [ "$t" = "$APP_PID" ]; then main=$d; elif [ $d -gt 0 ]; then others+=" $t:$d"; fi
    done
    awk -v hz="$HZ" -v ms="$ms" -v all=$((c1 - c0)) -v srv=$((s1 - s0)) -v live="$live" -v main="$main" \
        -v others="$others" 'function pc(t) { return t * 1000 / hz / ms * 100 }
        BEGIN { printf "idle       CPU %.2f %% of a core over %.0f s: user-interface thread %.2f %%, threads that lived through it (ticks:%s) %.2f %%, threads that came and went %.2f %%; wineserver %.2f %%\n",
                pc(all), ms / 1000, pc(main), others, pc(live - main), pc(all - live), pc(srv) }'
}

started=$SECONDS
ensure_display
use_prefix "$OUT/prefix"
start_modem "$LOG" "$OUT/modem.pty"
MODEM_PID=$!
start_modem "$PEER_LOG" "$OUT/peer.pty"
PEER_MODEM_PID=$!
map_com1 "$OUT/modem.pty"
seed_settings 1
drive wait-window "no such window" 0 || true  # starts the wineserver
WINESERVER=$(wineserver_pid)

echo "machine: $(nproc) cores, $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo), $(uname -r), $("$WINE_LOADER" --version) ($(basename "$WINE_LOADER"))"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "sizes: $(stat -c '%n %s bytes' "$EXE" "$FLOOR" | sed "s|$BUILD/||g" | paste -sd ';')"

if [ -z "${BENCH_IDLE_ONLY:-}" ] && [ "$STARTS" -gt 0 ]; then
    for _ in $(seq "$STARTS"); do
        echo "$(startup "$FLOOR" "Floor window") $(startup "$EXE" "$W")" >>"$OUT/startup"
    done
    awk '{ f[NR] = $1; p[NR] = $2; sf += $1; sp += $2 }
        END { printf "start-up   mean over %d starts: floor %.0f ms, program %.0f ms: %.2f x the floor\n",
              NR, sf / NR, sp / NR, sp / sf }' "$OUT/startup"
    awk '{ printf "           run %d: floor %.0f ms, program %.0f ms\n", NR, $1, $2 }' "$OUT/startup"
fi

start_app
echo "memory after start: $(memory)"
for _ in $(seq "$ROUNDS"); do
    [ -n "${BENCH_IDLE_ONLY:-}" ] && break
    read_script busy 0 SpeedButton4 45 Edit6 004
    peer_read
done
if [ -n "${BENCH_IDLE_ONLY:-}" ]; then
    select_page 0 && drive click "$W" SpeedButton4 && drive wait-text "$W" Edit6 004 30
else
    read_script levels 1 SpeedButton12 19
    read_script adapt 1 SpeedButton15 20
    read_script bits 2 Button1 21
    read_script speed 3 SpeedButton9 20
    read_script identify 4 SpeedButton6 10
    for name in busy tio levels adapt bits speed identify; do summarize "$name" "$OUT/gaps-$name" "$OUT/spans-$name"; done
    cpu_line busy; cpu_line tio
    awk '{ s += $1; l += $2; if (NR == 1 || $1 > max) max = $1; if (NR == 1 || $1 < min) min = $1 }
        END { printf "latency    last character to the fields showing the values: mean %.1f ms, min %.1f, max %.1f over %d reads (the look that saw it took %.1f ms on average)\n",
              s / NR, min, max, NR, l / NR }' "$OUT/latency-busy"
fi
echo "memory after the first reads: $(memory)"
idle
if [ -z "${BENCH_IDLE_ONLY:-}" ]; then
    select_page 1
    for _ in $(seq "$READS"); do
        mark=$(log_lines "$LOG")
        drive click "$W" SpeedButton12
        wait_until 30 log_has "$LOG" $((mark + 19)) || { echo "a read did not arrive" >&2; break; }
    done
    wait_until 10 bash -c "'$WINE_LOADER' '$DRIVER' state '$W' SpeedButton12 >/dev/null"
    echo "memory after $READS more reads: $(memory)"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg); $((SECONDS - started)) s"

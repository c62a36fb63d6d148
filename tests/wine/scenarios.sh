#!/usr/bin/env bash
# End-to-end scenarios: the program under Wine (the i686 release under the 32-bit loader, or
# the x86_64 build under the 64-bit one), a simulated modem (zoltsim) on COM1, driven from
# outside by ltdrive, which is built beside the program and run by the same loader. Each step waits for a condition with a generous
# limit; nothing sleeps a fixed time.
#   tests/wine/scenarios.sh WINDOWS_BUILD_DIR ZOLTSIM OUT_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
. scripts/wine.sh

BUILD=$(realpath "$1")
ZOLTSIM=$(realpath "$2")
OUT=$(realpath -m "$3")
EXE="$BUILD/src/platform/win32/linetrim.exe"
DRIVER="$BUILD/tests/wine/ltdrive.exe"
WINE_LOADER=$(loader_for "$EXE")
W="$MAIN_CAPTION"
rm -rf "$OUT"
mkdir -p "$OUT/screenshots"
LINK="$OUT/modem.pty"
MODEM_LOG="$OUT/zoltsim.log"
APP_PID= MODEM_PID=
FAILURES=0

drive() { win "$DRIVER" "$@"; }
fail() { echo "  FAIL: $*" >&2; FAILURES=$((FAILURES + 1)); }
expect_eq() { [ "$2" == "$3" ] || fail "$1: expected \"$3\", got \"$2\""; }

# wait_until SECONDS COMMAND...: polls the command until it succeeds.
wait_until() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
}

start_modem() {
    rm -f "$MODEM_LOG"
    # Real-time priority, where allowed, so that its time stamps do not lag on a busy machine.
    local priority=()
    chrt -f 10 true 2>/dev/null && priority=(chrt -f 10)
    "${priority[@]}" "$ZOLTSIM" --link "$LINK" --log "$MODEM_LOG" "$@" >"$OUT/zoltsim.out" 2>&1 &
    MODEM_PID=$!
    wait_until 10 grep -q '^PTY ' "$OUT/zoltsim.out" || { echo "zoltsim did not start" >&2; exit 1; }
}

start_app() {
    # The loader itself in the background, so that APP_PID is the program's process.
    "$WINE_LOADER" "$EXE" >>"$OUT/app.log" 2>&1 &
    APP_PID=$!
    drive wait-window "$W" 60 || { fail "the main window did not appear"; return 1; }
}

app_gone() { ! kill -0 "$APP_PID" 2>/dev/null; }

stop_all() {
    if [ -n "$APP_PID" ] && ! app_gone; then kill "$APP_PID" 2>/dev/null || true; fi
    # Wine's server before the modem: the server may hold the pseudo-terminal as its
    # terminal, and its hang-up would make it dump all its objects onto the output.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    if [ -n "$MODEM_PID" ]; then kill "$MODEM_PID" 2>/dev/null || true; wait "$MODEM_PID" 2>/dev/null || true; fi
    APP_PID= MODEM_PID=
}
trap 'stop_all; stop_display' EXIT

# shot NAME: the main window as it is on the screen.
shot() {
    local desk x y w h
    desk=$(xdotool search --name 'Wine desktop' | head -1)
    read -r x y w h < <(drive rect "$W")
    import -window "$desk" png:- | convert - -crop "${w}x${h}+${x}+${y}" +repage "$OUT/screenshots/$1.png"
}

# The commands the modem received after log line $1, one per line.
received_commands() { tail -n +"$(($1 + 1))" "$MODEM_LOG" | awk '{printf "%s", ($2 == 13) ? "\n" : sprintf("%c", $2)}'; }
# Checks the pacing of what the modem received after log line $1. The pseudo-terminal
# delivers a character late now and then on a busy machine, which shortens the gap after
# it, so single gaps are only reported: the check is that the median gap and the whole
# span (more than 50 ms a character on the sender's side) hold. Prints what it found.
check_pacing() {
    # From the last character before: the first one after a quiet spell may come late too.
    tail -n +"$1" "$MODEM_LOG" | awk 'NR > 1 { print $1 - t } { t = $1 }' | sort -n | awk '
        { gaps[NR] = $1; span += $1; if ($1 < 50) short++ }
        END {
            median = gaps[int((NR + 1) / 2)]
            printf "median gap %.1f ms, smallest %.1f ms (%d under 50), span %.0f ms for %d gaps\n", median, gaps[1], short, span, NR
            exit (NR == 0 || median < 50 || span < NR * 50)
        }'
}
log_lines() { [ -f "$MODEM_LOG" ] && wc -l <"$MODEM_LOG" || echo 0; }

threads() { ls "/proc/$APP_PID/task"; }
ticks() { awk '{print $14 + $15}' "$1" 2>/dev/null || echo 0; }
thread_ticks() { local t sum=0; for t in "$@"; do sum=$((sum + $(ticks "/proc/$APP_PID/task/$t/stat"))); done; echo $sum; }

# CPU use over 4 s, in per mille of a core, of the given threads (IDLE_THREADS) and of
# all threads but the user-interface thread (IDLE_ALL: the system's own helper threads
# for the port's waits, which come and go, included).
measure_idle() {
    local hz start all main mine
    hz=$(getconf CLK_TCK)
    all=$(ticks "/proc/$APP_PID/stat")
    main=$(ticks "/proc/$APP_PID/task/$APP_PID/stat")
    mine=$(thread_ticks "$@")
    start=$(date +%s%N)
    sleep 4  # a measuring window, not a wait for a condition
    local window=$(($(date +%s%N) - start))
    local spentAll=$(($(ticks "/proc/$APP_PID/stat") - all - ($(ticks "/proc/$APP_PID/task/$APP_PID/stat") - main)))
    local spentMine=$(($(thread_ticks "$@") - mine))
    IDLE_THREADS=$((spentMine * 1000 * 1000000000 / hz / window))
    IDLE_ALL=$((spentAll * 1000 * 1000000000 / hz / window))
}

select_page() {
    drive tab "$W" PageControl1 "$1"
    wait_until 10 bash -c "'$WINE_LOADER' '$DRIVER' tabs '$W' PageControl1 | head -1 | grep -qx 'selected=$1'"
}

# Each scenarios_*.sh beside this file defines scenario functions and adds them to SCENARIOS.
SCENARIOS=()
for file in tests/wine/scenarios_*.sh; do . "$file"; done
# WINE_SCENARIOS="name ..." runs only those.
[ -n "${WINE_SCENARIOS:-}" ] && read -ra SCENARIOS <<<"$WINE_SCENARIOS"

started=$SECONDS
ensure_display
use_prefix "$OUT/prefix"
map_com1 "$LINK"
echo "wine prefix ready in $((SECONDS - started)) s: $(basename "$BUILD") under $(basename "$WINE_LOADER"), locale $LC_ALL"
for scenario in "${SCENARIOS[@]}"; do "$scenario"; done
echo "wine scenarios: $((SECONDS - started)) s, screenshots in $OUT/screenshots"
[ "$FAILURES" -eq 0 ] || { echo "wine scenarios: $FAILURES failure(s)" >&2; exit 1; }

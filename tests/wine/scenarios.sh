#!/usr/bin/env bash
# End-to-end scenarios: the x86_64 program under Wine, a simulated modem (zoltsim) on
# COM1, driven from outside by ltdrive. Each step waits for a condition with a generous
# limit; nothing sleeps a fixed time.
#   tests/wine/scenarios.sh X64_BUILD_DIR ZOLTSIM OUT_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
. scripts/wine.sh

BUILD=$(realpath "$1")
ZOLTSIM=$(realpath "$2")
OUT=$(realpath -m "$3")
EXE="$BUILD/src/platform/win32/linetrim.exe"
DRIVER="$BUILD/tests/wine/ltdrive.exe"
W="$MAIN_CAPTION"
rm -rf "$OUT"
mkdir -p "$OUT/screenshots"
LINK="$OUT/modem.pty"
MODEM_LOG="$OUT/zoltsim.log"
APP_PID= MODEM_PID=
FAILURES=0

drive() { wine "$DRIVER" "$@"; }
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
    wine "$EXE" >>"$OUT/app.log" 2>&1 &
    APP_PID=$!
    drive wait-window "$W" 60 || { fail "the main window did not appear"; return 1; }
}

app_gone() { ! kill -0 "$APP_PID" 2>/dev/null; }

stop_all() {
    if [ -n "$APP_PID" ] && ! app_gone; then kill "$APP_PID" 2>/dev/null || true; fi
    if [ -n "$MODEM_PID" ]; then kill "$MODEM_PID" 2>/dev/null || true; wait "$MODEM_PID" 2>/dev/null || true; fi
    APP_PID= MODEM_PID=
    wineserver -k 2>/dev/null || true
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
# Checks the pacing of what the modem received after log line $1: every character more
# than 50 ms after the one before. The pseudo-terminal delivers a character a few ms late
# now and then on a busy machine, which shortens the gap after it by as much as it
# lengthened the one before; such a pair still spans 100 ms. Prints what it found.
check_pacing() {
    # From the last character before: the first one after a quiet spell may come late too.
    tail -n +"$1" "$MODEM_LOG" | awk '
        NR > 1 {
            gap = $1 - t
            if (NR > 2 && (min == "" || gap < min)) min = gap
            if (gap < 50) { if (prev + gap >= 100) late++; else bad++ }
            prev = gap
        }
        { t = $1 }
        END { printf "smallest gap %.1f ms, %d late deliveries, %d too short\n", min, late, bad; exit bad > 0 }'
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
    wait_until 10 bash -c "wine '$DRIVER' tabs '$W' PageControl1 | head -1 | grep -qx 'selected=$1'"
}

scenario_settings_present() {
    echo "scenario: start with settings, read, write, init string, pages, exit"
    seed_settings 1
    start_modem
    start_app || return
    expect_eq "tabs" "$(drive tabs "$W" PageControl1 | tr -d '\r' | paste -sd '|')" \
        "selected=2|Главная|Уровни сигналов|Регистры +|Скорость|Информация"
    shot 3-registers

    select_page 0
    local before_open
    before_open=$(threads)
    drive click "$W" SpeedButton4
    drive wait-text "$W" Edit6 004 30 || fail "the busy-tone read did not fill the fields"
    local values=""
    for e in Edit2 Edit3 Edit4 Edit5 Edit6; do values+="$(drive text "$W" $e) "; done
    expect_eq "busy-tone values" "$values" "025 050 010 040 004 "
    shot 1-main

    # Idle with the port open, the port's event thread must not spin. It is the thread
    # that appeared with the port and stays; Wine's helpers for each wait come and go.
    local event_thread
    event_thread=$(comm -13 <(echo "$before_open") <(threads) | while read -r t; do
        [ -e "/proc/$APP_PID/task/$t" ] && echo "$t"; done)
    [ -n "$event_thread" ] || fail "no event thread appeared when the port opened"
    measure_idle $event_thread
    echo "  idle CPU with the port open: event thread $IDLE_THREADS, with Wine's wait helpers $IDLE_ALL per mille of a core"
    # The aim is under 1%; under Wine on a loaded machine it measures 0.7-1.4%, so the
    # check catches a thread that spins (tens of per cent) without failing on that noise.
    [ "$IDLE_THREADS" -le 30 ] || fail "the event thread spins: $IDLE_THREADS per mille while idle"

    local mark
    mark=$(log_lines)
    drive type "$W" Edit2 030
    drive click "$W" SpeedButton5
    write_done() { received_commands "$mark" | grep -qx ATZ; }
    wait_until 40 write_done || fail "the write did not reach the modem"
    expect_eq "write commands" "$(received_commands "$mark" | paste -sd '|')" \
        "ATS203=030|ATS204=050|ATS205=010|ATS206=040|ATS207=004|AT&w&w0&w1|ATZ"
    local pacing
    pacing=$(check_pacing "$mark") || fail "characters less than 50 ms apart: $pacing"
    echo "  pacing of the write: $pacing"

    drive click "$W" SpeedButton18
    drive wait-text "$W" Edit1 ATM0 20 || fail "the init string was not read"
    drive click "$W" SpeedButton8
    local expected="ATM0S203=030S204=050S205=010S206=040S207=004"
    drive wait-text "$W" Edit1 "$expected" 20 || fail "append did not extend the init string"
    drive click "$W" SpeedButton19
    wait_until 20 bash -c "wine reg query 'HKLM\\$MODEM_CLASS\\0000' /v USERINIT | grep -q '$expected'" ||
        fail "USERINIT in the registry is not \"$expected\""

    select_page 2
    drive toggle "$W" CheckListBox2 2
    wait_until 10 bash -c "wine '$DRIVER' checks '$W' CheckListBox2 | grep -qx 00100000" ||
        fail "a click on the check box did not check the item ($(drive checks "$W" CheckListBox2))"
    expect_eq "help button" "$(drive state "$W" SpeedButton1 | tr -d '\r')" "enabled=0 visible=1"

    select_page 1
    drive slide "$W" RxSlider1 7
    wait_until 10 bash -c "wine '$DRIVER' pos '$W' RxSlider1 | grep -qx 7" || fail "the slider did not take the user's value"
    shot 2-levels
    select_page 3 && shot 4-speed
    select_page 4 && shot 5-information

    drive click "$W" SpeedButton3
    wait_until 20 app_gone || fail "\"Выход\" did not end the program"
    stop_all
}

scenario_port_missing() {
    echo "scenario: a port that does not exist"
    seed_settings 5
    start_app || return
    select_page 0
    drive click "$W" SpeedButton4
    expect_eq "error box" "$(drive box 30 | tr -d '\r')" "Invalid port number (COM5)"
    drive box-ok || fail "the error box did not close"
    drive close "$W"
    wait_until 20 app_gone || fail "closing the main window did not end the program"
    stop_all
}

started=$SECONDS
ensure_display
use_prefix "$OUT/prefix"
map_com1 "$LINK"
echo "wine prefix ready in $((SECONDS - started)) s"
scenario_settings_present
scenario_port_missing
echo "wine scenarios: $((SECONDS - started)) s, screenshots in $OUT/screenshots"
[ "$FAILURES" -eq 0 ] || { echo "wine scenarios: $FAILURES failure(s)" >&2; exit 1; }

# Scenarios of faults: the modem's device disappearing in the middle of a send and
# coming back, and how fast the program ends with its port open. Sourced by
# scenarios.sh, which provides the harness.

# ms_since START_NS: milliseconds since a `date +%s%N` reading.
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }

# exit_time_ms: presses "Выход" and prints how long the program took to end.
exit_time_ms() {
    local start
    start=$(date +%s%N)
    drive click "$W" SpeedButton3
    wait_until 20 app_gone || { fail "\"Выход\" did not end the program"; echo 99999; return; }
    ms_since "$start"
}

scenario_device_gone() {
    echo "scenario: the device disappears during a send and comes back"
    seed_settings 1
    start_modem
    start_app || return
    select_page 0
    drive click "$W" SpeedButton4
    # Killing zoltsim closes the far end of the pseudo-terminal: the port's device is gone.
    wait_until 20 bash -c "[ \$(wc -l <'$MODEM_LOG') -ge 3 ]" || fail "the read did not start"
    kill "$MODEM_PID"
    wait "$MODEM_PID" 2>/dev/null || true
    MODEM_PID=
    expect_eq "error box" "$(drive box 30 | tr -d '\r')" "TVaModem: error writing to comm."
    drive box-ok || fail "the error box did not close"
    drive box 2 >/dev/null 2>&1 && fail "a second box followed: $(drive box 1)"
    app_gone && { fail "the program ended with the device"; stop_all; return; }
    # Nothing may spin on the dead device: the event thread has ended.
    measure_idle
    echo "  CPU with the device gone: $IDLE_ALL per mille of a core (all threads but the user interface)"
    [ "$IDLE_ALL" -le 100 ] || fail "a thread spins on the dead device: $IDLE_ALL per mille"

    # The same link again: the next read opens the port anew.
    start_modem
    drive click "$W" SpeedButton4
    drive wait-text "$W" Edit6 004 30 || fail "the read after the device came back did not fill the fields"
    local values=""
    for e in Edit2 Edit3 Edit4 Edit5 Edit6; do values+="$(drive text "$W" $e | tr -d '\r') "; done
    expect_eq "busy-tone values" "$values" "025 050 010 040 004 "

    local took
    took=$(exit_time_ms)
    echo "  exit with the port open and idle: $took ms"
    [ "$took" -le 2000 ] || fail "the program took $took ms to end"
    stop_all
}

scenario_exit_during_read() {
    echo "scenario: \"Выход\" while a read is being sent and answered"
    seed_settings 1
    start_modem
    start_app || return
    select_page 0
    drive click "$W" SpeedButton4
    drive wait-text "$W" Edit6 004 30 || fail "the first read did not fill the fields"
    # Hand-overs are in flight while the modem echoes and answers the next read.
    local mark
    mark=$(log_lines)
    drive click "$W" SpeedButton4
    wait_until 20 bash -c "[ \$(wc -l <'$MODEM_LOG') -ge $((mark + 10)) ]" || fail "the second read did not start"
    local took
    took=$(exit_time_ms)
    echo "  exit in the middle of a read: $took ms"
    [ "$took" -le 2000 ] || fail "the program took $took ms to end"
    stop_all
}

SCENARIOS+=(scenario_device_gone scenario_exit_during_read)

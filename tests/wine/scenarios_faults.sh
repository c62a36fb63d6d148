# Scenarios of faults: the modem's device disappearing in the middle of a send and
# coming back, how fast the program ends with its port open, and a modem that prints
# malformed values. Sourced by scenarios.sh, which provides the harness.

# ms_since START_NS: milliseconds since a `date +%s%N` reading.
ms_since() { echo $((($(date +%s%N) - $1) / 1000000)); }

# exit_times: presses "Выход"; prints the milliseconds until the main window has gone
# (the program has closed its port and destroyed its windows), measured in the driver,
# and until the process has ended (Wine's own teardown included).
exit_times() {
    local start window
    start=$(date +%s%N)
    window=$(drive click-until-gone "$W" SpeedButton3 20 | tr -d '\r') || window=99999
    wait_until 20 app_gone || { fail "\"Выход\" did not end the program"; echo "$window 99999"; return; }
    echo "$window $((($(date +%s%N) - start) / 1000000))"
}

# check_exit WHAT: presses "Выход" and checks that the window has gone within 2 s.
check_exit() {
    local window process
    read -r window process < <(exit_times)
    echo "  exit $1: window gone after $window ms, process ended $process ms after the driver started"
    [ "$window" -le 2000 ] || fail "exit $1: the window stayed $window ms"
}

scenario_device_gone() {
    echo "scenario: the device disappears during a send and comes back"
    # Wine's server holds the pseudo-terminal as its controlling terminal: the hang-up
    # when zoltsim ends makes it dump its objects to its error output, which goes to a
    # log here rather than into this report.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p >>"$OUT/wineserver.log" 2>&1
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

    check_exit "with the port open and idle"
    stop_all
}

scenario_exit_during_read() {
    echo "scenario: \"Выход\" during a read: while it is sent, and while its answers are handed over"
    seed_settings 1
    start_modem --delay 300
    start_app || return
    select_page 0
    # The read is one paced send of 45 characters (2.3 s) that handles no window message:
    # a click during it waits for its end.
    drive click "$W" SpeedButton4
    wait_until 20 bash -c "[ \$(wc -l <'$MODEM_LOG') -ge 10 ]" || fail "the read did not start"
    local window process
    read -r window process < <(exit_times)
    echo "  exit during the paced send: window gone after $window ms, process ended after $process ms"
    [ "$window" -le 4000 ] || fail "exit during the send: the window stayed $window ms"
    stop_all

    # Sent whole, the modem's answers (each 300 ms late) are being handed over.
    start_modem --delay 300
    start_app || return
    select_page 0
    drive click "$W" SpeedButton4
    wait_until 20 bash -c "[ \$(wc -l <'$MODEM_LOG') -ge 45 ]" || fail "the read was not sent whole"
    check_exit "while the answers are handed over"
    drive text "$W" Edit6 >/dev/null 2>&1 && fail "the window outlived the exit"
    stop_all
}

# read_fails_once WHAT PAGE BUTTON MESSAGE: the read shows its error box, and no second
# one comes after it is closed, however long the port goes on reporting.
read_fails_once() {
    local what=$1 page=$2 button=$3 message=$4
    select_page "$page"
    drive click "$W" "$button"
    expect_eq "$what: error box" "$(drive box 30 | tr -d '\r')" "$message"
    drive box-ok || fail "$what: the error box did not close"
    if drive box 3 >/dev/null 2>&1; then
        fail "$what: a second box followed: $(drive box 1 | tr -d '\r')"
        drive box-ok
    fi
}

# read_shows WHAT PAGE BUTTON EXPECTED CONTROL...: the read fills the controls, no box.
read_shows() {
    local what=$1 page=$2 button=$3 expected=$4 why
    shift 4
    select_page "$page"
    why=$(drive click "$W" "$button" \; wait-values "$W" 30 "$expected" "$@" 2>&1) || fail "$what: ${why#ltdrive: }"
}

scenario_malformed_values() {
    echo "scenario: a modem that prints malformed values: one error box per read, then a sane modem reads"
    # As in scenario_device_gone: the modem is restarted under a running Wine.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p >>"$OUT/wineserver.log" 2>&1
    seed_settings 1
    start_modem --malformed-values
    start_app || return
    read_fails_once "busy tone" 0 SpeedButton4 "'#2O' is not a valid integer value."
    read_fails_once "level" 1 SpeedButton12 "'#1O' is not a valid integer value."
    read_fails_once "line adaptation" 1 SpeedButton15 "'#5O' is not a valid integer value."
    read_fails_once "bit registers" 2 Button1 "'5OK' is not a valid integer value."
    read_fails_once "speed" 3 SpeedButton9 "' #3' is not a valid integer value."
    # The identification text is malformed too: no edition is known, which is no error.
    select_page 4
    drive click "$W" SpeedButton6
    wait_until 30 bash -c "! '$WINE_LOADER' '$DRIVER' setting version" || fail "a malformed identification kept the edition"
    if drive box 3 >/dev/null 2>&1; then
        fail "the identification showed a box: $(drive box 1 | tr -d '\r')"
        drive box-ok
    fi

    # The same link, a sane modem: identification and every read work again.
    kill "$MODEM_PID"
    wait "$MODEM_PID" 2>/dev/null || true
    start_modem
    select_page 4
    drive click "$W" SpeedButton6
    drive wait-setting version 65a 30 || fail "the identification after the modem was sane again did not store 65a"
    read_shows "busy tone" 0 SpeedButton4 "025|050|010|040|004" Edit2 Edit3 Edit4 Edit5 Edit6
    read_shows "level" 1 SpeedButton12 "-10|13" RxLabel1 RxSlider1
    read_shows "line adaptation" 1 SpeedButton15 "7|3" RxSlider2 RxSlider3
    read_shows "bit registers" 2 Button1 "10100000|00000000" CheckListBox1 CheckListBox2
    read_shows "speed" 3 SpeedButton9 "V92|Да|300|56000|300|48000|3429" \
        ComboBox2 ComboBox9 ComboBox3 ComboBox4 ComboBox5 ComboBox6 ComboBox8
    drive box 1 >/dev/null 2>&1 && fail "an error box is open: $(drive box 1 | tr -d '\r')"
    check_exit "after the malformed replies"
    stop_all
}

SCENARIOS+=(scenario_device_gone scenario_exit_during_read scenario_malformed_values)

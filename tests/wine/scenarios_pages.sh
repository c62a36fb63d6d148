# Scenarios of the register pages: the bit registers, the levels and the speed page read
# from the simulated modem, edited as a user does (clicks on check boxes, keyboard steps
# on a slider, items picked in the lists) and written back; then the soak of every read.
# Sourced by scenarios.sh, which provides the harness (drive, wait_until, shot, ...).

# The values of controls as ltdrive reads them, joined by '|'.
values() { drive values "$W" "$@" | tr -d '\r' | paste -sd '|'; }

# sent_since MARK: the complete commands the modem received after log line MARK, joined
# by '|' and closed by "|END"; a command still arriving runs into the "END".
sent_since() { { received_commands "$1"; echo END; } | paste -sd '|'; }
sent_is() { [ "$(sent_since "$1")" == "$2" ]; }

# expect_sent MARK WHAT COMMAND...: the modem receives exactly these commands after MARK.
expect_sent() {
    local mark=$1 what=$2 want
    shift 2
    want="$(IFS='|'; echo "$*")|END"
    wait_until 30 sent_is "$mark" "$want" && return
    fail "$what: the modem received \"$(sent_since "$mark")\", expected \"$want\""
    return 1
}

# step WHAT DRIVER-COMMANDS...: one chain of driver commands (actions, then waits for what
# they must bring about: "wait-values" also fails on an error box) that must succeed.
step() {
    local what=$1 why
    shift
    why=$(drive "$@" 2>&1) && return
    fail "$what: ${why#ltdrive: }"
    return 1
}

# show_page N: the page N of the main window shown, as a click on its tab shows it.
show_page() { step "page $1 shown" tab "$W" PageControl1 "$1" \; wait-values "$W" 10 "$1" PageControl1; }

bit_registers_page() {
    show_page 2
    local lists=(CheckListBox1 CheckListBox2)
    # The modem's factory values: S216 = 5 (bits 0 and 2), S218 = 0.
    step "bit registers read" wait-values "$W" 1 "00000000|00000000" "${lists[@]}" \; click "$W" Button1 \; \
        wait-values "$W" 20 "10100000|00000000" "${lists[@]}"
    step "check boxes clicked" toggle "$W" CheckListBox1 0 \; toggle "$W" CheckListBox1 7 \; \
        toggle "$W" CheckListBox2 1 \; wait-values "$W" 10 "00100001|01000000" "${lists[@]}"
    local mark
    mark=$(log_lines)
    drive click "$W" SpeedButton2
    expect_sent "$mark" "bit registers write" "ATS216=132S218=2" "at&w&w0&w1"

    local before
    before=$(values Edit1)
    step "bit registers append" click "$W" SpeedButton7 \; wait-values "$W" 10 "${before}S216=132S218=2" Edit1
    shot 6-bit-registers
}

levels_page() {
    show_page 1
    step "level read (S91 = 10)" wait-values "$W" 1 "|13" RxLabel1 RxSlider1 \; click "$W" SpeedButton12 \; \
        wait-values "$W" 20 "-10|13" RxLabel1 RxSlider1
    # Each keyboard step ends a change: the label follows at once, step by step.
    step "level moved by two steps left" key "$W" RxSlider1 LEFT \; wait-values "$W" 5 "-11|12" RxLabel1 RxSlider1 \; \
        key "$W" RxSlider1 LEFT \; wait-values "$W" 5 "-12|11" RxLabel1 RxSlider1
    local mark
    mark=$(log_lines)
    drive click "$W" SpeedButton13
    expect_sent "$mark" "level write" "ATS91=12" "at&w&w0&w1"

    # S215 = 55: aggressiveness 7 (low half), noise detector 3 (high half).
    step "line adaptation read (S215 = 55)" wait-values "$W" 1 "1|1" RxSlider2 RxSlider3 \; \
        click "$W" SpeedButton15 \; wait-values "$W" 20 "7|3" RxSlider2 RxSlider3
    mark=$(log_lines)
    drive click "$W" SpeedButton16
    expect_sent "$mark" "line adaptation write" "ATS215=55" "at&w&w0&w1"
    shot 7-levels
}

speed_page() {
    show_page 3
    local lists=(ComboBox2 ComboBox9 ComboBox3 ComboBox4 ComboBox5 ComboBox6 ComboBox8)
    # The modem's factory values: +MS: V92,1,300,48000,300,56000 and S210 = 5.
    step "speed read" wait-values "$W" 1 "||||||" "${lists[@]}" \; click "$W" SpeedButton9 \; \
        wait-values "$W" 20 "V92|Да|300|56000|300|48000|3429" "${lists[@]}"
    local receive
    receive=$(drive items "$W" ComboBox4 | tr -d '\r')
    expect_eq "receive rates for V92" "$(echo "$receive" | sed -n '2p;$p' | paste -sd ' ') $(($(echo "$receive" | wc -l) - 1))" \
        "75 56000 45"

    step "speed items picked" pick-text "$W" ComboBox2 V90 \; pick-text "$W" ComboBox6 33600 \; \
        pick-text "$W" ComboBox8 3200 \; wait-values "$W" 10 "V90|Да|300|56000|300|33600|3200" "${lists[@]}"
    local mark pacing
    mark=$(log_lines)
    drive click "$W" SpeedButton10
    expect_sent "$mark" "speed write" "AT+MS=V90,1,300,33600,300,56000" "at&w&w0&w1" "ATS210=4" "at&w&w0&w1"
    pacing=$(check_pacing "$mark") || fail "pacing under 50 ms a character: $pacing"

    step "protocol list dropped down" drop "$W" ComboBox2 1
    shot 8-speed-list-dropped
    drive drop "$W" ComboBox2 0
}

scenario_register_pages() {
    echo "scenario: bit registers, levels and speed read, edited, written and appended"
    seed_settings 1
    start_modem --edition 65a
    start_app || return
    bit_registers_page
    levels_page
    speed_page
    drive close "$W"
    wait_until 20 app_gone || fail "closing the main window did not end the program"
    stop_all
}

. tests/wine/soak.sh

SCENARIOS+=(scenario_register_pages scenario_wine_soak)

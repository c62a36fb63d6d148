# An error box raised while another program is in front. Sourced by scenarios.sh, which
# provides the harness.

scenario_error_box_in_background() {
    echo "scenario: an error box raised while another program is in front"
    seed_settings 1
    # Values of two digits: the busy-tone read fails to parse.
    start_modem --short-values
    start_app || return

    select_page 0
    drive click "$W" SpeedButton4
    # The user turns to another program while the read's commands go out.
    wait_until 20 bash -c "[ \$(wc -l <'$MODEM_LOG') -ge 3 ]" || fail "the read did not start"
    local front="$OUT/front-window.out"
    wine "$DRIVER" front-window "another program" 60 >"$front" 2>&1 &
    local front_pid=$!
    wait_until 20 grep -q ready "$front" || fail "the other program's window did not come in front"

    # Each transmit-empty report of the read parses the reply again and may raise its own
    # box; the main window must not respond while any of them is up.
    local text boxes=0
    while text=$(drive box 10 2>/dev/null | tr -d '\r'); do
        boxes=$((boxes + 1))
        case "$text" in *"is not a valid integer value.") ;; *) fail "error box: \"$text\"" ;; esac
        expect_eq "main window while box $boxes is up" "$(drive window-state "$W" | tr -d '\r')" \
            "enabled=0 visible=1 iconic=0"
        drive box-ok || { fail "the error box did not close"; break; }
        [ "$boxes" -lt 5 ] || { fail "more than 5 boxes"; break; }
    done
    [ "$boxes" -gt 0 ] || fail "no error box"
    # A disabled window takes no mouse or keyboard input from the system: no request could
    # start under a failed handler's box.
    wait_until 10 bash -c "wine '$DRIVER' window-state '$W' | grep -q 'enabled=1'" ||
        fail "the main window stays disabled after the boxes"
    echo "  $boxes error box(es) closed"
    kill "$front_pid" 2>/dev/null || true
    wait "$front_pid" 2>/dev/null || true
    stop_all
}

SCENARIOS+=(scenario_error_box_in_background)

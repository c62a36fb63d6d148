#!/usr/bin/env bash
# The soak under Wine: READS consecutive reads of each read of the program (busy tone, bit
# registers, transmit level, line adaptation, speed, identification) against the simulated
# modem, each checked through the driver, and the program's memory after the first read
# and after the last.
#   tests/wine/soak.sh READS [WINDOWS_BUILD_DIR ZOLTSIM OUT_DIR]
# Sourced by scenarios_pages.sh, it adds scenario_wine_soak (WINE_SOAK_READS reads of
# each, 3 unless told) to the Wine scenarios.
#
# Before every read the control that shows the value is moved away from it, so only a
# completed read passes. Before read 2 and then every SOAK_VARY_EVERY reads the page writes
# new values (the modem keeps what it is told), so the reads that follow must show them.

SOAK_VARY_EVERY=10
SOAK_GROWTH_LIMIT_KIB=2048

soak_vary_due() { [ "$1" -ge 2 ] && [ $((($1 - 2) % SOAK_VARY_EVERY)) -eq 0 ]; }
soak_variation() { echo $((($1 - 2) / SOAK_VARY_EVERY + 1)); }

# soak_step WHAT DRIVER-COMMANDS...: a step of the soak; a failure is counted and its
# error box, if any, closed so that the soak goes on.
soak_step() {
    soak_sample
    step "$@" && return
    SOAK_FAILURES=$((SOAK_FAILURES + 1))
    drive box-ok >/dev/null 2>&1 || true
}

# Every SOAK_SAMPLE_EVERY steps (0: never) the private bytes, to show whether memory
# levels off or grows with every read.
SOAK_STEPS=0
soak_sample() {
    SOAK_STEPS=$((SOAK_STEPS + 1))
    [ "${SOAK_SAMPLE_EVERY:-0}" -gt 0 ] && [ $((SOAK_STEPS % SOAK_SAMPLE_EVERY)) -eq 0 ] || return 0
    echo "  after $SOAK_STEPS steps: private bytes $(memory_field "$(soak_memory)" pagefile) KiB"
}

# soak_write MARK WHAT COMMAND...: the modem receives the write's commands.
soak_write() { expect_sent "$@" || SOAK_FAILURES=$((SOAK_FAILURES + 1)); }

# The memory counters of the program's process, KiB: the Windows side (ltdrive memory:
# the private bytes, which Wine reports as PagefileUsage, and the working set) and, for
# comparison, Linux's view of the same process.
soak_memory() {
    local windows
    windows=$(drive memory "$W" | tr -d '\r')
    echo "$windows $(awk '/^VmRSS|^RssAnon/ {sub(":", "", $1); printf "%s=%s ", $1, $2}' "/proc/$APP_PID/status")"
}
memory_field() { echo "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }

# After each page's reads, with the private bytes then, to show where memory grows.
soak_report() {
    echo "  $1: $2 reads in $((SECONDS - $3)) s, private bytes $(memory_field "$(soak_memory)" pagefile) KiB"
}

soak_busy_tone() {
    local reads=$1 i j k mark began=$SECONDS
    local fields=(Edit2 Edit3 Edit4 Edit5 Edit6) shown=(025 050 010 040 004)
    show_page 0
    for ((i = 1; i <= reads; i++)); do
        if soak_vary_due "$i"; then
            k=$(soak_variation "$i")
            local typing=() commands=()
            for j in 0 1 2 3 4; do
                shown[j]=$(printf %03d $(((10#${shown[j]} + 13 * k + j) % 200 + 1)))
                typing+=(type "$W" "${fields[j]}" "${shown[j]}" ";")
                commands+=("ATS$((203 + j))=${shown[j]}")
            done
            mark=$(log_lines)
            soak_step "busy-tone write $k" "${typing[@]}" click "$W" SpeedButton5
            soak_write "$mark" "busy-tone write $k" "${commands[@]}" "AT&w&w0&w1" "ATZ"
        fi
        soak_step "busy-tone read $i" type "$W" "${fields[i % 5]}" --- \; click "$W" SpeedButton4 \; \
            wait-values "$W" 30 "$(IFS='|'; echo "${shown[*]}")" "${fields[@]}"
        if [ "$i" -eq 1 ]; then SOAK_MEMORY_FIRST=$(soak_memory); fi
    done
    soak_report "busy tone" "$reads" "$began"
}

flip_bit() { echo "${1:0:$2}$((1 - ${1:$2:1}))${1:$2+1}"; }
bits_value() {
    local v=0 i
    for ((i = 7; i >= 0; i--)); do v=$((v * 2 + ${1:i:1})); done
    echo "$v"
}

soak_bit_registers() {
    local reads=$1 i k x y mark began=$SECONDS s216=10100000 s218=00000000
    show_page 2
    for ((i = 1; i <= reads; i++)); do
        if soak_vary_due "$i"; then
            k=$(soak_variation "$i")
            x=$((k % 8)) y=$(((k + 3) % 8))
            s216=$(flip_bit "$s216" "$x") s218=$(flip_bit "$s218" "$y")
            mark=$(log_lines)
            soak_step "bit registers write $k" toggle "$W" CheckListBox1 "$x" \; toggle "$W" CheckListBox2 "$y" \; \
                click "$W" SpeedButton2
            soak_write "$mark" "bit registers write $k" "ATS216=$(bits_value "$s216")S218=$(bits_value "$s218")" \
                "at&w&w0&w1"
        fi
        soak_step "bit registers read $i" toggle "$W" CheckListBox1 $((i % 8)) \; click "$W" Button1 \; \
            wait-values "$W" 30 "$s216|$s218" CheckListBox1 CheckListBox2
    done
    soak_report "bit registers" "$reads" "$began"
}

# slider_keys SLIDER POSITION LOWEST: adds to STEPS the driver commands of the keys that
# take a slider to a position.
slider_keys() {
    STEPS+=(key "$W" "$1" HOME ";")
    if [ "$2" -gt "$3" ]; then STEPS+=(key "$W" "$1" RIGHT $(($2 - $3)) ";"); fi
}

soak_transmit_level() {
    local reads=$1 i k p=13 away mark began=$SECONDS
    show_page 1
    for ((i = 1; i <= reads; i++)); do
        if soak_vary_due "$i"; then
            k=$(soak_variation "$i")
            p=$((3 + (k * 7 + 3) % 18))
            mark=$(log_lines)
            STEPS=()
            slider_keys RxSlider1 "$p" 3
            soak_step "level write $k" "${STEPS[@]}" click "$W" SpeedButton13
            soak_write "$mark" "level write $k" "ATS91=$((23 - p))" "at&w&w0&w1"
        fi
        away=HOME
        if [ "$p" -eq 3 ]; then away=END; fi
        soak_step "level read $i" key "$W" RxSlider1 "$away" \; click "$W" SpeedButton12 \; \
            wait-values "$W" 30 "-$((23 - p))|$p" RxLabel1 RxSlider1
    done
    soak_report "transmit level" "$reads" "$began"
}

soak_line_adaptation() {
    local reads=$1 i k a=7 b=3 away mark began=$SECONDS
    show_page 1
    for ((i = 1; i <= reads; i++)); do
        if soak_vary_due "$i"; then
            k=$(soak_variation "$i")
            a=$((1 + (k * 4) % 9)) b=$((1 + (k * 7 + 1) % 9))
            mark=$(log_lines)
            STEPS=()
            slider_keys RxSlider2 "$a" 1
            slider_keys RxSlider3 "$b" 1
            soak_step "line adaptation write $k" "${STEPS[@]}" click "$W" SpeedButton16
            soak_write "$mark" "line adaptation write $k" "ATS215=$((a + 16 * b))" "at&w&w0&w1"
        fi
        away=HOME
        if [ "$a" -eq 1 ]; then away=END; fi
        soak_step "line adaptation read $i" key "$W" RxSlider2 "$away" \; click "$W" SpeedButton15 \; \
            wait-values "$W" 30 "$a|$b" RxSlider2 RxSlider3
    done
    soak_report "line adaptation" "$reads" "$began"
}

soak_speed() {
    local reads=$1 i k s mark began=$SECONDS
    local carrier=V92 automatic=Да transmit=48000 symbol=3429
    local transmits=(33600 28000 31200 42000 48000) symbols=(2400 2800 3000 3200 3429) answers=(Нет Да)
    local lists=(ComboBox2 ComboBox9 ComboBox3 ComboBox4 ComboBox5 ComboBox6 ComboBox8)
    show_page 3
    for ((i = 1; i <= reads; i++)); do
        if soak_vary_due "$i"; then
            k=$(soak_variation "$i")
            carrier=V9$((k % 2 ? 0 : 2)) automatic=${answers[k / 2 % 2]} transmit=${transmits[k % 5]}
            s=$(((k + 2) % 5)) symbol=${symbols[s]}
            mark=$(log_lines)
            soak_step "speed write $k" pick-text "$W" ComboBox2 "$carrier" \; pick-text "$W" ComboBox9 "$automatic" \; \
                pick-text "$W" ComboBox6 "$transmit" \; pick-text "$W" ComboBox8 "$symbol" \; click "$W" SpeedButton10
            soak_write "$mark" "speed write $k" "AT+MS=$carrier,$((k / 2 % 2)),300,$transmit,300,56000" "at&w&w0&w1" \
                "ATS210=$((s + 1))" "at&w&w0&w1"
        fi
        soak_step "speed read $i" pick "$W" ComboBox2 0 \; click "$W" SpeedButton9 \; \
            wait-values "$W" 30 "$carrier|$automatic|300|56000|300|$transmit|$symbol" "${lists[@]}"
    done
    soak_report "speed" "$reads" "$began"
}

# The identification stores the edition it found; the stored one is removed before each.
soak_identification() {
    local reads=$1 i began=$SECONDS
    show_page 4
    for ((i = 1; i <= reads; i++)); do
        soak_step "identification $i" forget-setting version \; click "$W" SpeedButton6 \; \
            wait-setting version 65a 30 \; \
            wait-values "$W" 10 "производства компании Olvix|серия ZOLT2|русская версия beta 65а" Label15 Label16 Label17
    done
    soak_report "identification" "$reads" "$began"
}

scenario_wine_soak() {
    local reads=${WINE_SOAK_READS:-3} began=$SECONDS last growth
    echo "scenario: soak, $reads reads of each page"
    SOAK_FAILURES=0 SOAK_MEMORY_FIRST=
    seed_settings 1
    start_modem --edition 65a
    start_app || return
    soak_busy_tone "$reads"
    soak_bit_registers "$reads"
    soak_transmit_level "$reads"
    soak_line_adaptation "$reads"
    soak_speed "$reads"
    soak_identification "$reads"
    last=$(soak_memory)
    growth=$(($(memory_field "$last" pagefile) - $(memory_field "$SOAK_MEMORY_FIRST" pagefile)))
    echo "  soak: $((6 * reads)) reads in $((SECONDS - began)) s, $SOAK_FAILURES failure(s)"
    echo "  memory after the first read: $SOAK_MEMORY_FIRST"
    echo "  memory after the last read:  $last"
    echo "  private bytes grew by $growth KiB"
    [ "$growth" -lt "$SOAK_GROWTH_LIMIT_KIB" ] || fail "the private bytes grew by $growth KiB"
    if drive box 0 >/dev/null 2>&1; then fail "an error box is open after the soak"; fi
    drive close "$W"
    wait_until 20 app_gone || fail "closing the main window did not end the program"
    stop_all
}

if [ "${BASH_SOURCE[0]}" == "$0" ]; then
    set -euo pipefail
    cd "$(dirname "$0")/../.."
    reads=${1:?usage: tests/wine/soak.sh READS [WINDOWS_BUILD_DIR ZOLTSIM OUT_DIR]}
    WINE_SOAK_READS=$reads WINE_SCENARIOS=scenario_wine_soak exec tests/wine/scenarios.sh \
        "${2:-build/win-i686}" "${3:-build/native/sim/zoltsim}" "${4:-build/wine-soak}"
fi

# Scenarios of the set-up and the windows around the main one: the first start with its
# setup dialog, the identification of the modem, the cadence editor dragged with the
# real mouse, the tray. Sourced by scenarios.sh, which provides the harness.

SETUP_CAPTION="Установка"
EDITOR_CAPTION='Сигнал "Занято"'

# reg_value KEY NAME: the data of one registry value, or nothing.
reg_value() {
    win reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 \{1,\}REG_[A-Z_]\{1,\} \{1,\}//p"
}

# shot_of CAPTION NAME: one top-level window as it is on the screen; shot_desktop NAME:
# the whole Wine desktop.
desktop_window() { xdotool search --name 'Wine desktop' | head -1; }
shot_of() {
    local x y w h
    read -r x y w h < <(drive rect "$1" | tr -d '\r')
    import -window "$(desktop_window)" png:- | convert - -crop "${w}x${h}+${x}+${y}" +repage "$OUT/screenshots/$2.png"
}
shot_desktop() { import -window "$(desktop_window)" "$OUT/screenshots/$1.png"; }

window_state() { drive window-state "$1" | tr -d '\r'; }

scenario_first_start() {
    echo "scenario: first start without settings: the setup dialog over the disabled main window"
    win reg delete 'HKLM\SOFTWARE\LTRM' /f >/dev/null 2>&1 || true
    win reg delete "HKLM\\$MODEM_CLASS" /f >/dev/null 2>&1 || true
    import_reg <<REG
[HKEY_LOCAL_MACHINE\\$MODEM_CLASS\\0000]
"Model"="Olvix ZOLT1 V.34"

[HKEY_LOCAL_MACHINE\\$MODEM_CLASS\\0001]
"Model"="Olvix ZOLT2 V.92"

[HKEY_LOCAL_MACHINE\\$MODEM_CLASS\\0002]
"Model"="Standard 56000 bps Modem"
REG
    start_app || return
    drive wait-window "$SETUP_CAPTION" 30 || { fail "the setup dialog did not appear"; stop_all; return; }
    expect_eq "main window" "$(window_state "$W")" "enabled=0 visible=1 iconic=0"
    expect_eq "setup dialog" "$(window_state "$SETUP_CAPTION")" "enabled=1 visible=1 iconic=0"
    expect_eq "window on top" "$(drive z-order | tr -d '\r' | grep -m1 -x -e "$SETUP_CAPTION" -e "$W")" "$SETUP_CAPTION"
    expect_eq "modems" "$(drive items "$SETUP_CAPTION" ComboBox1 | tr -d '\r' | paste -sd '|')" \
        "selected=0|Olvix ZOLT1 V.34|Olvix ZOLT2 V.92|Standard 56000 bps Modem"
    drive pick "$SETUP_CAPTION" ComboBox1 1
    drive pick "$SETUP_CAPTION" ComboBox2 0
    drive pick "$SETUP_CAPTION" ComboBox3 1
    wait_until 10 bash -c "'$WINE_LOADER' '$DRIVER' items '$SETUP_CAPTION' ComboBox3 | head -1 | grep -q 'selected=1'" ||
        fail "the series was not picked"
    shot_desktop 6-setup-over-main
    drive click "$SETUP_CAPTION" Button1
    expect_eq "notice" "$(drive box 30 | tr -d '\r')" "Пожалуйста перезапустите программу"
    drive box-ok || fail "the notice did not close"
    wait_until 20 app_gone || fail "the program did not end after the setup"
    stop_all
    local key='HKLM\SOFTWARE\LTRM'
    expect_eq "path" "$(reg_value "$key" path)" "\\$MODEM_CLASS\\0001"
    expect_eq "port" "$(reg_value "$key" port)" "1"
    expect_eq "klas" "$(reg_value "$key" klas)" "2"
    win reg query "$key" /v modem >/dev/null 2>&1 && fail "\"modem\" was not deleted"
    win reg query "$key" /v version >/dev/null 2>&1 && fail "\"version\" was not deleted"
    # The scenarios after this one find the one modem seed_settings describes.
    win reg delete "HKLM\\$MODEM_CLASS\\0001" /f >/dev/null 2>&1 || true
    win reg delete "HKLM\\$MODEM_CLASS\\0002" /f >/dev/null 2>&1 || true
    return 0
}

scenario_identification() {
    echo "scenario: identification of a gb1 modem and the editors it opens"
    seed_settings 1
    start_modem --edition gb1
    start_app || return
    select_page 4
    drive click "$W" SpeedButton6
    drive wait-text "$W" Label17 "первый официальный релиз" 30 || fail "the identification did not describe the modem"
    expect_eq "maker" "$(drive text "$W" Label15 | tr -d '\r')" "производства компании Olvix"
    expect_eq "series" "$(drive text "$W" Label16 | tr -d '\r')" "серия ZOLT2"
    expect_eq "stored series" "$(reg_value 'HKLM\SOFTWARE\LTRM' modem)" "ZOLT2"
    expect_eq "stored edition" "$(reg_value 'HKLM\SOFTWARE\LTRM' version)" "gb1"
    shot 7-identified-information
    select_page 2
    expect_eq "second register" "$(drive text "$W" Label5 | tr -d '\r')" "S17"
    expect_eq "first bit" "$(drive items "$W" CheckListBox2 | tr -d '\r' | sed -n 2p)" "Mute All"
    shot 8-identified-registers
    drive click "$W" SpeedButton3
    wait_until 20 app_gone || fail "\"Выход\" did not end the program"
    stop_all
}

# mouse ACTION X Y: the real pointer on the Wine desktop, at Windows screen coordinates.
mouse() {
    local desk
    desk=$(desktop_window)
    xdotool mousemove --window "$desk" "$2" "$3"
    case "$1" in
        down) xdotool mousedown 1 ;;
        up) xdotool mouseup 1 ;;
    esac
}

scenario_cadence_editor() {
    echo "scenario: the cadence editor, an edge moved with the real mouse"
    seed_settings 1
    start_modem
    start_app || return
    select_page 0
    drive click "$W" SpeedButton4
    drive wait-text "$W" Edit6 004 30 || { fail "the busy-tone read did not fill the fields"; stop_all; return; }
    drive click "$W" LMD3DEffectButton1
    drive wait-window "$EDITOR_CAPTION" 20 || { fail "the cadence editor did not open"; stop_all; return; }
    local x y w h
    read -r x y w h < <(drive screen-rect "$EDITOR_CAPTION" LMDShapeControl1 | tr -d '\r')
    # S203 is 25: the tone bar's left edge lies 25 pixels into the drawing.
    local row=$((y + h / 3))
    mouse move $((x + 2)) "$row"
    mouse down $((x + 2)) "$row"  # a press just inside the left edge picks it up
    mouse up $((x + 2)) "$row"
    mouse move $((x - 4)) "$row"  # over the background the held edge follows the pointer
    mouse move $((x - 10)) "$row"
    drive wait-text "$EDITOR_CAPTION" RxLabel5 150 10 || fail "the edge did not follow the mouse"
    shot_of "$EDITOR_CAPTION" 9-cadence-editor
    mouse down $((x - 10)) "$row"  # a press on the background puts it down
    mouse up $((x - 10)) "$row"
    mouse move $((x - 30)) "$row"
    expect_eq "edge put down" "$(drive text "$EDITOR_CAPTION" RxLabel5 | tr -d '\r')" "150"
    drive click "$EDITOR_CAPTION" SpeedButton1
    drive wait-gone "$EDITOR_CAPTION" 10 || fail "the editor did not hide"
    drive wait-text "$W" Edit2 15 10 || fail "Edit2 does not hold the new minimum"
    expect_eq "other fields" "$(for e in Edit3 Edit4 Edit5; do drive text "$W" $e | tr -d '\r'; done | paste -sd ' ')" \
        "50 10 40"
    drive click "$W" SpeedButton3
    wait_until 20 app_gone || fail "\"Выход\" did not end the program"
    stop_all
}

scenario_tray() {
    echo "scenario: minimised to the tray and restored from its menu"
    seed_settings 1
    start_app || return
    drive minimize "$W"
    wait_until 10 bash -c "'$WINE_LOADER' '$DRIVER' window-state '$W' | grep -q 'visible=0'" ||
        fail "the minimised main window is still shown ($(window_state "$W"))"
    # Wine's virtual desktop has no taskbar to click in: the driver sends the icon's
    # window the message a right click on the icon brings, and the real menu opens.
    drive tray-menu || fail "the tray menu did not open"
    drive menu-pick 0 || fail "\"Развернуть\" could not be chosen"
    wait_until 10 bash -c "'$WINE_LOADER' '$DRIVER' window-state '$W' | grep -q 'visible=1 iconic=0'" ||
        fail "\"Развернуть\" did not restore the window ($(window_state "$W"))"
    drive click "$W" SpeedButton3
    wait_until 20 app_gone || fail "\"Выход\" did not end the program"
    stop_all
}

SCENARIOS+=(scenario_first_start scenario_identification scenario_cadence_editor scenario_tray)

# Windows builds and Wine prefixes, shared by ./run and ./test (source after lib.sh).

WINDOWS_PACKAGES=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xdotool imagemagick)
MAIN_CAPTION="Olvix Linetrim v 5.09"
MODEM_CLASS='SYSTEM\CurrentControlSet\Control\Class\{4D36E96D-E325-11CE-BFC1-08002BE10318}'

# build_windows ARCH DIR [BUILD_TYPE]: the program (and the test driver) for i686 or x86_64.
build_windows() {
    cmake -S . -B "$2" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$1-w64-mingw32.cmake" -DCMAKE_BUILD_TYPE="${3-Release}" >/dev/null
    cmake --build "$2" -j2 >/dev/null
}

# Starts a virtual X server when there is no display; stopped by stop_display.
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
    echo "Xvfb did not start" >&2
    return 1
}

stop_display() {
    if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
    XVFB_PID=
}

# use_prefix DIR: selects (and creates when missing) a Wine prefix whose windows live in
# one virtual desktop, so that Wine draws frames and captions without a window manager.
use_prefix() {
    export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1
        # Debian's Wine looks for its own fonts in "<data dir>\..\fonts", a path its
        # file lookup never resolves, and the fonts are not in fontconfig's folders either;
        # without Marlett the caption buttons draw as the letters "0 1 r". Every font in
        # the prefix's Fonts folder is loaded at start.
        ln -sf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
        import_reg <<'REG'
[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="800x600"
REG
    fi
}

# Reads registry entries (REGEDIT4 syntax, without the header) from stdin into the prefix.
import_reg() {
    local file="$WINEPREFIX/import.reg"
    { echo "REGEDIT4"; echo; cat; } >"$file"
    wine regedit /S "$(winepath -w "$file" 2>/dev/null)" >/dev/null 2>&1
    rm -f "$file"
}

# map_com1 PATH: COM1 of the prefix opens PATH (a device or a link to one). Wine's mount
# manager makes the dosdevices link from this when the prefix starts.
map_com1() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    import_reg <<REG
[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]
"COM1"="$1"
REG
    wineserver -w 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/com1"
}

# The settings of a set-up machine with an identified ZOLT2 65a modem on port $1, and the
# modem's driver key with its model and init string.
seed_settings() {
    import_reg <<REG
[HKEY_LOCAL_MACHINE\\SOFTWARE\\LTRM]
"path"="\\\\$(echo "$MODEM_CLASS" | sed 's/\\/\\\\/g')\\\\0000"
"port"="$1"
"klas"="2"
"modem"="ZOLT2"
"version"="65a"

[HKEY_LOCAL_MACHINE\\$MODEM_CLASS\\0000]
"Model"="Olvix ZOLT2 V.92"
"USERINIT"="ATM0"
REG
}

# An installed modem only, as Windows leaves it: the program starts with its setup.
seed_installed_modem() {
    import_reg <<REG
[HKEY_LOCAL_MACHINE\\$MODEM_CLASS\\0000]
"Model"="Olvix ZOLT2 V.92"
REG
}

has_settings() { wine reg query 'HKLM\SOFTWARE\LTRM' /v port >/dev/null 2>&1; }

# check_system_dlls EXE: the program needs no DLL beyond Windows' own.
check_system_dlls() {
    local allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|COMCTL32|WINMM|msvcrt)\.dll$' dll bad=0
    for dll in $(i686-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print $3}'); do
        echo "$dll" | grep -Eqi "$allowed" || { echo "$1 needs $dll" >&2; bad=1; }
    done
    return $bad
}

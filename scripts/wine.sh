# Windows builds and Wine prefixes, shared by ./run and ./test (source after lib.sh).

WINDOWS_PACKAGES=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xauth xdotool imagemagick)
MAIN_CAPTION="Olvix Linetrim v 5.09"
# Wine's two loaders by path: the command `wine` is the 32-bit one once wine32 is installed
# and the 64-bit one otherwise, so the scripts never rely on it.
WINE32=/usr/lib/wine/wine
WINE64=/usr/lib/wine/wine64
# The modem class key of the Windows NT family: kModemClassNt in src/settings/setup_dialog.h,
# repeated here because the scripts cannot read the C++ constant.
MODEM_CLASS='SYSTEM\CurrentControlSet\Control\Class\{4D36E96D-E325-11CE-BFC1-08002BE10318}'

# Debian's 32-bit Wine loader, from the i386 architecture, where the machine lets it be
# installed; says why not otherwise.
ensure_wine32() {
    [ -x "$WINE32" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then echo "wine32 is missing (install wine32:i386 as root)"; return 1; fi
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        { dpkg --add-architecture i386 && apt-get update -qq >/dev/null; } || { echo "the i386 architecture could not be added"; return 1; }
    fi
    echo "installing: wine32:i386" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq wine32:i386 >/dev/null 2>&1 ||
        { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq wine32:i386 >/dev/null 2>&1; } ||
        { echo "wine32:i386 could not be installed"; return 1; }
}

# kernel_refuses_32bit: true when the kernel refuses to start a 32-bit program at all
# (execve fails with ENOEXEC, as on a kernel without IA-32 emulation); tried on a 93-byte
# i386 program that only exits, so no 32-bit package is needed to find out.
kernel_refuses_32bit() {
    local probe rc=0
    probe=$(mktemp)
    printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0' >"$probe"
    printf '\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0' >>"$probe"
    printf '\xb8\x01\0\0\0\x31\xdb\xcd\x80' >>"$probe"  # exit(0) through int 0x80
    chmod +x "$probe"
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" -eq 126 ]
}

# select_windows_target: the program that the Wine runs use, and the loader that runs it
# (WIN_ARCH, WIN_BUILD, WINE_LOADER). The release (i686) under the 32-bit loader, as 64-bit
# Windows runs it, where this machine can run 32-bit programs; the x86_64 build of the
# same sources under the 64-bit loader where it cannot, said in one line.
# WINE_TARGET=x86_64 asks for the latter.
select_windows_target() {
    local why=
    if [ "${WINE_TARGET:-}" = x86_64 ]; then
        why="WINE_TARGET=x86_64"
    elif kernel_refuses_32bit; then
        why="this machine cannot run 32-bit programs (its kernel refuses them)"
    elif ! why=$(ensure_wine32); then
        :
    elif ! "$WINE32" --version >/dev/null 2>&1; then
        why="Wine's 32-bit loader does not start here"
    fi
    if [ -z "$why" ]; then
        WIN_ARCH=i686 WINE_LOADER=$WINE32
    else
        echo "$why: the Wine runs use the x86_64 build under the 64-bit loader"
        WIN_ARCH=x86_64 WINE_LOADER=$WINE64
    fi
    WIN_BUILD=build/win-$WIN_ARCH
}

# loader_for EXE: the Wine loader for that program, by the machine in its PE header.
loader_for() {
    local pe machine
    pe=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
    machine=$(od -An -t x2 -j $((pe + 4)) -N 2 "$1" | tr -d ' ')
    case "$machine" in
        014c) echo "$WINE32" ;;
        8664) echo "$WINE64" ;;
        *) echo "$1: not a Windows program for i386 or x86_64" >&2; return 1 ;;
    esac
}

# win PROGRAM ARGS...: a Windows program of the selected target (the program, its driver,
# regedit, reg), so the registry is written and read in the view the program sees: a
# 32-bit program's HKLM\SOFTWARE lies under WOW6432Node of a 64-bit prefix.
win() { "$WINE_LOADER" "$@"; }

# build_windows ARCH DIR [BUILD_TYPE]: the program (and the test driver) for i686 or x86_64.
build_windows() {
    cmake -S . -B "$2" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$1-w64-mingw32.cmake" -DCMAKE_BUILD_TYPE="${3-Release}" >/dev/null
    cmake --build "$2" -j2 >/dev/null
}

# use_prefix DIR: selects (and creates when missing) a Wine prefix whose windows live in
# one virtual desktop, so that Wine draws frames and captions without a window manager.
# Wine takes the Windows locale from LC_ALL: WINE_LOCALE, or C.UTF-8 (English, code page
# 1252 for programs that are not Unicode); ru_RU.UTF-8 gives Russian and code page 1251.
use_prefix() {
    # WINELOADER names the loader for the processes Wine starts itself (the desktop, the
    # set-up's helpers); Wine takes "wine64" off it for 64-bit ones and "wine" for 32-bit
    # ones. Without it Wine looks beside its binaries, where Debian has no wine64, and the
    # set-up of a new prefix is left half done.
    export WINEPREFIX="$1" WINELOADER=$WINE64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=${WINE_LOCALE:-C.UTF-8}
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        WINEARCH=win64 "$WINE64" wineboot -i >/dev/null 2>&1
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

# ensure_locale NAME: the system locale NAME (such as ru_RU.UTF-8), generated when missing.
# Wine reads the locale through the C library: a missing one falls back to plain ASCII, and
# Cyrillic command-line arguments no longer reach the Windows programs intact.
ensure_locale() {
    locale -a 2>/dev/null | grep -qix "${1%%.*}.utf8" && return 0
    ensure_packages locales
    if [ "$(id -u)" -ne 0 ]; then echo "locale $1 is missing (generate it as root)" >&2; return 1; fi
    localedef -i "${1%%.*}" -f UTF-8 "$1"
}

# Reads registry entries (REGEDIT4 syntax, without the header) from stdin into the prefix.
# The file lies on the prefix's drive C:, so no path needs converting (Debian's winepath
# runs through the command `wine`, whichever loader that is).
import_reg() {
    local file="$WINEPREFIX/drive_c/linetrim-import.reg"
    { echo "REGEDIT4"; echo; cat; } >"$file"
    win regedit /S 'C:\linetrim-import.reg' >/dev/null 2>&1
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

has_settings() { win reg query 'HKLM\SOFTWARE\LTRM' /v port >/dev/null 2>&1; }

# check_imports EXE LIST: the program imports nothing beyond the functions in LIST, all of
# which Windows XP SP3 has, and asks for no newer subsystem; a new import is a conscious
# change of the list. Imports by ordinal are listed as DLL #N.
check_imports() {
    local found bad=0
    found=$(i686-w64-mingw32-objdump -p "$1" | awk '
        /DLL Name:/ { dll = toupper($3); next }
        /^$/ { dll = "" }
        dll && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll " " $NF; next }
        dll && /^\t[0-9a-f]+\t +[0-9]+$/ { print dll " #" $NF }' | sort -u)
    [ -n "$found" ] || { echo "$1: no imports found" >&2; return 1; }
    local extra
    extra=$(comm -23 <(echo "$found") <(grep -v '^#' "$2" | sed '/^$/d' | sort -u))
    if [ -n "$extra" ]; then
        echo "$1 imports what $2 does not allow:" >&2
        echo "$extra" | sed 's/^/  /' >&2
        bad=1
    fi
    local subsystem
    subsystem=$(i686-w64-mingw32-objdump -p "$1" | awk '/^MajorSubsystemVersion/ {a = $2} /^MinorSubsystemVersion/ {b = $2} END {print a "." b}')
    case "$subsystem" in 4.*|5.0|5.1) ;; *) echo "$1 asks for subsystem $subsystem, newer than Windows XP" >&2; bad=1 ;; esac
    return $bad
}

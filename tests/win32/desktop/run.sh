#!/usr/bin/env bash
# The Win32 desktop's console test (message filter, font, message box owner, registry) under Wine.
#   tests/win32/desktop/run.sh BUILD_DIR LOADER
# BUILD_DIR: a Windows build; LOADER: the Wine loader that runs its programs ("wine" for
# the i686 release, the 64-bit loader for the x86_64 build). The prefix is WINEPREFIX when
# set, else one of the build's own; a virtual X server is started when there is no display.
# The exit status is the test's: non-zero when a check failed.
set -euo pipefail
cd "$(dirname "$0")/../../.."
. scripts/wine.sh

BUILD=$(realpath "$1")
LOADER=$2
export WINEPREFIX="${WINEPREFIX:-$BUILD/wine-desktop-test}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
# Wine's server ends with the last program of the prefix, before its display goes.
trap 'wineserver -w 2>/dev/null || true; stop_display' EXIT
ensure_display
"$LOADER" "$BUILD/tests/win32/desktop/linetrim_desktop_test.exe"

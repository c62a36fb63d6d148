#!/usr/bin/env bash
# The Win32 backend's own tests: every console test program of BUILD_DIR/tests/win32 under
# Wine, with the loader its machine type needs, in a prefix of their own.
#   tests/win32/run.sh BUILD_DIR OUT_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
. scripts/wine.sh

BUILD=$(realpath "$1")
OUT=$(realpath -m "$2")
mapfile -t programs < <(find "$BUILD/tests/win32" -name '*_test.exe' | sort)
[ ${#programs[@]} -gt 0 ] || { echo "no test programs in $BUILD/tests/win32" >&2; exit 1; }
WINE_LOADER=$(loader_for "${programs[0]}")
trap stop_display EXIT
ensure_display
use_prefix "$OUT/prefix"
failed=0
for program in "${programs[@]}"; do
    echo "== $(basename "$program")"
    win "$program" || failed=1
done
wineserver -k 2>/dev/null || true
exit $failed

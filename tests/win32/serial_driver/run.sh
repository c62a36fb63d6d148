#!/usr/bin/env bash
# Runs the COM port's test against the serial driver model.
#   tests/win32/serial_driver/run.sh BUILD_DIR LOADER     (LOADER: wine64 for x86_64, wine for i686)
set -euo pipefail
BUILD=$(realpath "$1")
LOADER=$2
exec "$LOADER" "$BUILD/tests/win32/serial_driver/serial_driver_test.exe"

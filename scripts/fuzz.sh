#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for the given
# number of seconds on a corpus seeded from fuzz/seeds. Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3}
build=build/fuzz
cmake -S . -B "$build" -DLINETRIM_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
status=0
for target in "$build"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    seeds=fuzz/seeds/${name#fuzz_}
    corpus=$build/corpus/$name
    mkdir -p "$corpus"
    # timeout (wall time, so generous on a loaded machine): catches a hang; the CPU time
    # of the slowest input is printed by the target itself;
    # rss_limit: memory must stay flat over the run.
    if ! "$target" -max_total_time="$seconds" -timeout=10 -artifact_prefix="$build/" -rss_limit_mb=1024 -print_final_stats=1 \
        "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) >"$build/$name.log" 2>&1; then
        echo "FAIL $name (see $build/$name.log)"
        tail -30 "$build/$name.log"
        status=1
        continue
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/$name.log" | grep -o '[0-9]*$' || echo "?")
    slowest=$(grep -o 'slowest input: [0-9.]* ms' "$build/$name.log" || echo "slowest input: ?")
    echo "ok   $name: $runs inputs, $slowest"
done
exit $status

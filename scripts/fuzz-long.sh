#!/usr/bin/env bash
# The long fuzz run: every target for the given seconds (default 600), two at a time,
# at the lowest priority. Prints one line per target.
# Usage: scripts/fuzz-long.sh [seconds [target...]]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift $(($# > 0 ? 1 : 0))
build=build/fuzz
cmake -S . -B "$build" -DLINETRIM_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
run_one() {
    local target=$1 name seeds corpus
    name=$(basename "$target")
    seeds=fuzz/seeds/${name#fuzz_}
    corpus=$build/corpus/$name
    mkdir -p "$corpus"
    if nice -n 19 "$target" -max_total_time="$seconds" -timeout=60 -artifact_prefix="$build/" -rss_limit_mb=1024 -print_final_stats=1 \
        "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) >"$build/$name.long.log" 2>&1; then
        echo "ok   $name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/$name.long.log" | grep -o '[0-9]*$') inputs in ${seconds} s, $(grep -o 'slowest input: [0-9.]* ms' "$build/$name.long.log"), peak rss $(grep -o 'stat::peak_rss_mb: *[0-9]*' "$build/$name.long.log" | grep -o '[0-9]*$') MB"
    else
        echo "FAIL $name (see $build/$name.long.log)"
    fi
}
export -f run_one
export build seconds
# A small quarantine: recycling ASan's default 256 MB at once stalls one input for a
# long time on a loaded machine, which libFuzzer would take for a hang.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
if [ $# -gt 0 ]; then printf "$build/fuzz/%s\n" "$@"; else ls "$build"/fuzz/fuzz_*; fi |
    xargs -P 2 -I{} bash -c 'run_one {}'

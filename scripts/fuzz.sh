#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for the given
# number of seconds on a corpus seeded from fuzz/seeds, then replays the whole corpus to
# time every input it holds. Usage: scripts/fuzz.sh [seconds [jobs [target...]]]
#   ./test runs `scripts/fuzz.sh 3`; the long run is `scripts/fuzz.sh 600 2`.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3}
jobs=${2:-1}
shift $(($# > 2 ? 2 : $#))
build=build/fuzz
cmake -S . -B "$build" -DLINETRIM_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
# A small quarantine: recycling ASan's default 256 MB at once stalls one input for long
# on a loaded machine, which libFuzzer would take for a hang.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}

run_one() {
    local target=$1 name seeds corpus log
    name=$(basename "$target")
    seeds=fuzz/seeds/${name#fuzz_}
    corpus=$build/corpus/$name
    log=$build/$name.log
    mkdir -p "$corpus"
    # The timeout is wall time, generous for a loaded machine: it catches a hang. The
    # memory limit catches growth over the run.
    if ! nice -n 10 "$target" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=1024 -print_final_stats=1 \
        -artifact_prefix="$build/" "$corpus" $([ -d "$seeds" ] && echo "$seeds") >"$log" 2>&1; then
        echo "FAIL $name (see $log)"
        tail -30 "$log"
        return 1
    fi
    local runs rss replay
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    rss=$(grep -o 'stat::peak_rss_mb: *[0-9]*' "$log" | grep -o '[0-9]*$')
    # The slowest input of the run includes stalls of the fuzzing machinery itself; the
    # replay times the code alone on every input the corpus kept.
    replay=$("$target" -runs=0 "$corpus" 2>&1 | grep -o 'slowest input: [0-9.]* ms' || echo "?")
    echo "ok   $name: $runs inputs in $seconds s, peak $rss MB; replay of $(ls "$corpus" | wc -l) corpus inputs, $replay"
}
export -f run_one
export build seconds

if [ $# -gt 0 ]; then printf "$build/fuzz/%s\n" "$@"; else ls "$build"/fuzz/fuzz_*; fi |
    xargs -P "$jobs" -I{} bash -c 'run_one {}'

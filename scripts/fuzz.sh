#!/usr/bin/env bash
# Builds the layout, block and track box reader fuzz targets with clang (libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for a third of the given seconds on
# a copy of its seed corpus, with its own dictionary (fuzz/<kind>.dict) or the file one. Usage:
# scripts/fuzz.sh [seconds, default 60]. Fails when a target finds a crash; the input is kept
# under build-fuzz/artifacts/ (copy it into fuzz/regressions/<kind>/ once fixed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
dir="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLMORE_CORE_ONLY=ON -DQUILLMORE_FUZZ=ON -DQUILLMORE_BENCH=OFF -DQUILLMORE_TESTS=OFF \
    >/dev/null
cmake --build "$dir" --target fuzz_layout_reader fuzz_block_reader fuzz_trackbox_reader \
    -- -j"$(nproc)"

each=$(( seconds / 3 ))
[ "$each" -ge 1 ] || each=1
status=0
for kind in layout block trackbox; do
    corpus=$(mktemp -d)
    cp "$root/fuzz/corpus/$kind/"* "$corpus/"
    artifacts="$dir/artifacts/$kind"
    mkdir -p "$artifacts"
    dict="$root/fuzz/files.dict"
    [ -f "$root/fuzz/$kind.dict" ] && dict="$root/fuzz/$kind.dict"
    echo "-- fuzzing the $kind reader for $each s"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$dir/fuzz/fuzz_${kind}_reader" -max_total_time="$each" -max_len=8192 -timeout=10 \
        -rss_limit_mb=2048 -dict="$dict" -artifact_prefix="$artifacts/" \
        -print_final_stats=1 "$corpus" 2>"$dir/fuzz-$kind.log"; then
        tail -n 60 "$dir/fuzz-$kind.log"
        echo "FAILED: the $kind reader crashed; the input is in $artifacts/"
        status=1
    else
        grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$dir/fuzz-$kind.log" || true
    fi
    rm -rf "$corpus"
done
exit "$status"

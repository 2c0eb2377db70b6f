#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite headless:
# the normal build under Xvfb, the sanitizer build of the window-free tests, and a short fuzz run.
# Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"

echo "== Build"
bash "$root/scripts/build.sh" "$root/build"

echo "== Tests (under Xvfb)"
export HOME_FOR_TESTS=$(mktemp -d)
HOME="$HOME_FOR_TESTS" xvfb-run -a -s "-screen 0 1600x1000x24 -noreset" \
    ctest --test-dir "$root/build" -j2 --timeout 600 --output-on-failure

echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) of the core tests"
bash "$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug \
    -DQUILLMORE_CORE_ONLY=ON -DQUILLMORE_SANITIZE=ON -DQUILLMORE_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" -j2 --timeout 900 --output-on-failure

if [ -x "$root/scripts/fuzz.sh" ]; then
    echo "== Fuzzing the file readers"
    bash "$root/scripts/fuzz.sh" 60
fi
echo "== All tests passed"

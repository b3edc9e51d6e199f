#!/usr/bin/env bash
# Builds Lexamo and runs every test: once in a normal build, then once more under
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero when a test fails.
# Then each fuzz target runs for about 20 s (scripts/fuzz.sh), so that a broken harness or an easy
# crash is caught. With --quick, only the normal build is tested.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"

# Formatting first: a C++ file that .clang-format would change fails the run.
"$top/scripts/check-format.sh"

jobs=$(nproc)

run_suite() {
    local dir=$1; shift
    cmake -S "$top" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

run_suite "$top/build-tests" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${1:-}" != "--quick" ]; then
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0
    run_suite "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DLEXAMO_SANITIZE=ON -DLEXAMO_BENCH=OFF
fi

# The fuzz targets, briefly: clang, libFuzzer and both sanitizers, in build-fuzz/.
run_fuzz_briefly() {
    "$top/scripts/fuzz.sh" 20
}
if [ "${1:-}" != "--quick" ]; then
    run_fuzz_briefly
fi

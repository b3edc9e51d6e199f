#!/usr/bin/env bash
# Builds Lexamo and runs every test: once in a normal build, then once more under
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero when a test fails.
# With --quick, only the normal build is tested.
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

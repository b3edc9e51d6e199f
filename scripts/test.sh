#!/usr/bin/env bash
# Installs everything the tests use (scripts/setup.sh test), then checks Lexamo in four stages:
#   format check     every C++ file is formatted as .clang-format asks (scripts/check-format.sh)
#   tests            a normal build, warnings as errors, and every test in build-tests/
#   sanitizer tests  the same under AddressSanitizer and UndefinedBehaviorSanitizer, build-asan/
#   fuzzing          each fuzz target for about 20 s (scripts/fuzz.sh), to catch a broken
#                    harness or an easy crash
# With --quick, only the format check and the tests run. A stage that fails does not stop the
# later ones; the last line sums up every stage run, and the exit status is non-zero when one
# failed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
quick=0
[ "${1:-}" = "--quick" ] && quick=1
"$top/scripts/setup.sh" test

jobs=$(nproc)

run_suite() {
    local dir=$1; shift
    cmake -S "$top" -B "$dir" -DLEXAMO_WERROR=ON "$@" >/dev/null &&
        cmake --build "$dir" -j"$jobs" &&
        QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

tests() {
    run_suite "$top/build-tests" -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

sanitizer_tests() {
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0 \
        run_suite "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DLEXAMO_SANITIZE=ON -DLEXAMO_BENCH=OFF
}

fuzzing() {
    "$top/scripts/fuzz.sh" 20
}

results=()
passed=0
failed=0
# stage NAME COMMAND...: runs one stage to its end and notes how it went.
stage() {
    local name=$1; shift
    echo "== $name"
    if "$@"; then
        results+=("$name passed")
        passed=$((passed + 1))
    else
        results+=("$name FAILED")
        failed=$((failed + 1))
    fi
}

stage "format check" "$top/scripts/check-format.sh"
stage "tests" tests
if [ $quick -eq 0 ]; then
    stage "sanitizer tests" sanitizer_tests
    stage "fuzzing" fuzzing
fi

summary=$(printf '%s, ' "${results[@]}")
echo "Verdict: ${summary%, }: $passed passed, $failed failed"
[ $failed -eq 0 ]

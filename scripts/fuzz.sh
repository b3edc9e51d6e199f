#!/usr/bin/env bash
# Builds Lexamo's fuzz targets with clang (libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for SECONDS (default 180), one after
# another, starting from the seed corpora and the kept regression inputs under fuzz/.
# Prints the inputs each target ran and keeps any input that broke one under
# build-fuzz/fuzz-work/TARGET/crashes/ (copy it to fuzz/regressions/TARGET/ once mended).
# Exits non-zero when a target found something.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-180}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(import_csv import_aiken import_gift import_moodle bank options help_text results_log bank_notes)
build=$top/build-fuzz
jobs=$(nproc)

"$top/scripts/setup.sh" fuzz
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -DLEXAMO_FUZZ=ON -DLEXAMO_TESTS=OFF \
    -DLEXAMO_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if ! cmake --build "$build" -j"$jobs" --target fuzzers >"$build/build.log" 2>&1; then
    cat "$build/build.log"
    echo "The fuzz targets do not build." >&2
    exit 1
fi

export ASAN_OPTIONS=abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$top/tests/lsan.supp:print_suppressions=0

found=0
passed=0
echo "Fuzzing each target for ${seconds} s:"
for target in "${targets[@]}"; do
    work=$build/fuzz-work/$target
    # Inputs kept from an earlier run were reported then: only this run's count.
    rm -rf "$work/crashes"
    mkdir -p "$work/corpus" "$work/crashes"
    status=0
    "$build/fuzz/fuzz_$target" "$work/corpus" "$top/fuzz/corpus/$target" \
        "$top/fuzz/regressions/$target" -dict="$top/fuzz/dict/$target.dict" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
        -artifact_prefix="$work/crashes/" -print_final_stats=1 >"$work/log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
    crashes=$(find "$work/crashes" -type f | wc -l)
    if [ "$status" -ne 0 ] || [ "$crashes" -gt 0 ]; then
        found=1
        printf '  %-13s FOUND A FAULT after %s runs (status %s); inputs and log in %s\n' \
            "$target" "${runs:-?}" "$status" "$work"
        grep -m 5 -E 'ERROR|Property broken|runtime error|Test unit written' "$work/log" || true
    else
        printf '  %-13s %12s runs, nothing found\n' "$target" "${runs:-?}"
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $((${#targets[@]} - passed)) failed"
exit $found

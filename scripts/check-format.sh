#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it with the repository's
# .clang-format, and shows where. To mend: clang-format -i <file>.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
command -v clang-format >/dev/null || { echo "clang-format is missing: run scripts/setup.sh test" >&2; exit 1; }

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h' '*.hpp' '*.cc')
else
    mapfile -d '' files < <(find src tests tools bench \( -name '*.cpp' -o -name '*.h' \) -print0)
fi
[ ${#files[@]} -eq 0 ] && exit 0
if ! clang-format --style=file --dry-run --Werror "${files[@]}"; then
    echo "Some C++ files are not formatted as .clang-format asks (see above)." >&2
    exit 1
fi

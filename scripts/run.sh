#!/usr/bin/env bash
# Installs what building and running Lexamo needs (scripts/setup.sh run), builds Lexamo in
# Release and starts it in the folder run/, which holds the sample question bank, its notes
# file and the two help texts. A bank already in run/ is kept with its notes, so your own edits
# survive.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" run

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DLEXAMO_TESTS=OFF -DLEXAMO_BENCH=OFF \
    >/dev/null
cmake --build "$top/build" -j"$(nproc)" --target lexamo data

mkdir -p "$top/run"
# The sample notes come with the sample bank only: a bank of your own never gets notes of other
# questions.
keep_bank=0
[ -e "$top/run/verbal.zep" ] && keep_bank=1
for f in "$top"/build/sample/*; do
    name=$(basename "$f")
    case "$name" in
    verbal.zep | verbal.notes.csv) [ $keep_bank -eq 1 ] && continue ;;
    esac
    cp "$f" "$top/run/$name"
done

# Qt wants a private runtime folder; where the session has none (a root shell, a container),
# Lexamo gets one of its own for this run.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/lexamo-runtime.XXXXXX")
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

cd "$top/run"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$top/build/src/lexamo"
elif command -v xvfb-run >/dev/null; then
    echo "No display found: starting Lexamo under a virtual display (xvfb-run)."
    echo "To see its window, run this script from a desktop session, or set DISPLAY."
    xvfb-run -a "$top/build/src/lexamo"
else
    echo "No display found. Run this script from a desktop session, or start a virtual display:" >&2
    echo "  apt-get install xvfb xauth && xvfb-run -a $top/build/src/lexamo   (in $top/run)" >&2
    exit 1
fi

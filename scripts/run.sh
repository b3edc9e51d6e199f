#!/usr/bin/env bash
# Installs what building and running Lexamo needs (scripts/setup.sh run), builds Lexamo in
# Release and starts it in the folder run/, which holds the sample question bank, its notes
# file and the two help texts. A bank or notes file already in run/ is kept, so your own edits
# survive.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" run

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DLEXAMO_TESTS=OFF -DLEXAMO_BENCH=OFF \
    >/dev/null
cmake --build "$top/build" -j"$(nproc)" --target lexamo data

mkdir -p "$top/run"
for f in "$top"/build/sample/*; do
    name=$(basename "$f")
    if { [ "$name" = verbal.zep ] || [ "$name" = verbal.notes.csv ]; } && [ -e "$top/run/$name" ]; then
        continue
    fi
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

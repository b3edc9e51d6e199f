#!/bin/sh
# Runs a test program on a virtual X display under a window manager that draws window frames
# (openbox), for the tests that need a real frame: with-window-manager.sh PROGRAM [ARGUMENT...].
# Exits 77, which the test runner counts as skipped, where no such display can be had.
if ! command -v xvfb-run >/dev/null || ! command -v openbox >/dev/null; then
    echo "xvfb-run or openbox is not installed: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program runs once the window manager has started, and ends it when done.
{
    echo '#!/bin/sh'
    printf 'QT_QPA_PLATFORM=xcb'
    for argument in "$@"; do printf " '%s'" "$argument"; done
    printf '\necho $? > "%s/result"\nopenbox --exit\n' "$work"
} > "$work/run"
chmod +x "$work/run"
xvfb-run -a openbox --sm-disable --startup "$work/run"
if [ ! -s "$work/result" ]; then
    echo "no X display with a window manager could be started: skipped"
    exit 77
fi
exit "$(cat "$work/result")"

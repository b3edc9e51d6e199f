#!/usr/bin/env bash
# Installs Lexamo into a temporary root as a package would (prefix /usr) and checks what a user
# gets: the installed tree, the menu entry, the AppStream file, the manual pages, --help and
# --version, the message without a display, and two starts from the menu entry's command with an
# empty home folder.
# Usage: install_check.sh BUILD_DIR WORK_DIR
set -uo pipefail
build=$1
work=$2
root=$work/root
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
check() { local what=$1; shift; "$@" || fail "$what"; }

rm -rf "$work" && mkdir -p "$work" || exit 1
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 \
    || { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }

# 1. The installed tree, exactly.
expected="usr/bin/lexamo
usr/bin/lexamo-bank
usr/share/applications/org.lexamo.Lexamo.desktop
usr/share/doc/lexamo/LICENSE
usr/share/doc/lexamo/README.md
usr/share/doc/lexamo/changelog.gz
usr/share/doc/lexamo/copyright
usr/share/icons/hicolor/scalable/apps/org.lexamo.Lexamo.svg
usr/share/lexamo/Readme.txt
usr/share/lexamo/hlp.txt
usr/share/lexamo/verbal.notes.csv
usr/share/lexamo/verbal.zep
usr/share/man/man1/lexamo-bank.1.gz
usr/share/man/man1/lexamo.1.gz
usr/share/metainfo/org.lexamo.Lexamo.metainfo.xml"
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:$(diff <(echo "$expected") <(echo "$actual"))"
check "lexamo is executable" test -x "$root/usr/bin/lexamo"
check "lexamo-bank is executable" test -x "$root/usr/bin/lexamo-bank"
check "the sample bank holds 600 questions" test "$(stat -c %s "$root/usr/share/lexamo/verbal.zep")" -eq $((600 * 576))

# 2. The menu entry and the AppStream metadata.
desktop=$root/usr/share/applications/org.lexamo.Lexamo.desktop
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$root/usr/share/metainfo/org.lexamo.Lexamo.metainfo.xml" 2>&1) \
    || fail "appstreamcli validate: $out"
grep -qx 'Icon=org.lexamo.Lexamo' "$desktop" || fail "the menu entry names another icon"

# 3. The manual pages render without a warning.
for page in lexamo lexamo-bank; do
    text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>"$work/man.err")
    [ -s "$work/man.err" ] && fail "man $page warns: $(cat "$work/man.err")"
    grep -q "^NAME" <<<"$text" || fail "man $page has no NAME section"
done
grep -q "local/share/Lexamo" <(MANWIDTH=200 LC_ALL=C.UTF-8 man -l "$root/usr/share/man/man1/lexamo.1.gz") \
    || fail "lexamo.1 does not say where the user's folder is"

# 4. --help and --version need no display; wrong usage and a missing display get one line.
# run NAME EXPECTED_STATUS command...: runs without any display, keeps stdout and stderr.
run() {
    local name=$1 status=$2; shift 2
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$work/$name.out" 2>"$work/$name.err"
    local got=$?
    [ "$got" -eq "$status" ] || fail "$name: status $got, not $status; $(cat "$work/$name.err")"
}
lines() { wc -l <"$1"; }
for program in lexamo lexamo-bank; do
    run "$program-help" 0 "$root/usr/bin/$program" --help
    grep -q "^Usage: $program " "$work/$program-help.out" || fail "$program --help: no usage line"
    [ -s "$work/$program-help.err" ] && fail "$program --help wrote to stderr"
    run "$program-version" 0 "$root/usr/bin/$program" --version
    head -1 "$work/$program-version.out" | grep -qx "$program 1\.0\.0" \
        || fail "$program --version: $(head -1 "$work/$program-version.out")"
done
run lexamo-unknown 2 "$root/usr/bin/lexamo" --frobnicate
[ "$(lines "$work/lexamo-unknown.err")" -eq 1 ] && grep -q -- '--frobnicate.*lexamo --help' "$work/lexamo-unknown.err" \
    || fail "unknown option: $(cat "$work/lexamo-unknown.err")"
run no-display 1 "$root/usr/bin/lexamo"
[ "$(lines "$work/no-display.err")" -eq 1 ] && grep -q 'no display.*xvfb-run' "$work/no-display.err" \
    || fail "no display: $(cat "$work/no-display.err")"
# A display that is named but cannot be opened: Qt's own abort becomes the same one line.
run unreachable-display 1 env DISPLAY=:4711 "$root/usr/bin/lexamo"
[ "$(lines "$work/unreachable-display.err")" -eq 1 ] && grep -q 'cannot open the display (DISPLAY=:4711).*xvfb-run' "$work/unreachable-display.err" \
    || fail "display that cannot be opened: $(cat "$work/unreachable-display.err")"

# 5. Starts from the menu entry's command, with an empty home folder and another current folder.
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
home=$work/home
userdir=$home/.local/share/Lexamo
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere"

# start_and_stop FILE: starts Lexamo as the menu does, waits until FILE appears in the user's
# folder (the main window writes the options file as it loads), then ends it.
start_and_stop() {
    (cd "$elsewhere" && exec env -i PATH="$root/usr/bin:$PATH" HOME="$home" LANG=C.UTF-8 \
        QT_QPA_PLATFORM=offscreen ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} \
        ${LSAN_OPTIONS:+LSAN_OPTIONS=$LSAN_OPTIONS} ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
        $exec_line) >"$work/start.log" 2>&1 &
    local pid=$! waited=0
    while [ ! -e "$userdir/$1" ] && kill -0 "$pid" 2>/dev/null && [ $waited -lt 1200 ]; do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$pid" 2>/dev/null; then
        sleep 0.5 # let the window finish loading
        kill -TERM "$pid"
    else
        fail "Lexamo ended by itself: $(cat "$work/start.log")"
    fi
    wait "$pid" 2>/dev/null
    [ -e "$userdir/$1" ] || fail "no $1 in the user's folder after a start"
}

start_and_stop options
for f in verbal.zep verbal.notes.csv hlp.txt Readme.txt; do
    cmp -s "$root/usr/share/lexamo/$f" "$userdir/$f" || fail "the user's folder lacks the sample $f"
done
[ "$(ls -A "$elsewhere")" = "" ] || fail "a start from the menu wrote into the current folder: $(ls -A "$elsewhere")"

# The user changes the bank and loses a help text; the next start keeps the bank and brings
# the help text back.
printf 'question,a,b,c,d,e,answer\nMy own question,w,x,y,z,v,c\n' >"$work/mine.csv"
"$root/usr/bin/lexamo-bank" import "$work/mine.csv" -o "$userdir/verbal.zep" >/dev/null || fail "import"
cp "$userdir/verbal.zep" "$work/mine.zep"
rm -f "$userdir/hlp.txt" "$userdir/options"
start_and_stop options
cmp -s "$work/mine.zep" "$userdir/verbal.zep" || fail "a second start did not keep the changed bank"
cmp -s "$root/usr/share/lexamo/hlp.txt" "$userdir/hlp.txt" || fail "a second start did not bring back hlp.txt"

if [ $failures -ne 0 ]; then
    echo "$failures checks failed" >&2
    exit 1
fi
echo "installed tree, menu entry, metadata, manual pages and starts checked"

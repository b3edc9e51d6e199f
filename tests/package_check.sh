#!/usr/bin/env bash
# Builds the Debian package from the build with cpack and checks it: its name, its control
# fields, its dependencies, and that lintian finds neither errors nor warnings in it.
# Usage: package_check.sh BUILD_DIR WORK_DIR
set -uo pipefail
build=$1
work=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$work" && mkdir -p "$work" || exit 1
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
debs=("$work"/lexamo_1.0.0_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no lexamo_1.0.0_<arch>.deb" >&2; exit 1; }
deb=${debs[0]}
[ "$deb" = "$work/lexamo_1.0.0_$(dpkg --print-architecture).deb" ] || fail "package named $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Maintainer)" = "Lexamo developers <lexamo@example.org>" ] || fail "Maintainer: $(field Maintainer)"
[ "$(field Package)" = lexamo ] || fail "Package: $(field Package)"
depends=$(field Depends)
# The fonts are named by hand; the Qt libraries, the SVG plugin's among them, come from the
# programs.
for needed in fonts-liberation2 fonts-urw-base35 libqt6svg6 libqt6widgets6 libqt6core6; do
    grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
twice=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}' | sort | uniq -d)
[ -z "$twice" ] || fail "Depends names $(echo $twice) more than once: $depends"
contents=$(dpkg-deb -c "$deb")
for file in usr/bin/lexamo usr/bin/lexamo-bank usr/share/lexamo/verbal.zep \
    usr/share/lexamo/verbal.notes.csv; do
    grep -q " \./$file\$" <<<"$contents" || fail "the package has no /$file"
done

lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 \
    || fail "lintian: $(grep -v 'root privileges' "$work/lintian.log")"

echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes, Installed-Size $(field Installed-Size) KiB"
cat "$work/lintian.log"
[ $failures -eq 0 ]

#!/usr/bin/env bash
# Installs the Debian packages one of Lexamo's commands needs, only those that are missing, and
# without the packages Debian merely recommends. Safe to run again. Uses sudo when not run as root.
#   scripts/setup.sh SET    where SET is one of
#     build     compiler, CMake and Qt 6's development packages: enough to build Lexamo
#     run       build, plus the fonts, Qt's SVG plugin and, without a display, Xvfb (run.sh)
#     package   build, plus dpkg-dev, lintian and file to pack and check the .deb (package.sh)
#     fuzz      build, plus clang and its libFuzzer runtime (fuzz.sh)
#     test      all of the above, plus every tool the tests call (test.sh)
# apt's own output goes to a log file, shown only when apt fails.
set -euo pipefail

build=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
       libfontconfig-dev)
fonts=(fonts-liberation2 fonts-urw-base35 fonts-dejavu-core libqt6svg6)
virtual_display=(xvfb xauth)
packing=(dpkg-dev lintian file)
fuzzing=(clang libclang-rt-14-dev)
# What the tests call besides: the benchmarks' library, the window-manager test's openbox, the
# format check, and the checks of the install (menu entry, AppStream file, manual pages).
checking=(libbenchmark-dev openbox clang-format desktop-file-utils appstream man-db)

set_name=${1:-}
case $set_name in
    build) packages=("${build[@]}"); purpose="building Lexamo" ;;
    run)
        packages=("${build[@]}" "${fonts[@]}")
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            packages+=("${virtual_display[@]}")
        fi
        purpose="building and running Lexamo" ;;
    package) packages=("${build[@]}" "${packing[@]}"); purpose="packing Lexamo" ;;
    fuzz) packages=("${build[@]}" "${fuzzing[@]}"); purpose="fuzzing Lexamo" ;;
    test)
        packages=("${build[@]}" "${fonts[@]}" "${virtual_display[@]}" "${packing[@]}"
                  "${fuzzing[@]}" "${checking[@]}")
        purpose="building and testing Lexamo" ;;
    *)
        echo "Usage: $0 build|run|package|fuzz|test" >&2
        exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || {
        echo "Please run as root or install sudo; missing: ${missing[*]}" >&2
        exit 1
    }
    sudo=(sudo)
fi

log=${TMPDIR:-/tmp}/lexamo-apt.log
{ : >"$log"; } 2>/dev/null || log=$(mktemp "${TMPDIR:-/tmp}/lexamo-apt.XXXXXX.log")
apt_get() {
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -o Dpkg::Use-Pty=0 "$@" >>"$log" 2>&1
}
failed() {
    echo "$1; the end of $log:" >&2
    tail -n 30 "$log" >&2
    exit 1
}

apt_get update || failed "apt-get update failed"
# apt's dry run names each package it would unpack on a line of its own.
apt_get install -s --no-install-recommends "${missing[@]}" || failed "apt-get cannot install ${missing[*]}"
count=$(grep -c '^Inst ' "$log" || true)
echo "Installing $count packages for $purpose (log: $log)..."
apt_get install --no-install-recommends "${missing[@]}" || failed "apt-get install failed"

#!/usr/bin/env bash
# Installs the Debian packages Lexamo needs to build, run and test. Safe to run again: it only
# installs what is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
    libbenchmark-dev
    clang libclang-rt-14-dev
    fonts-liberation2 fonts-urw-base35 fonts-dejavu-core
    libqt6svg6
    xvfb xauth openbox
    clang-format
    desktop-file-utils appstream man-db file dpkg-dev lintian
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Please run as root or install sudo: missing ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

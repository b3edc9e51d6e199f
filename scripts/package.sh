#!/usr/bin/env bash
# Builds the Debian package build-package/lexamo_<version>_<arch>.deb: a Release build with
# Debian's hardening flags, installed under /usr, packed by cpack and checked by lintian.
# Install it with: sudo apt install ./build-package/lexamo_*.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh" package
out=$top/build-package

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$top" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DLEXAMO_TESTS=OFF -DLEXAMO_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$out" -j"$(nproc)"
rm -f "$out"/lexamo_*.deb
(cd "$out" && cpack -G DEB)
deb=$(ls "$out"/lexamo_*.deb)
echo "Checking $deb with lintian:"
lintian --fail-on error,warning "$deb"
echo "Package: $deb ($(stat -c %s "$deb") bytes, Installed-Size $(dpkg-deb -f "$deb" Installed-Size) KiB)"

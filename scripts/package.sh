#!/usr/bin/env bash
# Builds the Debian package build/quillon_<version>_<arch>.deb and checks it: its files are
# unpacked into a temporary root and the programs run from there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
(cd build && cpack -G DEB)
deb=$(ls -t build/quillon_*.deb | head -n 1)
dpkg-deb --info "$deb" | sed -n '/Depends/p'
tests/install/installed_test.sh build "$deb"
echo "Package: $deb"

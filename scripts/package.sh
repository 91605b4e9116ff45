#!/usr/bin/env bash
# Builds the Debian package of vorn2 in build-package/ and prints its name and control data.
#   VORN_PACKAGE_BUILD_DIR   build folder (default: build-package)
#   VORN_CMAKE_ARGS          extra CMake arguments
# Install it with:  sudo apt install ./build-package/vorn2_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vorn_install_deps

build="${VORN_PACKAGE_BUILD_DIR:-build-package}"
# shellcheck disable=SC2086
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVORN_BUILD_TESTS=OFF \
  -DVORN_BUILD_BENCH=OFF ${VORN_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j"$(nproc)" --target vorn2
rm -f "$build"/vorn2_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vorn2_*.deb)
dpkg-deb --field "$deb"
dpkg-deb --contents "$deb" | awk '{print $6}'
echo "built $deb"

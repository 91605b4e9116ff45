#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   VORN_BUILD_DIR    build folder (default: build)
#   VORN_CMAKE_ARGS   extra CMake arguments (for example -DVORN_SANITIZE=ON)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vorn_install_deps

build="${VORN_BUILD_DIR:-build}"
# shellcheck disable=SC2086
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VORN_CMAKE_ARGS:-}
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j2 --timeout 300

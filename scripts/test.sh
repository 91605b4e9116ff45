#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then each fuzz target
# for a short while from its seeds (some mistakes in decoding and cleanup only they catch).
#   VORN_BUILD_DIR    build folder (default: build)
#   VORN_CMAKE_ARGS   extra CMake arguments (for example -DVORN_SANITIZE=ON)
#   VORN_FUZZ_SECONDS seconds per fuzz target (default 10; 0 leaves them out)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vorn_install_deps

build="${VORN_BUILD_DIR:-build}"
# shellcheck disable=SC2086
# A unity build compiles the Qt headers once per batch of files instead of once per file,
# which saves much of a build from scratch.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON ${VORN_CMAKE_ARGS:-}
cmake --build "$build" -j"$(nproc)"
(cd "$build" && ctest --output-on-failure -j2 --timeout 300)
fuzz_seconds=${VORN_FUZZ_SECONDS:-10}
[ "$fuzz_seconds" = 0 ] || bash scripts/fuzz.sh "$fuzz_seconds"

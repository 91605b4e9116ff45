#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each in turn.
#   fuzz.sh [SECONDS] [TARGET...]
# SECONDS per target (default 60); all targets unless some are named. Each run starts from
# the committed seeds (tests/fuzz/corpus/TARGET) plus what earlier runs here found
# (build-fuzz/corpus/TARGET). A crash, hang, leak or sanitizer report fails the run and leaves
# the input in build-fuzz/artifacts/. Prints one summary line per target.
#   VORN_FUZZ_BUILD_DIR   build folder (default: build-fuzz)
#   VORN_FUZZ_TIMEOUT     seconds one input may take before it counts as a hang (default 10;
#                         more for long runs on a loaded machine at a low priority)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vorn_install_deps

seconds=${1:-60}
shift || true
build="${VORN_FUZZ_BUILD_DIR:-build-fuzz}"

# shellcheck disable=SC2086
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_UNITY_BUILD=ON -DVORN_FUZZ=ON -DVORN_BUILD_TESTS=OFF -DVORN_BUILD_BENCH=OFF \
  ${VORN_CMAKE_ARGS:-} >/dev/null
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  targets=()
  for f in tests/fuzz/fuzz_*.cpp; do
    targets+=("$(basename "$f" .cpp)")
  done
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The locale libraries and Qt keep some allocations for the life of the process.
export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

status=0
summary=()
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  artifacts="$build/artifacts/$t/"
  mkdir -p "$work" "$artifacts"
  log="$build/$t.log"
  echo "== $t: $seconds s"
  if "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout="${VORN_FUZZ_TIMEOUT:-10}" -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts" \
      "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -n 60 "$log"
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9A-Za-z]*\).*/\1/p' <<<"$last")
  summary+=("$t: $result, ${execs:-?} execs (${rate:-?}/s) in $seconds s, cov ${cov:-?}, ft ${ft:-?}, corpus ${corp:-?}")
done
printf '%s\n' "${summary[@]}"
exit $status

#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Taviro and runs every test: first an
# optimised build, each fuzz target briefly (clang), then the whole suite
# again under AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero
# on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)

run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$jobs"
}

echo "== optimised build =="
run_suite build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== fuzz targets, a few seconds each on their seeds =="
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIRO_FUZZ=ON \
  -DTAVIRO_BUILD_GUI=OFF -DTAVIRO_BUILD_TESTS=OFF -DTAVIRO_BUILD_BENCHMARKS=OFF
cmake --build build/fuzz -j "$jobs" --target taviro_fuzzers
ctest --test-dir build/fuzz -L fuzz --output-on-failure -j "$jobs"

echo "== sanitizer build =="
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTAVIRO_SANITIZE=ON -DTAVIRO_BUILD_BENCHMARKS=OFF


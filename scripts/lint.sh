#!/usr/bin/env bash
# The lint gate: every C++ file is formatted as .clang-format says, and
# clang-tidy (.clang-tidy) finds nothing in src/. Exits non-zero on any
# finding. Needs clang-format, clang-tidy and the build dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h' ':!:fuzz/corpus/**')

echo "== clang-format =="
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files formatted"

echo "== clang-tidy =="
# A configured tree gives the compile commands; nothing needs building.
cmake -S . -B build/lint -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# GCC's own warning options mean nothing to clang.
run-clang-tidy -p build/lint -quiet -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option "$(pwd)/src/" \
  > build/lint/clang-tidy.log 2>&1 || status=$?
if grep -qE "(warning|error):" build/lint/clang-tidy.log || [[ ${status:-0} -ne 0 ]]; then
  grep -E -A3 "(warning|error):" build/lint/clang-tidy.log >&2 || cat build/lint/clang-tidy.log >&2
  echo "clang-tidy found problems" >&2
  exit 1
fi
echo "clang-tidy: src/ is clean"

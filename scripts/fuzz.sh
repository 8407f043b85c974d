#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan) and runs each for a long
# time, one after the other, at low priority. Prints the CPU time each ran
# clean. What a run finds stays in build/fuzz/long/TARGET/crash-*. A clean
# run's corpus is minimised into fuzz/corpus/TARGET, to be committed, so
# that the next run starts where this one ended.
# Usage: scripts/fuzz.sh [SECONDS_EACH (default 3600)] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-3600}
shift || true

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIRO_FUZZ=ON \
  -DTAVIRO_FUZZ_COVERAGE=ON -DTAVIRO_BUILD_GUI=OFF -DTAVIRO_BUILD_TESTS=OFF -DTAVIRO_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)" --target taviro_fuzzers

targets=("$@")
if ((${#targets[@]} == 0)); then
  for file in fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$file" .cpp)")
  done
fi

summary=()
failed=0
for target in "${targets[@]}"; do
  work=build/fuzz/long/$target
  log=$work.log
  mkdir -p "$work"
  echo "== $target: $seconds s"
  # The shell's own clock for the children's CPU time: user and system.
  TIMEFORMAT='%U %S'
  if { time fuzz/run_fuzzer.sh "$PWD/build/fuzz/fuzz/$target" "$PWD/fuzz/corpus/$target" "$PWD/$work" \
         "$seconds" >"$log" 2>&1; } 2>"$work.cpu"; then
    result=clean
    merged=$work/merged
    rm -rf "$merged"
    mkdir -p "$merged"
    if LLVM_PROFILE_FILE="$work.merge.profraw" "$PWD/build/fuzz/fuzz/$target" -merge=1 "$merged" "fuzz/corpus/$target" "$work/corpus" \
         >"$work.merge.log" 2>&1; then
      rm -rf "fuzz/corpus/$target"
      mv "$merged" "fuzz/corpus/$target"
    else
      result="clean, corpus not merged (see $work.merge.log)"
    fi
  else
    result="FOUND (see $log)"
    failed=1
  fi
  read -r user system <"$work.cpu"
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | awk '{print $2}' | tail -n1)
  summary+=("$(printf '%-24s %8.0f s CPU %12s runs  %s' "$target" "$(awk -v u="$user" -v s="$system" 'BEGIN{print u + s}')" "${runs:-?}" "$result")")
done

echo
printf '%s\n' "${summary[@]}"
exit "$failed"

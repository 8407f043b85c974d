#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Taviro, starts the bundled demo service
# on loopback and runs the program from a portable application folder. The
# service stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

app_dir=${TAVIRO_APP_DIR:-$PWD/install}

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"
# Short test-pattern clips for the sample catalogue, made once.
cmake --build build/release --target taviro_demo_media
cmake --install build/release --prefix "$app_dir" >/dev/null

service_log=$(mktemp)
build/release/demo/taviro-demo-service --data demo/data >"$service_log" 2>&1 &
service_pid=$!
trap 'kill "$service_pid" 2>/dev/null; wait "$service_pid" 2>/dev/null; rm -f "$service_log"' EXIT

for _ in $(seq 100); do
  grep -q "listening on" "$service_log" && break
  kill -0 "$service_pid" 2>/dev/null || { cat "$service_log"; exit 1; }
  sleep 0.1
done

"$app_dir/taviro" "$@"

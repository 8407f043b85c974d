#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Taviro and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"

echo "Taviro's core is built; the main window is not there yet."

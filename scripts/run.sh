#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Taviro and runs the program from a
# portable application folder. The program starts its own service, over a
# sample library (a small series and a film made of the test clips) and the
# user's videos folder, and ends it when it ends.
set -euo pipefail
cd "$(dirname "$0")/.."

app_dir=${TAVIRO_APP_DIR:-$PWD/install}

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"
# Short test-pattern clips and the sample library of them, made once.
cmake --build build/release --target taviro_sample_media
cmake --install build/release --prefix "$app_dir" >/dev/null

exec "$app_dir/taviro" --library "$PWD/build/release/service/sample-library" "$@"

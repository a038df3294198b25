#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug info, Ninja): the
# targets named on the command line, or everything.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$top/build" -j"$(nproc)" "${targets[@]}"

#!/usr/bin/env bash
# Configures and builds the `release` preset (CMakePresets.json: Release
# with debug info, Ninja) into build/: the targets named on the command line,
# or everything. `cmake --preset asan` and `cmake --build --preset asan`
# build the same with the address and undefined-behaviour checkers into
# build-asan/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
cmake --preset release >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build --preset release -j"$(nproc)" "${targets[@]}"

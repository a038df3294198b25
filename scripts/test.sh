#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds, and runs every
# test headless, with a scratch home and runtime folder and a private sound
# server with a null output, so no run depends on or changes the user's own. Then the same tests
# again in the asan build (AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer: any report fails), and every fuzz target for 10 seconds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" --test
"$top/scripts/check-format.sh"
"$top/scripts/build.sh"

scratch=$(mktemp -d)
mkdir -m 700 "$scratch/home" "$scratch/runtime"
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export QT_QPA_PLATFORM=offscreen
# The tests' sounds go to the private server below, never to one named by
# the caller's environment.
unset PULSE_SERVER PULSE_SINK
cleanup() {
    pulseaudio --kill >/dev/null 2>&1 || true
    rm -rf "$scratch"
}
trap cleanup EXIT
"$top/scripts/start-sound-server.sh" || echo "No sound server could be started: the sound test will say so and be skipped."

ctest --test-dir "$top/build" --output-on-failure -j"$(nproc)" --timeout 300

(cd "$top" && cmake --preset asan >/dev/null)
cmake --build "$top/build-asan" -j"$(nproc)"
ctest --test-dir "$top/build-asan" --output-on-failure -j"$(nproc)" --timeout 900
FUZZ_SEED=1 "$top/scripts/fuzz.sh" 10

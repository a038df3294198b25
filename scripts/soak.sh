#!/usr/bin/env bash
# The long run: the main window on the simulated camera for a million frames
# (or the number given), checking the series and the resident memory, and
# printing the frames per second. --asan runs it in the asan build instead,
# where LeakSanitizer checks for leaks at the end (memory is not checked
# there: the sanitizer keeps freed memory on purpose).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" --test
if [ "${1:-}" = "--asan" ]; then
    shift
    (cd "$top" && cmake --preset asan >/dev/null)
    cmake --build "$top/build-asan" -j"$(nproc)" --target vantorel-soak
    soak="$top/build-asan/bench/vantorel-soak"
else
    "$top/scripts/build.sh" vantorel-soak
    soak="$top/build/bench/vantorel-soak"
fi
QT_QPA_PLATFORM=offscreen exec "$soak" "${1:-1000000}"

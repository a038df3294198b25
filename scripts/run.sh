#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the simulated
# range (no camera needed). build/app/vantorel starts it with your cameras.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" vantorel-sim vantorel
exec "$top/build/app/vantorel-sim"

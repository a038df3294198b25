#!/usr/bin/env bash
# Starts vantorel on a fake camera that plays a folder of pictures in a loop
# at 30 frames a second (default: the replay tool's sample, a laser dot
# flashing at two places), so the real camera path can be watched without a
# camera. Installs and builds what it needs. The camera is unplugged by
# emptying the file it prints, and plugged in again by writing the line back.
#
#   scripts/fake-camera.sh [FOLDER]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath "${1:-$top/tools/sample}")
"$top/scripts/install-deps.sh" --test # the fake camera is built with the tests
"$top/scripts/build.sh" vantorel gstfakecamera

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "Fake Camera | YUY2 640x480, I420 1280x720 | $folder" >"$scratch/cameras.txt"
echo "Fake cameras: $scratch/cameras.txt"
export QT_MEDIA_BACKEND=gstreamer
export GST_PLUGIN_PATH="$top/build/cameras/fake"
export GST_REGISTRY="$top/build/cameras/fake/registry.bin"
export GST_PLUGIN_FEATURE_RANK=v4l2deviceprovider:NONE,pipewiredeviceprovider:NONE,libcameraprovider:NONE
export FAKE_CAMERA_CONFIG="$scratch/cameras.txt"
"$top/build/app/vantorel"

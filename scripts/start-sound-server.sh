#!/usr/bin/env bash
# Starts a private PulseAudio server whose default output is a null sink named
# test_sink, for the tests that play a clip and record what was heard.
# Uses HOME and XDG_RUNTIME_DIR as they are set by the caller.
set -u
command -v pulseaudio >/dev/null || exit 1
pactl info >/dev/null 2>&1 && pactl list short sinks 2>/dev/null | grep -q test_sink && exit 0
pulseaudio -D -n --exit-idle-time=-1 --disallow-exit \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=test_sink" >/dev/null 2>&1 || exit 1
for _ in $(seq 1 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl set-default-sink test_sink >/dev/null 2>&1 || exit 1

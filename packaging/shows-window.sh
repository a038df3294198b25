#!/usr/bin/env bash
# Starts a program and waits up to 20 s for a visible window whose title is
# TITLE, then ends the program. Succeeds when the window showed.
# Usage: shows-window.sh TITLE PROGRAM [ARGUMENT...]
set -u
title=$1
shift
"$@" &
program=$!
shown=1
for _ in $(seq 1 100); do
    if xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; then
        shown=0
        break
    fi
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
done
kill "$program" 2>/dev/null
wait "$program" 2>/dev/null
exit $shown

#!/bin/sh
# Renders each man page as man would show it and fails on any warning of
# the formatter, or on a page without a NAME section.
# Usage: check-man-pages.sh PAGE.1.gz...
set -eu
status=0
for page in "$@"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        echo "$page: $warnings" >&2
        status=1
    elif ! LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null | grep -q '^NAME$'; then
        echo "$page: renders without a NAME section" >&2
        status=1
    fi
done
exit $status

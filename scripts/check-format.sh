#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes
# of it (the project's .clang-format), and shows where.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.h' '*.cpp')
else
    mapfile -t files < <(find . \( -path ./build -o -path ./build-asan \) -prune -o \
        \( -name '*.h' -o -name '*.cpp' \) -print)
fi
if ! clang-format --style=file --dry-run -Werror "${files[@]}"; then
    echo "Not formatted with clang-format: run clang-format -i on the files above." >&2
    exit 1
fi
echo "clang-format: ${#files[@]} files formatted."

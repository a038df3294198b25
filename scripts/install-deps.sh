#!/usr/bin/env bash
# Installs the Debian packages that the build (and, with --test, the tests)
# need, and only those that are missing, so a second run is quick.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
want_test=0
[ "${1:-}" = "--test" ] && want_test=1

missing=()
section=""
while IFS= read -r line; do
    line=${line%%#*}
    line=$(echo "$line" | xargs)
    [ -z "$line" ] && continue
    case "$line" in
        "[build]") section=build; continue ;;
        "[test]") section=test; continue ;;
    esac
    [ "$section" = test ] && [ "$want_test" = 0 ] && continue
    if ! dpkg-query -W -f='${Status}' "$line" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$line")
    fi
done < "$here/packages.txt"

[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y --no-install-recommends "${missing[@]}"

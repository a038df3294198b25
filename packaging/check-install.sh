#!/usr/bin/env bash
# Installs the build into scratch folders as a user or a package would and
# checks the result: exactly the expected files, no path of the build or
# source tree inside them, valid AppStream data for the tree, and programs
# that run from there, away from the build tree: vantorel-replay prints the
# hits of the sample frames, vantorel-sim shows its main window (on a
# private X server).
# Usage: check-install.sh BUILD_DIR SOURCE_DIR PROGRAM...
set -euo pipefail
build=$1 source=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=check-common.sh
. "$here/check-common.sh"

listed() { (cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort); }
"$here/expected-files.sh" "$@" >"$scratch/expected"

# A prefix of the user's choice, and a package's staging folder (DESTDIR).
prefix="$scratch/prefix"
cmake --install "$build" --component vantorel --prefix "$prefix" --strip >"$scratch/install.log"
DESTDIR="$scratch/stage" cmake --install "$build" --component vantorel --prefix /usr --strip \
    >>"$scratch/install.log"
for root in "$prefix" "$scratch/stage/usr"; do
    listed "$root" | diff -u "$scratch/expected" - || fail "$root holds other files than expected"
done
[ -z "$(cd "$scratch/stage" && find . -mindepth 1 -maxdepth 1 ! -name usr)" ] ||
    fail "DESTDIR holds files outside the prefix"
if grep -rlF -e "$build" -e "$source" "$prefix"; then
    fail "installed files name the build or source tree"
fi
appstreamcli validate-tree --no-net "$scratch/stage" || fail "AppStream data of the tree"

# The programs run with a private home from a folder outside the build tree.
mkdir -p "$scratch/home" "$scratch/elsewhere"
chmod 700 "$scratch/home"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
export XDG_DATA_HOME="$scratch/home/.local/share" XDG_RUNTIME_DIR="$scratch/home"
cd "$scratch/elsewhere"
cp -r "$source/tools/sample" frames
"$prefix/bin/vantorel-replay" frames >hits || fail "vantorel-replay exits with $?"
diff -u frames/hits.txt hits || fail "vantorel-replay prints other hits"

# QT_QPA_PLATFORM=xcb: the window must reach a real (virtual) screen.
QT_QPA_PLATFORM=xcb timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$here/shows-window.sh" "Quillmere Vantorel" "$prefix/bin/vantorel-sim" ||
    fail "the installed vantorel-sim shows no main window"
echo "installed: $(wc -l <"$scratch/expected") files as expected; vantorel-replay and vantorel-sim run"

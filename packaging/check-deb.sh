#!/usr/bin/env bash
# Builds the Debian package from the build folder with CPack, into a
# scratch folder, and checks it without installing it: its control fields
# (dpkg-deb -I), its files (dpkg-deb -c) and lintian, which must report no
# error. Prints the package's Depends line and lintian's warnings.
# HOMEPAGE is the build's web page, empty for none: the Homepage field
# names it, or is absent.
# Usage: check-deb.sh BUILD_DIR VERSION HOMEPAGE PROGRAM...
set -euo pipefail
build=$1 version=$2 homepage=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=check-common.sh
. "$here/check-common.sh"

cpack --config "$build/CPackConfig.cmake" -B "$scratch" -G DEB >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack"; }
deb="$scratch/vantorel_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") made"

dpkg-deb -I "$deb" >"$scratch/info"
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
for wanted in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 \
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good libgstreamer1.0-0 \
    libgstreamer-plugins-base1.0-0; do
    [[ ", $depends," == *", $wanted "* || ", $depends," == *", $wanted,"* ]] ||
        fail "Depends lacks $wanted: $depends"
done
[ "$(field Package)" = vantorel ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = misc ] || fail "Section: $(field Section)"
[ "$(field Homepage)" = "$homepage" ] || fail "Homepage: '$(field Homepage)', not '$homepage'"
[ "$(field Recommends)" = "xdg-utils, gstreamer1.0-libav" ] ||
    fail "Recommends: $(field Recommends)"
[ "$(field Suggests)" = kchmviewer ] || fail "Suggests: $(field Suggests)"
[[ "$(field Maintainer)" == *"<"*"@"*">" ]] || fail "Maintainer: $(field Maintainer)"
[ "$(field Description | wc -l)" -gt 3 ] || fail "Description without a long part"
grep -qw md5sums "$scratch/info" || fail "no md5sums"

# Only regular files are expected; folders are root's, 0755.
dpkg-deb -c "$deb" >"$scratch/contents"
awk '$1 ~ /^-/ { sub(/^\.\/usr\//, "", $6); print $6 }' "$scratch/contents" | LC_ALL=C sort |
    diff -u <("$here/expected-files.sh" "$@") - || fail "the package holds other files than expected"
awk '$1 !~ /^[-d]/ || $2 != "root/root" { bad = 1; print } END { exit bad }' "$scratch/contents" ||
    fail "entries that are not root's files or folders"
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { bad = 1; print } END { exit bad }' "$scratch/contents" ||
    fail "folders with other modes than 0755"

lintian --fail-on error "$deb" >"$scratch/lintian" 2>&1 ||
    { cat "$scratch/lintian"; fail "lintian reports errors"; }
echo "Depends: $depends"
echo "lintian:"
sed 's/^/  /' "$scratch/lintian"

#!/bin/sh
# Checks the AppStream data as built (appstreamcli validate): it names a web
# page and a screenshot on it only when the build has a page
# (VANTOREL_HOMEPAGE). Then makes it with a page set and checks that too.
# Usage: check-metainfo.sh TEMPLATE BUILT HOMEPAGE
set -eu
template=$1 built=$2 homepage=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=check-common.sh
. "$here/check-common.sh"

appstreamcli validate --no-net "$built" || fail "AppStream data of the build"
if [ -z "$homepage" ] && grep -n -e '<url' -e '<screenshot' "$built"; then
    fail "the AppStream data names a web page, but the build has none"
fi

page=https://www.example.net/vantorel
cmake -DSOURCE="$template" -DOUTPUT="$scratch/page.xml" -DVANTOREL_HOMEPAGE="$page" \
    -P "$here/Metainfo.cmake"
appstreamcli validate --no-net "$scratch/page.xml" || fail "AppStream data with a web page"
grep -qF "<url type=\"homepage\">$page</url>" "$scratch/page.xml" || fail "no homepage in it"
grep -qF "<image>$page/screenshot.png</image>" "$scratch/page.xml" || fail "no screenshot in it"
echo "AppStream data valid, without a web page and with $page"

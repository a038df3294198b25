#!/bin/sh
# Prints every file that the install rules put under the prefix, one path a
# line relative to it, sorted: the programs named on the command line with
# their man pages, and the desktop files.
set -eu
id=org.example.vantorel
{
    for program in "$@"; do
        echo "bin/$program"
        echo "share/man/man1/$program.1.gz"
    done
    echo "share/applications/$id.desktop"
    echo "share/applications/$id.sim.desktop"
    for size in 16 32 48 64 128 256; do
        echo "share/icons/hicolor/${size}x$size/apps/$id.png"
    done
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    echo "share/metainfo/$id.metainfo.xml"
    echo "share/doc/vantorel/copyright"
    echo "share/doc/vantorel/changelog.gz"
    echo "share/doc/vantorel/README.md"
    echo "share/doc/vantorel/Target-A4.pdf"
    echo "share/doc/vantorel/Target-Letter.pdf"
} | LC_ALL=C sort

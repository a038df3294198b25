#!/bin/sh
# Builds the help file Vantorel.chm (Compiled HTML Help, "ITSF" version 3)
# from the HTML pages, the contents file and the project file beside this
# script, after drawing the pages' pictures and the printable targets.
#
# Needs (Debian): fp-utils-3.2.2 (chmcmd), python3-pil, fonts-dejavu-core;
# libchm-bin (enum_chmLib) to look inside the result.
# Run: sh resources/help/make_help.sh
set -eu
cd "$(dirname "$0")"
/usr/bin/python3 make_help_pictures.py
/usr/bin/python3 make_target_pdf.py
chmcmd --verbosity 1 Vantorel.hhp
head -c 4 Vantorel.chm | grep -q ITSF
echo "wrote $(pwd)/Vantorel.chm"

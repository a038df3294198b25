#!/bin/sh
# Makes every generated resource again from its script. The generated files
# are committed, so a build needs none of these tools; see README.md for the
# Debian packages each script needs.
set -eu
cd "$(dirname "$0")"
/usr/bin/python3 font/make_font.py
/usr/bin/python3 sounds/make_sounds.py
/usr/bin/python3 pictures/make_pictures.py
# The desktop icons are drawn from the pistol of the program's icon.
/usr/bin/python3 ../packaging/make_icons.py
# The help pages show the target picture, so the help comes after it.
sh help/make_help.sh

#!/usr/bin/python3
"""Draws the program's desktop icon for the hicolor theme.

  icons/hicolor/scalable/apps/org.example.vantorel.svg
      the pistol of the program's own 32 x 32 icon
      (resources/pictures/icon.png) as a vector picture, from the same
      outline (resources/pictures/make_pictures.py)
  icons/hicolor/NxN/apps/org.example.vantorel.png, N = 16 ... 256
      the SVG rendered at each size

Needs: python3-pil, fonts-dejavu-core (make_pictures.py imports them) and
librsvg2-bin (rsvg-convert) (Debian). Run:
    /usr/bin/python3 packaging/make_icons.py
The output is the same on every run.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no __pycache__ beside the resources
sys.path.insert(0, os.path.join(HERE, "..", "resources", "pictures"))
import make_pictures as pictures  # noqa: E402  (the pistol's one outline)

NAME = "org.example.vantorel"
SIZES = (16, 32, 48, 64, 128, 256)
ICONS = os.path.join(HERE, "icons", "hicolor")

# The outline is drawn in the about picture's pixels (225 x 132). The
# program's icon puts it across the full width of a square, 4 units above
# the middle; the view box does the same.
SIDE = 225
LIFT = (SIDE - 132) / 2 - 4


def colour(rgb):
    return "#%02x%02x%02x" % rgb


def svg():
    dark, mid, light, edge = pictures.DARK, pictures.MID, pictures.LIGHT, pictures.EDGE
    # Back to front, as the program's icon paints them; the trigger guard is
    # a ring whose opening shows the background.
    def points(outline):
        return " ".join("%g,%g" % point for point in outline)

    def ring(outer, inner):
        return "M%s Z M%s Z" % (points(outer), points(inner))

    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 %g %d %d">'
        % (SIDE, SIDE, -LIFT, SIDE, SIDE),
        "  <title>Quillmere Vantorel</title>",
        '  <g stroke="%s" stroke-width="2" stroke-linejoin="round">' % colour(edge),
    ]
    for outline, fill in ((pictures.HAMMER, dark), (pictures.GRIP, dark), (pictures.FRAME, mid)):
        lines.append('    <polygon points="%s" fill="%s"/>' % (points(outline), colour(fill)))
    lines.append('    <path d="%s" fill="%s" fill-rule="evenodd"/>'
                 % (ring(pictures.GUARD_OUTER, pictures.GUARD_INNER), colour(mid)))
    for outline, fill in ((pictures.TRIGGER, dark), (pictures.SLIDE, light)):
        lines.append('    <polygon points="%s" fill="%s"/>' % (points(outline), colour(fill)))
    lines += ["  </g>", "</svg>", ""]
    return "\n".join(lines)


def main():
    scalable = os.path.join(ICONS, "scalable", "apps", NAME + ".svg")
    os.makedirs(os.path.dirname(scalable), exist_ok=True)
    with open(scalable, "w", encoding="utf-8") as out:
        out.write(svg())
    for size in SIZES:
        png = os.path.join(ICONS, "%dx%d" % (size, size), "apps", NAME + ".png")
        os.makedirs(os.path.dirname(png), exist_ok=True)
        subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size),
                        "--output", png, scalable], check=True)


if __name__ == "__main__":
    main()

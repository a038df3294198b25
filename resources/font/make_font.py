#!/usr/bin/python3
"""Draws the score card's display face, family "LCD2", style Bold.

An upper-case fourteen-segment liquid-crystal face: digits, A-Z (the
lower-case letters map to the same glyphs), space and the punctuation the
score card and the buttons use.

Needs: python3-fontforge (Debian). Run with the system interpreter, which
has the fontforge module:
    /usr/bin/python3 resources/font/make_font.py
Writes resources/font/LCDFont.ttf beside this script.
"""

import os

# A fixed time stamp in the font's tables, so the same script makes the same
# file.
os.environ.setdefault("SOURCE_DATE_EPOCH", "1700000000")

import fontforge  # noqa: E402  (reads the time stamp when it loads)

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "LCDFont.ttf")

# Cell geometry in font units (em 1000). Segments are drawn on centre lines
# and are W thick; GAP keeps neighbouring segments apart like on a real LCD.
EM, ASCENT, DESCENT = 1000, 800, 200
ADVANCE = 500
LEFT, RIGHT, BOTTOM, TOP = 40, 460, 0, 720
W = 72
GAP = 12

XL, XR = LEFT + W / 2, RIGHT - W / 2
YB, YT = BOTTOM + W / 2, TOP - W / 2
XC, YM = (XL + XR) / 2, (YB + YT) / 2


def horizontal(x1, x2, y):
    """A pointed horizontal bar from x1 to x2 on the line y."""
    h = W / 2
    x1, x2 = x1 + GAP, x2 - GAP
    return [(x1, y), (x1 + h, y + h), (x2 - h, y + h), (x2, y), (x2 - h, y - h), (x1 + h, y - h)]


def vertical(x, y1, y2):
    """A pointed vertical bar from y1 up to y2 on the line x."""
    h = W / 2
    y1, y2 = y1 + GAP, y2 - GAP
    return [(x, y1), (x - h, y1 + h), (x - h, y2 - h), (x, y2), (x + h, y2 - h), (x + h, y1 + h)]


def diagonal(x1, y1, x2, y2):
    """A slanted bar between the corner (x1, y1) and the centre (x2, y2),
    kept clear of the bars around it."""
    h = W * 0.3
    # Inner corner points of the box the bar crosses.
    sx = 1 if x2 > x1 else -1
    sy = 1 if y2 > y1 else -1
    ax, ay = x1 + sx * (W / 2 + GAP), y1 + sy * (W / 2 + GAP)
    bx, by = x2 - sx * (W / 2 + GAP), y2 - sy * (W / 2 + GAP)
    return [(ax, ay), (ax + sx * 2 * h, ay), (bx, by), (bx - sx * 2 * h, by)]


def square(cx, cy, size):
    s = size / 2
    return [(cx - s, cy - s), (cx - s, cy + s), (cx + s, cy + s), (cx + s, cy - s)]


SEGMENTS = {
    "a": horizontal(XL, XR, YT),
    "d": horizontal(XL, XR, YB),
    "g1": horizontal(XL, XC, YM),
    "g2": horizontal(XC, XR, YM),
    "f": vertical(XL, YM, YT),
    "b": vertical(XR, YM, YT),
    "e": vertical(XL, YB, YM),
    "c": vertical(XR, YB, YM),
    "i": vertical(XC, YM, YT),
    "l": vertical(XC, YB, YM),
    "h": diagonal(XL, YT, XC, YM),
    "j": diagonal(XR, YT, XC, YM),
    "k": diagonal(XL, YB, XC, YM),
    "m": diagonal(XR, YB, XC, YM),
    # Dots for the punctuation.
    "dot": square(XC, YB, W * 1.1),
    "dotlow": square(XC, YB + W * 1.6, W * 1.1),
    "dothigh": square(XC, YM + W * 1.6, W * 1.1),
    "tail": [(XC - W * 0.55, YB - W * 0.55), (XC - W * 0.2, YB - W * 0.55),
             (XC - W * 0.9, YB - W * 2.2), (XC - W * 1.25, YB - W * 2.2)],
}

SEVEN = {
    "0": "a b c d e f",
    "1": "b c",
    "2": "a b g1 g2 e d",
    "3": "a b g1 g2 c d",
    "4": "f g1 g2 b c",
    "5": "a f g1 g2 c d",
    "6": "a f g1 g2 e c d",
    "7": "a b c",
    "8": "a b c d e f g1 g2",
    "9": "a b c d f g1 g2",
}

LETTERS = {
    "A": "a b c e f g1 g2",
    "B": "a b c d g2 i l",
    "C": "a d e f",
    "D": "a b c d i l",
    "E": "a d e f g1 g2",
    "F": "a e f g1",
    "G": "a c d e f g2",
    "H": "b c e f g1 g2",
    "I": "a d i l",
    "J": "b c d e",
    "K": "e f g1 j m",
    "L": "d e f",
    "M": "b c e f h j",
    "N": "b c e f h m",
    "O": "a b c d e f",
    "P": "a b e f g1 g2",
    "Q": "a b c d e f m",
    "R": "a b e f g1 g2 m",
    "S": "a c d f g1 g2",
    "T": "a i l",
    "U": "b c d e f",
    "V": "e f k j",
    "W": "b c e f k m",
    "X": "h j k m",
    "Y": "h j l",
    "Z": "a d j k",
}

PUNCTUATION = {
    "-": "g1 g2",
    ".": "dot",
    ",": "dot tail",
    ":": "dotlow dothigh",
    ";": "dothigh dotlow tail",
    "!": "i dot",
    "?": "a b g2 dot",
    "'": "i",
    '"': "f b",
    "/": "j k",
    "\\": "h m",
    "(": "j m",
    ")": "h k",
    "<": "j m",
    ">": "h k",
    "[": "a d e f",
    "]": "a b c d",
    "+": "g1 g2 i l",
    "=": "g1 g2 d",
    "*": "g1 g2 h i j k l m",
    "_": "d",
    "|": "i l",
    "%": "f g1 j k g2 c",
    "#": "b c g1 g2 i l d",
}


def draw(glyph, segments):
    pen = glyph.glyphPen()
    for name in segments.split():
        points = SEGMENTS[name]
        pen.moveTo(points[0])
        for point in points[1:]:
            pen.lineTo(point)
        pen.closePath()
    pen = None
    glyph.removeOverlap()
    glyph.correctDirection()
    glyph.width = ADVANCE


def main():
    font = fontforge.font()
    font.encoding = "UnicodeFull"
    font.em = EM
    font.ascent = ASCENT
    font.descent = DESCENT
    font.familyname = "LCD2"
    font.fontname = "LCD2-Bold"
    font.fullname = "LCD2 Bold"
    font.weight = "Bold"
    font.version = "1.58"
    font.copyright = "Made for Vantorel by the Vantorel developers"
    font.os2_weight = 700
    font.os2_stylemap = 0x20  # fsSelection: bold
    font.macstyle = 1  # bold
    font.appendSFNTName("English (US)", "Family", "LCD2")
    font.appendSFNTName("English (US)", "SubFamily", "Bold")
    font.appendSFNTName("English (US)", "Fullname", "LCD2 Bold")
    font.appendSFNTName("English (US)", "Preferred Family", "LCD2")
    font.appendSFNTName("English (US)", "Preferred Styles", "Bold")

    notdef = font.createChar(-1, ".notdef")
    draw(notdef, "a b c d e f")

    space = font.createChar(ord(" "), "space")
    space.width = ADVANCE

    for table in (SEVEN, LETTERS, PUNCTUATION):
        for char, segments in table.items():
            glyph = font.createChar(ord(char))
            draw(glyph, segments)

    # Lower-case letters show as capitals: the capital glyph answers for both
    # code points.
    for upper in LETTERS:
        glyph = font[ord(upper)]
        glyph.altuni = ((ord(upper.lower()), -1, 0),)

    font.generate(OUTPUT, flags=("opentype", "no-FFTM-table"))
    print("wrote", OUTPUT)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Writes the printable targets Target-A4.pdf and Target-Letter.pdf.

Ten rings of equal width, numbered 1 (outside) to 10 (centre) like the
target picture in the program's window; the outer circle touches the page's
target square. The PDF is written by hand (vector circles, the standard
Helvetica face), so no PDF library is needed.

Needs: python3 only. Run:
    /usr/bin/python3 resources/help/make_target_pdf.py
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))

PAGES = {
    "Target-A4.pdf": ("A4", 595.276, 841.890),
    "Target-Letter.pdf": ("Letter", 612.0, 792.0),
}
MARGIN = 40.0
RINGS = 10
# Bezier control distance for a quarter circle.
KAPPA = 0.5522847498


def fmt(value):
    text = f"{value:.3f}".rstrip("0").rstrip(".")
    return text if text != "-0" else "0"


def circle(cx, cy, r):
    k = KAPPA * r
    ops = [f"{fmt(cx + r)} {fmt(cy)} m"]
    quarters = [
        ((cx + r, cy + k), (cx + k, cy + r), (cx, cy + r)),
        ((cx - k, cy + r), (cx - r, cy + k), (cx - r, cy)),
        ((cx - r, cy - k), (cx - k, cy - r), (cx, cy - r)),
        ((cx + k, cy - r), (cx + r, cy - k), (cx + r, cy)),
    ]
    for (x1, y1), (x2, y2), (x3, y3) in quarters:
        ops.append(" ".join(fmt(v) for v in (x1, y1, x2, y2, x3, y3)) + " c")
    return "\n".join(ops)


def escape(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def text(x, y, size, font, line):
    return f"BT /{font} {fmt(size)} Tf {fmt(x)} {fmt(y)} Td ({escape(line)}) Tj ET"


def centred_number(cx, cy, size, number):
    # Every digit of Helvetica-Bold is 0.556 em wide; the cap height is about
    # 0.72 em.
    digits = str(number)
    width = 0.556 * size * len(digits)
    return text(cx - width / 2, cy - 0.36 * size, size, "F2", digits)


def page_content(paper, width, height):
    side = width - 2 * MARGIN
    top = height - 96
    cx, cy = width / 2, top - side / 2
    outer = side / 2
    ring = outer / RINGS
    ops = []
    # Title and instructions.
    ops.append("0 g")
    ops.append(text(MARGIN, height - 58, 18, "F2", "Quillmere Vantorel target"))
    ops.append(text(MARGIN, height - 78, 10, "F1",
                    f"Paper: {paper}. Print at actual size (100%, no fit to page)."))
    # The target square and the white disc.
    ops.append("0.6 G 0.5 w")
    ops.append(f"{fmt(cx - outer)} {fmt(cy - outer)} {fmt(side)} {fmt(side)} re S")
    # Ring lines at equal steps; the outermost one touches the square.
    ops.append("0 G 1.2 w")
    for k in range(1, RINGS + 1):
        ops.append(circle(cx, cy, k * ring))
        ops.append("S")
    # Zone numbers on the four axes, in the middle of each ring.
    size = ring * 0.45
    for zone in range(1, RINGS):
        middle = (RINGS - zone + 0.5) * ring
        for ux, uy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            ops.append(centred_number(cx + ux * middle, cy + uy * middle, size, zone))
    ops.append(centred_number(cx, cy, size, 10))
    bottom = cy - outer
    lines = [
        "Fix the target in a dim room. Set up the camera so that the target's centre is on",
        "the centre of the camera picture and the target fills the picture's full height.",
        f"Rings: {RINGS} of {ring / 72 * 25.4:.1f} mm each; the outer circle is "
        f"{side / 72 * 25.4:.0f} mm across.",
    ]
    for i, line in enumerate(lines):
        ops.append(text(MARGIN, bottom - 30 - 14 * i, 10, "F1", line))
    return "\n".join(ops) + "\n"


def pdf(width, height, content):
    objects = [
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        f"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 {fmt(width)} {fmt(height)}] "
        "/Resources << /Font << /F1 4 0 R /F2 5 0 R >> >> /Contents 6 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>",
        f"<< /Length {len(content.encode('latin-1'))} >>\nstream\n{content}endstream",
        "<< /Title (Quillmere Vantorel target) /Producer (Vantorel help sources) >>",
    ]
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n{body}\nendobj\n".encode("latin-1")
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode("latin-1")
    for offset in offsets:
        out += f"{offset:010d} 00000 n \n".encode("latin-1")
    out += (f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R /Info {len(objects)} 0 R >>\n"
            f"startxref\n{xref}\n%%EOF\n").encode("latin-1")
    return bytes(out)


def main():
    for name, (paper, width, height) in PAGES.items():
        path = os.path.join(HERE, name)
        with open(path, "wb") as out:
            out.write(pdf(width, height, page_content(paper, width, height)))
        print("wrote", path)


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Draws the pictures the program's windows show.

  background.png  650 x 459  the main window's light-grey panel with four
                             recessed panes: live video, score card, button,
                             target
  target.png      400 x 400  white disc with ten rings of 20 pixels around
                             the centre (200, 200) on a wood-grain ground
  icon.png         32 x 32   a grey pistol
  about_pistol.png 225 x 132 a large semi-automatic pistol on white
  hand_cursor.png  32 x 32   monochrome pointing hand, hot spot (12, 9)

Needs: python3-pil, fonts-dejavu-core (Debian). Run:
    /usr/bin/python3 resources/pictures/make_pictures.py
Everything is drawn from code (no photographs); the output is the same on
every run.
"""

import math
import os
import random

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Oversampling factor: shapes are drawn large and scaled down, which gives
# smooth edges without an anti-aliasing renderer.
OVER = 4


def save(image, name):
    path = os.path.join(HERE, name)
    image.save(path, optimize=True)
    print("wrote", path, image.size)


# --- main window background -------------------------------------------------

PANEL = (198, 198, 198)
# Recessed panes as (left, top, right, bottom) pixel rectangles, bevel
# included. They frame the capture window (30, 28, 160 x 120), the score card
# (28, 172, 163 x 206), the "New Game" button (31, 402, 158 x 26) and the
# target picture (219, 28, 400 x 400).
PANES = [
    ((27, 24, 193, 151), (24, 24, 24)),
    ((25, 169, 193, 380), (80, 80, 80)),
    ((27, 398, 192, 431), (150, 150, 150)),
    ((215, 24, 622, 431), (96, 72, 48)),
]


def bevel(draw, box, width, dark, light):
    """A sunken frame: dark on top and left, light on bottom and right."""
    left, top, right, bottom = box
    for i in range(width):
        draw.line([(left + i, bottom - i), (left + i, top + i), (right - i, top + i)], fill=dark)
        draw.line([(left + i + 1, bottom - i), (right - i, bottom - i), (right - i, top + i + 1)],
                  fill=light)


def make_background():
    rng = random.Random(1158)
    image = Image.new("RGB", (650, 459), PANEL)
    pixels = image.load()
    # A faint brushed texture and a gentle top-to-bottom shade.
    for y in range(459):
        shade = int(6 - 12 * y / 458)
        for x in range(650):
            grain = rng.randint(-3, 3)
            r, g, b = PANEL
            v = shade + grain
            pixels[x, y] = (r + v, g + v, b + v)
    draw = ImageDraw.Draw(image)
    # Raised outer edge of the panel.
    bevel(draw, (0, 0, 649, 458), 2, (250, 250, 250), (120, 120, 120))
    draw.line([(0, 0), (649, 0)], fill=(250, 250, 250))
    for box, fill in PANES:
        left, top, right, bottom = box
        draw.rectangle([left + 3, top + 3, right - 3, bottom - 3], fill=fill)
        bevel(draw, box, 3, (110, 110, 110), (245, 245, 245))
        # A thin dark inner line makes the pane look deeper.
        draw.rectangle([left + 3, top + 3, right - 3, bottom - 3], outline=(64, 64, 64))
    # Four screw heads in the panel's corners.
    for cx, cy in ((10, 10), (639, 10), (10, 448), (639, 448)):
        draw.ellipse([cx - 4, cy - 4, cx + 4, cy + 4], fill=(170, 170, 170), outline=(110, 110, 110))
        draw.line([(cx - 3, cy + 3), (cx + 3, cy - 3)], fill=(110, 110, 110))
    save(image, "background.png")


# --- target -----------------------------------------------------------------

TARGET_SIZE = 400
RING_WIDTH = 20
RINGS = 10


def wood(size, seed):
    """A wood-grain ground: wavy rings of an off-centre log cut, with fine
    fibres."""
    rng = random.Random(seed)
    phases = [rng.uniform(0, 2 * math.pi) for _ in range(4)]
    image = Image.new("RGB", (size, size))
    pixels = image.load()
    cx, cy = -size * 0.9, size * 0.35
    for y in range(size):
        for x in range(size):
            dx, dy = (x - cx) * 0.25, (y - cy)
            distance = math.hypot(dx, dy)
            wobble = 6 * math.sin(y / 23 + phases[0]) + 3 * math.sin(x / 41 + phases[1])
            ring = 0.5 + 0.5 * math.sin((distance + wobble) / 3.2)
            fibre = 0.5 + 0.5 * math.sin(y * 1.7 + 4 * math.sin(x / 17 + phases[2]))
            t = 0.65 * ring ** 2.5 + 0.15 * fibre + rng.uniform(0, 0.08)
            pixels[x, y] = (int(176 - 70 * t), int(122 - 55 * t), int(70 - 38 * t))
    return image


def make_target():
    big = TARGET_SIZE * OVER
    image = wood(TARGET_SIZE, 7).resize((big, big), Image.BICUBIC)
    draw = ImageDraw.Draw(image)
    centre = big / 2
    line = 1.6 * OVER  # ring line width

    def circle(radius, **kwargs):
        draw.ellipse([centre - radius, centre - radius, centre + radius, centre + radius], **kwargs)

    outer = RINGS * RING_WIDTH * OVER
    circle(outer, fill=(255, 255, 255))
    # Ring lines centred on radii 20, 40, ..., 180; the outermost line lies
    # just inside radius 200 so the disc touches the picture's edges.
    for k in range(1, RINGS + 1):
        radius = k * RING_WIDTH * OVER
        reach = outer if k == RINGS else radius + line / 2
        circle(reach, outline=(0, 0, 0), width=int(round(line)))
    # Zone numbers on the four axes, in the middle of each ring; 10 in the
    # centre disc.
    font = ImageFont.truetype(BOLD_FONT, int(11 * OVER))
    for zone in range(1, RINGS):
        middle = (RINGS - zone + 0.5) * RING_WIDTH * OVER
        for ux, uy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            draw.text((centre + ux * middle, centre + uy * middle), str(zone), font=font,
                      fill=(0, 0, 0), anchor="mm")
    draw.text((centre, centre), "10", font=ImageFont.truetype(BOLD_FONT, int(10 * OVER)),
              fill=(0, 0, 0), anchor="mm")
    save(image.resize((TARGET_SIZE, TARGET_SIZE), Image.BOX), "target.png")


# --- pistol -----------------------------------------------------------------

# The pistol's outline in the about picture's pixels (225 x 132), muzzle to
# the right.
SLIDE = [(20, 22), (24, 16), (206, 16), (212, 20), (212, 46), (20, 46)]
FRAME = [(30, 46), (196, 46), (196, 58), (138, 58), (132, 62), (84, 62), (78, 58), (30, 58)]
GRIP = [(26, 52), (80, 52), (82, 62), (74, 122), (70, 126), (28, 126), (22, 120), (30, 66)]
GUARD_OUTER = [(82, 58), (136, 58), (136, 70), (126, 92), (118, 96), (90, 96), (82, 90)]
GUARD_INNER = [(90, 62), (128, 62), (128, 70), (120, 86), (114, 89), (92, 89), (90, 86)]
TRIGGER = [(104, 62), (110, 62), (108, 74), (104, 84), (100, 84), (104, 72)]
HAMMER = [(12, 20), (20, 14), (26, 18), (26, 30), (18, 30)]


def scaled(points, scale, dx=0.0, dy=0.0):
    return [(x * scale + dx, y * scale + dy) for x, y in points]


# Its greys, dark to light, and the outline's; packaging/make_icons.py
# draws the desktop icon from the same outline and greys.
DARK, MID, LIGHT, EDGE = (70, 72, 76), (128, 131, 136), (176, 179, 184), (30, 30, 32)


def draw_pistol(draw, scale, dx=0.0, dy=0.0, detail=True):
    dark, mid, light, edge = DARK, MID, LIGHT, EDGE
    width = max(1, int(round(1.2 * scale)))

    def poly(points, fill):
        draw.polygon(scaled(points, scale, dx, dy), fill=fill, outline=edge, width=width)

    poly(HAMMER, dark)
    poly(GRIP, dark)
    poly(FRAME, mid)
    poly(GUARD_OUTER, mid)
    poly(GUARD_INNER, (255, 255, 255, 0) if not detail else (255, 255, 255))
    poly(TRIGGER, dark)
    poly(SLIDE, light)
    if not detail:
        return
    # A highlight along the slide's top, serrations at its rear, the ejection
    # port, the muzzle and the grip's checkering.
    draw.line(scaled([(26, 20), (204, 20)], scale, dx, dy), fill=(222, 224, 228), width=width)
    for x in range(32, 62, 5):
        draw.line(scaled([(x, 24), (x, 42)], scale, dx, dy), fill=dark, width=width)
    draw.rectangle(scaled([(110, 24), (146, 34)], scale, dx, dy), fill=mid, outline=edge,
                   width=width)
    draw.ellipse(scaled([(205, 27), (211, 35)], scale, dx, dy), fill=edge)
    for i in range(0, 60, 6):
        draw.line(scaled([(34 + i * 0.2, 70 + i), (70 - i * 0.1, 70 + i)], scale, dx, dy),
                  fill=(96, 98, 102), width=width)
    draw.ellipse(scaled([(36, 50), (44, 56)], scale, dx, dy), fill=mid, outline=edge, width=width)


def make_about_pistol():
    size = (225 * OVER, 132 * OVER)
    image = Image.new("RGB", size, (255, 255, 255))
    draw_pistol(ImageDraw.Draw(image), OVER)
    save(image.resize((225, 132), Image.LANCZOS), "about_pistol.png")


def make_icon():
    big = 32 * 8
    image = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    scale = big / 225
    draw_pistol(ImageDraw.Draw(image), scale, 0, (big - 132 * scale) / 2 - 2 * scale * 2,
                detail=False)
    icon = image.resize((32, 32), Image.LANCZOS)
    save(icon, "icon.png")


# --- pointing hand cursor ---------------------------------------------------

# Filled parts of the hand as inclusive pixel rectangles; the black outline is
# every pixel next to them. The index finger's tip is at the hot spot (12, 9).
HAND = [
    (11, 9, 13, 20),  # index finger, pointing up
    (15, 14, 17, 20),  # middle finger
    (19, 15, 21, 20),  # ring finger
    (23, 16, 24, 21),  # little finger
    (6, 18, 9, 23),  # thumb
    (8, 21, 24, 26),  # palm
    (10, 28, 22, 30),  # cuff
]


def make_hand_cursor():
    filled = set()
    for left, top, right, bottom in HAND:
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                filled.add((x, y))
    image = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    pixels = image.load()
    for y in range(32):
        for x in range(32):
            if (x, y) in filled:
                pixels[x, y] = (255, 255, 255, 255)
            elif any((x + dx, y + dy) in filled for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                pixels[x, y] = (0, 0, 0, 255)
    save(image, "hand_cursor.png")


def main():
    make_background()
    make_target()
    make_about_pistol()
    make_icon()
    make_hand_cursor()


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Draws the help pages' pictures.

  setup.png     the camera, the target and the shooter, seen from the side
  settings.png  the settings dialog with its four sliders at the defaults
  circuit.png   battery, push switch, resistor and laser diode module
  target.png    the window's target picture at half size
  hit.png       a laser dot on the paper target and its hole in the window
  timed.png     a timed string on its time line: the random delay, the start
                beep, five shots with their time and splits, the par time and
                a late shot, and the score card that shows them

Needs: python3-pil, fonts-dejavu-core (Debian), and the target picture made
by resources/pictures/make_pictures.py. Run:
    /usr/bin/python3 resources/help/make_help_pictures.py
"""

import os

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
PICTURES = os.path.join(HERE, "..", "pictures")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
OVER = 3  # drawn large, scaled down for smooth edges


def font(size, bold=False):
    return ImageFont.truetype(BOLD_FONT if bold else FONT, int(size * OVER))


def canvas(width, height, colour=(255, 255, 255)):
    image = Image.new("RGB", (width * OVER, height * OVER), colour)
    return image, ImageDraw.Draw(image)


def save(image, name, size):
    path = os.path.join(HERE, name)
    # A palette of 256 colours keeps the help file small.
    image.resize(size, Image.LANCZOS).quantize(256).save(path, optimize=True)
    print("wrote", path, size)


def s(*values):
    """Scales coordinates to the oversampled canvas."""
    return [v * OVER for v in values]


def dashed(draw, start, end, fill, width, dash=6, gap=4):
    (x1, y1), (x2, y2) = start, end
    length = ((x2 - x1) ** 2 + (y2 - y1) ** 2) ** 0.5
    steps = int(length // (dash + gap)) + 1
    for i in range(steps):
        a = i * (dash + gap) / length
        b = min(1.0, (i * (dash + gap) + dash) / length)
        draw.line(s(x1 + (x2 - x1) * a, y1 + (y2 - y1) * a, x1 + (x2 - x1) * b,
                    y1 + (y2 - y1) * b), fill=fill, width=width * OVER)


def make_setup():
    image, draw = canvas(480, 230, (236, 236, 240))
    # Floor and wall.
    draw.rectangle(s(0, 200, 480, 230), fill=(180, 170, 150))
    draw.rectangle(s(440, 10, 452, 200), fill=(200, 200, 205))
    # Target on the wall: centre at height 100, 120 high.
    draw.rectangle(s(434, 40, 440, 160), fill=(255, 255, 255), outline=(0, 0, 0), width=OVER)
    draw.rectangle(s(434, 94, 440, 106), fill=(0, 0, 0))
    draw.text(s(400, 18), "target", font=font(11), fill=(0, 0, 0))
    # Camera on a tripod, lens at the target centre's height.
    draw.rectangle(s(240, 90, 268, 110), fill=(60, 60, 70))
    draw.rectangle(s(268, 95, 276, 105), fill=(30, 30, 30))
    for foot in (232, 254, 276):
        draw.line(s(254, 110, foot, 200), fill=(60, 60, 70), width=2 * OVER)
    draw.text(s(222, 62), "web camera", font=font(11), fill=(0, 0, 0))
    # The camera's view: the target fills the picture's height.
    dashed(draw, (276, 100), (434, 40), (40, 110, 200), 1)
    dashed(draw, (276, 100), (434, 160), (40, 110, 200), 1)
    dashed(draw, (276, 100), (434, 100), (40, 110, 200), 1, 2, 3)
    # Shooter with the gun.
    draw.ellipse(s(52, 40, 76, 64), fill=(90, 90, 100))
    draw.line(s(64, 64, 64, 140), fill=(90, 90, 100), width=5 * OVER)
    draw.line(s(64, 140, 50, 200), fill=(90, 90, 100), width=5 * OVER)
    draw.line(s(64, 140, 80, 200), fill=(90, 90, 100), width=5 * OVER)
    draw.line(s(64, 80, 110, 86), fill=(90, 90, 100), width=4 * OVER)
    draw.rectangle(s(106, 80, 124, 86), fill=(40, 40, 40))
    draw.text(s(36, 18), "shooter", font=font(11), fill=(0, 0, 0))
    # The laser's flash on the target.
    dashed(draw, (124, 83), (434, 70), (220, 0, 0), 1, 10, 6)
    draw.ellipse(s(431, 67, 437, 73), fill=(255, 0, 0))
    draw.text(s(240, 215), "Dim room. Target centre on the picture's centre; the target "
              "fills the picture's height.", font=font(10), fill=(0, 0, 0), anchor="mm")
    save(image, "setup.png", (480, 230))


SLIDERS = [
    ("Sample Every N-th Frame", 1, 50, 1),
    ("Compare Every N-th Byte", 1, 50, 1),
    ("Tolerance", 1, 255, 50),
    ("Maximal Laser Beam Diameter", 1, 100, 20),
]


def make_settings():
    face, dark, light = (240, 240, 240), (160, 160, 160), (255, 255, 255)
    image, draw = canvas(331, 270, face)
    draw.rectangle(s(4, 0, 327, 203), outline=dark, width=OVER)
    label_tops = [17, 66, 113, 161]
    slider_tops = [34, 82, 130, 178]
    for (caption, low, high, value), label_top, slider_top in zip(SLIDERS, label_tops, slider_tops):
        draw.text(s(165.5, label_top + 7), caption, font=font(10), fill=(0, 0, 0), anchor="mm")
        left, right = 20, 299
        middle = slider_top + 6
        draw.rectangle(s(left, middle - 2, right, middle + 2), fill=dark)
        x = left + (right - left) * (value - low) / (high - low)
        draw.rectangle(s(x - 5, middle - 8, x + 5, middle + 8), fill=(0, 120, 215))
    draw.rectangle(s(4, 210, 327, 266), outline=dark, width=OVER)
    for left, caption in ((24, "Default Settings"), (198, "Close")):
        draw.rectangle(s(left, 229, left + 97, 254), fill=(225, 225, 225), outline=dark,
                       width=OVER)
        draw.text(s(left + 48.5, 241.5), caption, font=font(10), fill=(0, 0, 0), anchor="mm")
    draw.line(s(0, 0, 331, 0), fill=light)
    save(image, "settings.png", (331, 270))


def make_circuit():
    image, draw = canvas(480, 260)
    ink = (0, 0, 0)
    w = 2 * OVER
    left, right, top, bottom = 70, 400, 50, 200

    def wire(*points):
        draw.line(s(*points), fill=ink, width=w)

    # Battery on the left side: long plate plus, short plate minus.
    wire(left, top, left, 105)
    wire(left, 145, left, bottom)
    for y, half in ((110, 22), (120, 11), (130, 22), (140, 11)):
        wire(left - half, y, left + half, y)
    draw.text(s(left - 40, 98), "+", font=font(14, True), fill=ink)
    draw.text(s(left - 18, 150), "Battery\n3 V", font=font(11), fill=ink, anchor="ra")
    # Push switch on the top wire: two contacts and a bridge pushed down.
    wire(left, top, 150, top)
    draw.ellipse(s(148, top - 4, 156, top + 4), outline=ink, width=w)
    draw.ellipse(s(194, top - 4, 202, top + 4), outline=ink, width=w)
    wire(146, top - 16, 204, top - 16)
    wire(175, top - 16, 175, top - 32)
    wire(165, top - 32, 185, top - 32)
    draw.text(s(175, top + 20), "Push switch\n(trigger)", font=font(11), fill=ink, anchor="mm")
    wire(202, top, 255, top)
    # Resistor as a box.
    draw.rectangle(s(255, top - 10, 315, top + 10), outline=ink, width=w)
    draw.text(s(285, top - 24), "Resistor 10-22 ohm", font=font(11), fill=ink, anchor="mm")
    wire(315, top, right, top)
    # Laser diode module on the right side: a diode with two arrows.
    wire(right, top, right, 105)
    draw.polygon(s(right - 18, 105, right + 18, 105, right, 135), outline=ink, width=w)
    wire(right - 18, 137, right + 18, 137)
    wire(right, 137, right, bottom)
    for dy in (0, 14):
        wire(right + 20, 112 + dy, right + 40, 100 + dy)
        draw.polygon(s(right + 40, 100 + dy, right + 31, 100 + dy, right + 37, 107 + dy), fill=ink)
    draw.text(s(right - 28, 160), "Laser diode\nmodule", font=font(11), fill=ink, anchor="ra")
    # Return wire.
    wire(left, bottom, right, bottom)
    draw.text(s(235, 225), "All four parts in one loop: the laser shines while the switch "
              "is pressed.", font=font(10), fill=ink, anchor="mm")
    save(image, "circuit.png", (480, 260))


def make_target_copy():
    target = Image.open(os.path.join(PICTURES, "target.png")).convert("RGB")
    path = os.path.join(HERE, "target.png")
    target.resize((200, 200), Image.LANCZOS).quantize(256).save(path, optimize=True)
    print("wrote", path)


def make_hit():
    """The hole lands where the dot hit: right of and above the centre on
    the paper is right of and above it in the window."""
    image, draw = canvas(480, 220)
    target = Image.open(os.path.join(PICTURES, "target.png")).convert("RGB")
    target = target.resize((160 * OVER, 160 * OVER), Image.LANCZOS)
    dx, dy = 36, -28  # the shot, from the centre
    for left, caption, dot in ((40, "The laser dot on the paper target", (255, 0, 0)),
                               (280, "The hole in Vantorel's window", (0, 0, 0))):
        image.paste(target, (left * OVER, 20 * OVER))
        cx, cy = left + 80 + dx, 100 + dy
        draw.ellipse(s(cx - 5, cy - 5, cx + 5, cy + 5), fill=dot)
        draw.text(s(left + 80, 200), caption, font=font(10), fill=(0, 0, 0), anchor="mm")
    draw.line(s(212, 100, 264, 100), fill=(0, 0, 0), width=2 * OVER)
    draw.polygon(s(268, 100, 258, 94, 258, 106), fill=(0, 0, 0))
    save(image, "hit.png", (480, 220))


TIMED_SHOTS = [1.42, 2.10, 2.75, 3.40, 4.25]  # seconds from the beep
TIMED_RESULTS = [9, 10, 8, 0, 10]
TIMED_PAR = 4.0


def make_timed():
    image, draw = canvas(560, 330)
    ink = (0, 0, 0)
    left, right, axis = 150, 540, 110  # the beep at left, 5 s at right
    per_second = (right - left) / 5.0

    def x_of(seconds):
        return left + seconds * per_second

    # The random delay before the beep.
    draw.rectangle(s(20, axis - 14, left - 8, axis + 14), fill=(250, 225, 170))
    draw.text(s((20 + left - 8) / 2, axis), "random delay", font=font(10), fill=ink,
              anchor="mm")
    draw.text(s(20, axis + 22), "New Game", font=font(10, True), fill=ink, anchor="la")
    # The time line, seconds from the beep.
    draw.line(s(left, axis, right, axis), fill=ink, width=2 * OVER)
    for second in range(6):
        x = x_of(second)
        draw.line(s(x, axis - 4, x, axis + 4), fill=ink, width=OVER)
        draw.text(s(x, axis + 8), f"{second} s", font=font(9), fill=(90, 90, 90), anchor="ma")
    # The beep.
    draw.polygon(s(left - 6, 38, left + 6, 30, left + 6, 62, left - 6, 54), fill=(40, 160, 60))
    draw.text(s(left, 20), "start beep", font=font(10, True), fill=(40, 120, 50), anchor="mm")
    draw.line(s(left, 66, left, axis), fill=(40, 160, 60), width=2 * OVER)
    # The par time.
    par = x_of(TIMED_PAR)
    dashed(draw, (par, 30), (par, axis + 40), (210, 30, 30), 2)
    draw.text(s(par, 20), "par beep, 4 s", font=font(10, True), fill=(210, 30, 30), anchor="mm")
    # The shots, their time and splits.
    previous = None
    for k, time in enumerate(TIMED_SHOTS):
        x = x_of(time)
        late = time > TIMED_PAR
        colour = (210, 30, 30) if late else (30, 60, 160)
        draw.ellipse(s(x - 6, axis - 6, x + 6, axis + 6), fill=colour)
        label = f"{time:.2f}" if previous is None else f"+{time - previous:.2f}"
        draw.text(s(x, axis - 12 - (k % 2) * 14), label, font=font(9), fill=colour, anchor="ms")
        previous = time
    draw.text(s(x_of(TIMED_SHOTS[0]), axis + 26), "time to the first shot", font=font(9),
              fill=(30, 60, 160), anchor="ma")
    draw.text(s(x_of(2.9), axis + 40), "splits", font=font(9), fill=(30, 60, 160), anchor="ma")
    # The score card that shows the string.
    card = ["Shot  1 Result Is  9  1.42s", "Shot  2 Result Is 10 +0.68s",
            "Shot  3 Result Is  8 +0.65s", "Shot  4 Result Is  0 +0.65s",
            "Shot  5 Result Is 10 +0.85s late",
            "Summary  37 From 50  Hits 4  4.25s  HF 8.71"]
    top = 185
    draw.rectangle(s(20, top, 400, top + 8 + 20 * len(card)), fill=(80, 80, 80))
    mono = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
                              int(11 * OVER))
    for row, line in enumerate(card):
        draw.text(s(28, top + 6 + 20 * row), line, font=mono, fill=(0, 255, 255))
    draw.text(s(412, top + 10), "The score card:\nthe first shot's\ntime, then each\n"
              "split; \"late\" after\nthe par time; the\nsummary with hits,\ntime and hit\n"
              "factor.", font=font(9), fill=ink)
    save(image, "timed.png", (560, 330))


def main():
    make_timed()
    make_setup()
    make_settings()
    make_circuit()
    make_target_copy()
    make_hit()


if __name__ == "__main__":
    main()

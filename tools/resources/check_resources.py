#!/usr/bin/python3
"""Checks the generated artwork in editor/resources/: sizes, PNG formats and the pixels that
the editor's fixed layout relies on.

    /usr/bin/python3 tools/resources/check_resources.py [--dir DIR] [--regenerate]

--regenerate also runs the generator into a temporary folder and expects the same bytes, which
catches a generator change that was not followed by a regeneration (and any nondeterminism).
Exits non-zero on the first run with any failed check.
"""

import argparse
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

from PIL import Image, ImageFont

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, str(Path(__file__).resolve().parent))
import generate_resources as gen  # noqa: E402

COLOUR_TYPE_PALETTE = 3
COLOUR_TYPE_RGBA = 6

# name: (width, height, colour type, has tRNS)
FORMATS = {
    "gear.png": (22, 22, COLOUR_TYPE_RGBA, False),
    "background.png": (443, 233, COLOUR_TYPE_PALETTE, False),
    "order_fuma.png": (69, 9, COLOUR_TYPE_RGBA, False),
    "order_ambix.png": (69, 9, COLOUR_TYPE_RGBA, False),
    "caption_ambix.png": (37, 14, COLOUR_TYPE_PALETTE, False),
    "caption_fuma.png": (37, 14, COLOUR_TYPE_PALETTE, True),
    "meter_gradient.png": (10, 143, COLOUR_TYPE_RGBA, False),
    "knob_filmstrip.png": (70, 8890, COLOUR_TYPE_RGBA, False),
}


class Checker:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def expect(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print(f"FAILED: {what}")


def png_chunks(path):
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path.name} is not a PNG file")
    chunks, pos = [], 8
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind = data[pos + 4 : pos + 8]
        body = data[pos + 8 : pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length : pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError(f"{path.name}: bad CRC in {kind!r}")
        chunks.append((kind, body))
        pos += 12 + length
    return chunks


def check_formats(c, folder):
    for name, (width, height, colour_type, has_trns) in FORMATS.items():
        chunks = png_chunks(folder / name)
        kinds = [k for k, _ in chunks]
        w, h, depth, ctype = struct.unpack(">IIBB", chunks[0][1][:10])
        c.expect(kinds[0] == b"IHDR" and (w, h) == (width, height),
                 f"{name}: {w} x {h}, expected {width} x {height}")
        c.expect(depth == 8 and ctype == colour_type,
                 f"{name}: depth {depth} colour type {ctype}, expected 8 / {colour_type}")
        c.expect((b"tRNS" in kinds) == has_trns, f"{name}: transparency chunk {b'tRNS' in kinds}")
        with Image.open(folder / name) as image:
            image.load()
            c.expect(image.size == (width, height), f"{name}: decodes to {image.size}")


def alpha_box(image, box=None):
    """Bounding box (x0, y0, x1, y1 inclusive) of the non-transparent pixels."""
    region = image.crop(box) if box else image
    bb = region.getchannel("A").getbbox()
    if bb is None:
        return None
    ox, oy = (box[0], box[1]) if box else (0, 0)
    return (bb[0] + ox, bb[1] + oy, bb[2] - 1 + ox, bb[3] - 1 + oy)


def ink_box(image, box, ground):
    """Bounding box (inclusive) of pixels in `box` that differ from the `ground` picture."""
    diff = [
        (x, y)
        for y in range(box[1], box[3])
        for x in range(box[0], box[2])
        if image.getpixel((x, y)) != ground.getpixel((x, y))
    ]
    if not diff:
        return None
    xs, ys = [p[0] for p in diff], [p[1] for p in diff]
    return (min(xs), min(ys), max(xs), max(ys))


def check_gear(c, folder):
    gear = Image.open(folder / "gear.png").convert("RGBA")
    alpha = gear.getchannel("A")
    c.expect(all(alpha.getpixel(p) == 0 for p in ((0, 0), (21, 0), (0, 21), (21, 21))),
             "gear: corners transparent")
    c.expect(all(alpha.getpixel(p) == 0 for p in ((10, 10), (11, 11), (10, 11), (11, 10))),
             "gear: hole transparent")
    teeth = [(10, 0), (21, 10), (10, 21), (0, 10)]
    c.expect(all(alpha.getpixel(p) > 128 for p in teeth), "gear: teeth reach the edges")
    c.expect(all(alpha.getpixel(p) == 255 for p in ((11, 5), (5, 11), (16, 11), (11, 16))),
             "gear: solid ring around the hole")
    c.expect(alpha_box(gear) == (0, 0, 21, 21), "gear: fills the square")
    opaque = [gear.getpixel((x, y))[:3] for y in range(22) for x in range(22)
              if alpha.getpixel((x, y)) == 255]
    c.expect(opaque and all(p == gen.GEAR_COLOUR for p in opaque), "gear: white 250,250,250")


def check_background(c, folder):
    bg = Image.open(folder / "background.png").convert("RGB")
    field = gen.draw_field()
    black = Image.new("RGB", bg.size, (0, 0, 0))

    # Header: logo, rule and title within their boxes, black elsewhere.
    c.expect(ink_box(bg, (0, 0, 96, 30), black) == (14, 12, 86, 19), "background: logo box")
    c.expect(ink_box(bg, (98, 0, 210, 30), black) == (108, 11, 200, 19), "background: title box")
    c.expect(all(bg.getpixel((97, y)) == gen.RULE_COLOUR for y in range(4, 25)),
             "background: rule at x 97, y 4-24")
    c.expect(ink_box(bg, (0, 0, 443, 30), black) == (14, 4, 200, 24),
             "background: nothing else in the header")
    c.expect(all(bg.getpixel(p) == (0, 0, 0) for p in ((5, 5), (300, 15), (442, 29))),
             "background: header is black")

    for side in gen.SIDES:
        label = "input" if side is gen.SIDES[0] else "output"
        # Meter places show only the field.
        for x0 in side["meters"]:
            box = (x0, gen.METER_TOP, x0 + gen.METER_WIDTH, gen.METER_BOTTOM + 1)
            c.expect(ink_box(bg, box, field) is None, f"background: {label} meter place x {x0}")
        # Scale marks, two rows per dB.
        for db in range(-60, 11, 2):
            row = 85 - 2 * db
            major = db % 10 == 0
            colour = gen.MAJOR_COLOUR if major else gen.MINOR_COLOUR
            for major_span, minor_span in side["marks"]:
                x0, x1 = major_span if major else minor_span
                c.expect(all(bg.getpixel((x, row)) == colour for x in range(x0, x1 + 1)),
                         f"background: {label} mark {db} dB at x {x0}-{x1}")
                c.expect(bg.getpixel((x1 + 1, row)) != colour,
                         f"background: {label} mark {db} dB ends at x {x1}")
            c.expect(all(bg.getpixel((x, row + 1)) not in (gen.MAJOR_COLOUR, gen.MINOR_COLOUR)
                         for span, _ in side["marks"] for x in range(span[0], span[1] + 1)),
                     f"background: {label} mark {db} dB is one row tall")
        # Bracket.
        left, right, up = side["bracket"]
        c.expect(all(bg.getpixel((x, 57)) == gen.BRACKET_COLOUR for x in range(left, right + 1)),
                 f"background: {label} bracket row 57")
        c.expect(all(bg.getpixel((x, y)) == gen.BRACKET_COLOUR
                     for x in (left, right) for y in range(58, 62)),
                 f"background: {label} bracket end ticks")
        c.expect(all(bg.getpixel((up, y)) == gen.BRACKET_COLOUR for y in range(54, 57))
                 and bg.getpixel((up, 53)) != gen.BRACKET_COLOUR,
                 f"background: {label} bracket upward tick")
        # Heading.
        text, x0, x1 = side["heading"]
        c.expect(ink_box(bg, (x0 - 4, 36, x1 + 4, 53), field) == (x0, 40, x1, 48),
                 f"background: heading {text}")

    # Labels, right-aligned and centred on their major marks.
    for db in range(10, -61, -10):
        row = 85 - 2 * db
        text = str(db)
        box = ink_box(bg, (0, row - 5, 36, row + 6), field)
        c.expect(box is not None and box[2] == 28 and box[1] == row - 3 and box[3] == row + 3,
                 f"background: input label {text} ends at x 28, rows {row - 3}-{row + 3}: {box}")
        start = {1: 422, 2: 417, 3: 413}[len(text)]
        box = ink_box(bg, (406, row - 5, 443, row + 6), field)
        c.expect(box == (start, row - 3, 426, row + 3),
                 f"background: output label {text} at x {start}-426: {box}")

    # Centre dots.
    for left, right, top, bottom in gen.DOTS:
        box = ink_box(bg, (left - 2, top - 2, right + 3, bottom + 3), field)
        c.expect(box == (left, top, right, bottom), f"background: dot at {left}, {top}: {box}")
        centre = ((left + right) // 2, (top + bottom) // 2)
        c.expect(bg.getpixel(centre) == gen.DOT_COLOUR, f"background: dot colour at {centre}")

    # The places of the direction images show only the field.
    for x, y, w, h in ((88, 38, 37, 14), (364, 38, 37, 14), (49, 212, 69, 9), (324, 212, 69, 9)):
        c.expect(ink_box(bg, (x, y, x + w, y + h), field) is None,
                 f"background: image place ({x}, {y}) is field only")

    # The field: near-black with olive regions around a black cross.
    c.expect(bg.getpixel((223, 127)) == gen.FIELD_COLOUR, "background: cross centre is black")
    for point in ((10, 120), (435, 120), (223, 40), (223, 220)):
        r, g, b = bg.getpixel(point)
        c.expect(5 <= r <= 24 and g < r and b < g, f"background: olive at {point}")
    for point in ((130, 40), (316, 40), (120, 220), (326, 220)):
        c.expect(bg.getpixel(point) == gen.FIELD_COLOUR, f"background: cross arm at {point}")


def check_order_strips(c, folder):
    fuma = Image.open(folder / "order_fuma.png").convert("RGBA")
    ambix = Image.open(folder / "order_ambix.png").convert("RGBA")
    for name, strip in (("order_fuma", fuma), ("order_ambix", ambix)):
        for x0, x1 in gen.ORDER_COLUMNS:
            c.expect(alpha_box(strip, (x0 - 1, 0, x1 + 2, 9)) == (x0, 0, x1, 8),
                     f"{name}: letter at columns {x0}-{x1}")
        gaps = [(0, 0), (12, 21), (29, 41), (49, 60), (68, 68)]
        c.expect(all(alpha_box(strip, (a, 0, b + 1, 9)) is None for a, b in gaps),
                 f"{name}: transparent between letters")
        opaque = [p[:3] for p in strip.getdata() if p[3] > 0]
        c.expect(all(p == gen.ORDER_COLOUR for p in opaque), f"{name}: letters in 254,254,254")
    # Same W, and X/Y/Z moved: W X Y Z against W Y Z X.
    cols = gen.ORDER_COLUMNS

    def letter(strip, i):
        return list(strip.crop((cols[i][0], 0, cols[i][1] + 1, 9)).getchannel("A").getdata())

    c.expect(letter(fuma, 0) == letter(ambix, 0), "order strips: W alike")
    c.expect(letter(fuma, 1) == letter(ambix, 3), "order strips: X moves to the end")
    c.expect(letter(fuma, 2) == letter(ambix, 1), "order strips: Y second in ambiX order")
    c.expect(letter(fuma, 3) == letter(ambix, 2), "order strips: Z third in ambiX order")
    c.expect(letter(fuma, 1) != letter(fuma, 2), "order strips: X and Y differ")


def check_captions(c, folder):
    ambix = Image.open(folder / "caption_ambix.png").convert("RGBA")
    fuma = Image.open(folder / "caption_fuma.png").convert("RGBA")
    white = Image.new("RGBA", (37, 14), (255, 255, 255, 255))
    c.expect(all(p[3] == 255 for p in ambix.getdata()), "caption_ambix: opaque")
    box = ink_box(ambix, (0, 0, 37, 14), white)
    c.expect(box is not None and box[1] == 2 and box[3] == 10 and box[0] >= 2 and box[2] <= 34,
             f"caption_ambix: letters on rows 2-10: {box}")
    c.expect(ambix.getpixel((0, 0)) == (255, 255, 255, 255), "caption_ambix: white box")
    c.expect(ink_box(fuma, (0, 0, 31, 14), white) == (3, 2, 28, 10),
             "caption_fuma: letters at columns 3-28, rows 2-10")
    c.expect(all(fuma.getpixel((x, y))[3] == 255 for x in range(31) for y in range(14)),
             "caption_fuma: box over columns 0-30 opaque")
    c.expect(all(fuma.getpixel((x, y))[3] == 0 for x in range(31, 37) for y in range(14)),
             "caption_fuma: columns 31-36 transparent")
    for name, image in (("caption_ambix", ambix), ("caption_fuma", fuma)):
        ink = [p for p in image.getdata() if p[3] == 255]
        c.expect(all(p[0] == p[1] == p[2] for p in ink), f"{name}: black and grey only")
        c.expect((0, 0, 0, 255) in ink, f"{name}: has solid black ink")


def check_gradient(c, folder):
    grad = Image.open(folder / "meter_gradient.png").convert("RGBA")
    rows = [grad.getpixel((0, y)) for y in range(143)]
    c.expect(all(grad.getpixel((x, y)) == rows[y] for y in range(143) for x in range(10)),
             "meter_gradient: all columns alike")
    c.expect(all(p[3] == 255 for p in rows), "meter_gradient: opaque")
    expected = {0: (255, 1, 1), 20: (255, 1, 1), 21: (254, 55, 22), 22: (253, 117, 46),
                37: (251, 255, 99), 110: (59, 240, 40), 142: (59, 240, 40)}
    for row, colour in expected.items():
        c.expect(rows[row][:3] == colour, f"meter_gradient: row {row} is {rows[row][:3]}")
    c.expect(all(rows[y][:3] == (255, 1, 1) for y in range(21)), "meter_gradient: red rows 0-20")
    c.expect(all(rows[y][:3] == (59, 240, 40) for y in range(110, 143)),
             "meter_gradient: green rows 110-142")
    # Orange to yellow rises evenly, yellow to green falls evenly (red channel as the witness).
    rising = [rows[y][1] for y in range(22, 38)]
    falling = [rows[y][0] for y in range(37, 111)]
    c.expect(rising == sorted(rising) and max(abs(b - a - 138 / 15) for a, b in
                                              zip(rising, rising[1:])) <= 1,
             "meter_gradient: even rise from orange to yellow")
    c.expect(falling == sorted(falling, reverse=True) and max(abs(a - b - 192 / 73) for a, b in
                                                              zip(falling, falling[1:])) <= 1,
             "meter_gradient: even fall from yellow to green")


def check_knob(c, folder):
    import math

    strip = Image.open(folder / "knob_filmstrip.png").convert("RGBA")
    c.expect(strip.size == (70, 127 * 70), "knob: 127 frames of 70 x 70")
    frames = [strip.crop((0, 70 * k, 70, 70 * k + 70)) for k in range(127)]
    t_colour = gen.ZERO_MARK_COLOUR + (255,)
    for k, frame in enumerate(frames):
        has_t = any(frame.getpixel((x, y)) == t_colour for x in range(70) for y in range(6))
        if has_t != (k == 63):
            c.expect(False, f"knob: T mark on frame {k}")
    c.expect(all(frames[63].getpixel((x, 1)) == t_colour for x in range(31, 39)),
             "knob: frame 63 T bar on row 1, columns 31-38")
    c.expect(all(frames[63].getpixel((x, y)) == t_colour for x in (34, 35) for y in (2, 3, 4)),
             "knob: frame 63 T stem on rows 2-4")
    c.expect(frames[63].getpixel((30, 1))[3] == 0 and frames[63].getpixel((39, 1))[3] == 0,
             "knob: T bar ends at columns 31 and 38")

    # The pointer: light-blue pixels between the centre and the rim circle.
    cx, cy = gen.KNOB_CENTRE
    worst = 0.0
    for k in range(0, 127, 7):
        sx = sy = total = 0.0
        for y in range(70):
            for x in range(70):
                r, g, b, a = frames[k].getpixel((x, y))
                radius = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if 15 < radius < 22 and b > 180 and b - r > 60:
                    sx += x + 0.5 - cx
                    sy += y + 0.5 - cy
                    total += 1
        angle = math.degrees(math.atan2(sx, -sy)) if total else float("nan")
        expected = -125 + k * 250 / 126
        worst = max(worst, abs(angle - expected)) if total else float("inf")
    c.expect(worst < 3.0, f"knob: pointer angles within 3 degrees (worst {worst:.2f})")

    first, last = frames[0], frames[126]
    c.expect(alpha_box(first, (0, 45, 13, 62)) is not None
             and alpha_box(first, (0, 45, 13, 62))[0] <= 5, "knob: minimum mark at the lower left")
    c.expect(alpha_box(last, (57, 49, 64, 55)) is not None, "knob: maximum mark at the lower right")
    corners = ((0, 0), (69, 0), (0, 69), (69, 69), (2, 30))
    c.expect(all(f.getpixel(p)[3] == 0 for f in (first, last) for p in corners),
             "knob: transparent around the disc")
    solid = first.getchannel("A").point(lambda v: 255 if v >= 128 else 0)
    disc = solid.crop((0, 5, 70, 50)).getbbox()
    c.expect(disc is not None and 5 <= disc[0] <= 7 and 62 <= disc[2] - 1 <= 64,
             f"knob: disc spans about columns 5-62: {disc}")
    c.expect(all(frames[k].getpixel((34, 40)) == frames[0].getpixel((34, 40)) for k in range(127)),
             "knob: face alike in every frame away from the pointer")


def check_font(c, folder):
    path = folder / "Roboto-Regular.ttf"
    data = path.read_bytes()
    c.expect(data[:4] == b"\x00\x01\x00\x00", "Roboto-Regular.ttf: TrueType sfnt 1.0")
    c.expect(data == gen.FONT_REGULAR.read_bytes(), "Roboto-Regular.ttf: copy of Debian's file")
    c.expect(ImageFont.truetype(str(path), 12).getname() == ("Roboto", "Regular"),
             "Roboto-Regular.ttf: family Roboto, style Regular")


def check_regenerated(c, folder):
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, str(Path(gen.__file__)), "--out", tmp], check=True,
                       stdout=subprocess.DEVNULL)
        for name in sorted(p.name for p in Path(tmp).iterdir()):
            c.expect((Path(tmp) / name).read_bytes() == (folder / name).read_bytes(),
                     f"{name}: regenerates to the same bytes")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dir", type=Path, default=gen.DEFAULT_OUT, help="resource folder")
    parser.add_argument("--regenerate", action="store_true",
                        help="also regenerate into a temporary folder and compare bytes")
    args = parser.parse_args()
    c = Checker()
    for check in (check_formats, check_gear, check_background, check_order_strips,
                  check_captions, check_gradient, check_knob, check_font):
        check(c, args.dir)
    if args.regenerate:
        check_regenerated(c, args.dir)
    print(f"resources: {c.passed} passed, {c.failed} failed")
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main())

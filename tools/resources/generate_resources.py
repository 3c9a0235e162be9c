#!/usr/bin/python3
"""Draws the plug-in's artwork into editor/resources/ and copies the typeface beside it.

Every picture is drawn from code, so the files can be rebuilt at any time:

    /usr/bin/python3 tools/resources/generate_resources.py [--out DIR]

Needs Debian's python3-pil and fonts-roboto-unhinted. The output is byte-for-byte the same on
every run: no randomness, no timestamps, fixed PNG settings.
"""

import argparse
import math
import shutil
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

REPO_ROOT = Path(__file__).resolve().parents[2]
DEFAULT_OUT = REPO_ROOT / "editor" / "resources"
ROBOTO_DIR = Path("/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF")
FONT_REGULAR = ROBOTO_DIR / "Roboto-Regular.ttf"
FONT_MEDIUM = ROBOTO_DIR / "Roboto-Medium.ttf"

# Glyphs are rasterised this large (pixels per em) and then boxed down, which gives clean
# antialiasing at the 7 to 9 pixel heights used here.
GLYPH_SIZE = 1024
# Inner letters of a word may move by up to this much to sharpen their stems; the penalty keeps
# them where they belong unless a move clearly helps.
SUBPIXEL_SHIFTS = tuple(i / 10 for i in range(-3, 4))
SHIFT_PENALTY = 0.8

PNG_OPTIONS = {"compress_level": 9}

# ---------------------------------------------------------------------------------------------
# Small drawing helpers
# ---------------------------------------------------------------------------------------------

_font_cache = {}
_glyph_cache = {}


def font(path):
    if path not in _font_cache:
        _font_cache[path] = ImageFont.truetype(str(path), GLYPH_SIZE)
    return _font_cache[path]


def glyph_ink(path, ch):
    """Returns (mask, left, top, right, bottom) of one glyph's ink, rasterised at GLYPH_SIZE.

    The edges are in pixels of that large rendering ("units" below): left/right from the
    glyph's origin, top/bottom upwards from the baseline."""
    key = (path, ch)
    if key not in _glyph_cache:
        f = font(path)
        margin = GLYPH_SIZE // 2
        canvas = Image.new("L", (3 * GLYPH_SIZE, 3 * GLYPH_SIZE), 0)
        ImageDraw.Draw(canvas).text((margin, 2 * GLYPH_SIZE), ch, font=f, fill=255, anchor="ls")
        box = canvas.getbbox()
        mask = canvas.crop(box)
        _glyph_cache[key] = (
            mask,
            box[0] - margin,
            2 * GLYPH_SIZE - box[1],
            box[2] - margin,
            2 * GLYPH_SIZE - box[3],
        )
    return _glyph_cache[key]


def glyph_mask(path, ch, width, height, split_row=None, split_units=None, offset=0.0):
    """A glyph's ink boxed down to `width` (may be fractional) by `height` pixels, starting
    `offset` (0 to 1) pixels into the first column of the returned mask.

    The ink above `split_units` (a height in units above the baseline) goes into the first `split_row` rows and
    the rest below: that snaps the x-height of lower-case letters to a pixel edge, so that it
    stays sharp and the dot of an i keeps its gap."""
    ink, _, top, _, _ = glyph_ink(path, ch)
    columns = max(1, math.ceil(offset + width - 1e-9))
    units_per_px = ink.width / width
    padded = Image.new("L", (round(columns * units_per_px), ink.height), 0)
    padded.paste(ink, (round(offset * units_per_px), 0))
    cut = None if split_units is None else top - split_units
    if cut is None or not (0 < cut < ink.height and 0 < split_row < height):
        return padded.resize((columns, height), Image.BOX)
    mask = Image.new("L", (columns, height), 0)
    upper = padded.crop((0, 0, padded.width, cut)).resize((columns, split_row), Image.BOX)
    lower = padded.crop((0, cut, padded.width, padded.height))
    mask.paste(upper, (0, 0))
    mask.paste(lower.resize((columns, height - split_row), Image.BOX), (0, split_row))
    return mask


def blur_of(mask):
    """How much of a mask is grey rather than clear ink or clear ground."""
    return sum(v * (255 - v) for v in mask.getdata())


def stamp(coverage, mask, x0, y0):
    region = (x0, y0, x0 + mask.width, y0 + mask.height)
    coverage.paste(ImageChops.lighter(coverage.crop(region), mask), region)


def fit_glyph(coverage, path, ch, x0, y0, x1, y1):
    """Draws a glyph so that its ink fills pixel columns x0..x1 and rows y0..y1 (inclusive)."""
    stamp(coverage, glyph_mask(path, ch, x1 - x0 + 1, y1 - y0 + 1), x0, y0)


def draw_word(coverage, path, text, left, right, baseline, px_per_unit, squeeze=1.0,
              snap_x_height=False):
    """Draws text whose ink spans columns left..right and ends on row `baseline`.

    `px_per_unit` sets the height, `squeeze` narrows the letters, and the letter spacing absorbs
    whatever width is left over, so the word lands exactly on its columns. Each glyph's top and
    bottom are snapped to whole rows (a simple form of hinting, which keeps letters crisp at
    these tiny sizes)."""
    f = font(path)
    sx = px_per_unit * squeeze
    inks = []
    for i, ch in enumerate(text):
        _, gl, gt, gr, gb = glyph_ink(path, ch)
        origin = f.getlength(text[:i])
        inks.append((ch, origin + gl, origin + gr, gt, gb))
    natural = (inks[-1][2] - inks[0][1]) * sx
    tracking = (right + 1 - left - natural) / max(len(text) - 1, 1)
    x_height = glyph_ink(path, "x")[2] if snap_x_height else None
    if x_height is not None:
        x_height_row = round(baseline + 1 - x_height * px_per_unit)
    for i, (ch, gl, gr, gt, gb) in enumerate(inks):
        start = left + (gl - inks[0][1]) * sx + i * tracking
        width = (gr - gl) * sx
        y0 = round(baseline + 1 - gt * px_per_unit)
        y1 = round(baseline + 1 - gb * px_per_unit)
        split = (None, None) if x_height is None else (x_height_row - y0, x_height)
        # Inner letters may move by a fraction of a pixel where that puts their stems on whole
        # columns; the first and last keep the word's outer edges on its columns.
        shifts = [0.0] if i in (0, len(inks) - 1) else SUBPIXEL_SHIFTS
        best = None
        for shift in shifts:
            x = start + shift
            column = math.floor(x + 1e-9)
            mask = glyph_mask(path, ch, width, y1 - y0, *split, offset=x - column)
            score = blur_of(mask) * (1.0 + SHIFT_PENALTY * abs(shift))
            if best is None or score < best[0]:
                best = (score, mask, column)
        stamp(coverage, best[1], best[2], y0)


def quantise(mask, levels):
    """Reduces a coverage mask to a few levels, which keeps the palette images small."""
    step = levels - 1
    return mask.point(lambda v: (v * step + 127) // 255 * 255 // step)


def paint(image, mask, colour):
    """Blends a flat colour into an RGB image through a coverage mask."""
    layer = Image.new(image.mode, image.size, colour)
    image.paste(Image.composite(layer, image, mask))


def supersampled_mask(size, factor, draw_fn):
    """Draws shapes at `factor` times the size and boxes them down to a coverage mask."""
    big = Image.new("L", (size[0] * factor, size[1] * factor), 0)
    draw_fn(ImageDraw.Draw(big), factor)
    return big.resize(size, Image.BOX)


def to_palette(image):
    """Converts an RGBA image with few colours to an 8-bit palette image without loss.

    Returns the palette image and the tRNS bytes (None when every colour is opaque)."""
    rgba = image.convert("RGBA")
    colours = sorted(
        {c for _, c in rgba.getcolors(maxcolors=rgba.width * rgba.height)},
        # Translucent entries first, so the transparency chunk stays short.
        key=lambda c: (c[3], sum(c[:3]), c),
    )
    if len(colours) > 256:
        raise ValueError(f"{len(colours)} colours do not fit a palette")
    index = {c: i for i, c in enumerate(colours)}
    out = Image.new("P", rgba.size)
    out.putpalette([v for c in colours for v in c[:3]])
    out.putdata([index[c] for c in rgba.getdata()])
    alphas = bytes(c[3] for c in colours if c[3] != 255)
    return out, (alphas if alphas else None)


def save_palette(image, path):
    pal, alphas = to_palette(image)
    options = dict(PNG_OPTIONS, bits=8)
    if alphas is not None:
        options["transparency"] = alphas
    pal.save(path, **options)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def unit_hash(*values):
    """Deterministic pseudo-random number in [0, 1) for integer coordinates."""
    h = 2166136261
    for v in values:
        h = ((h ^ (v & 0xFFFFFFFF)) * 16777619) & 0xFFFFFFFF
    h ^= h >> 15
    h = (h * 2246822519) & 0xFFFFFFFF
    h ^= h >> 13
    return h / 2**32


# ---------------------------------------------------------------------------------------------
# Gear button (22 x 22, RGBA)
# ---------------------------------------------------------------------------------------------

GEAR_SIZE = 22
GEAR_COLOUR = (250, 250, 250)
GEAR_TEETH = 8
GEAR_TIP_RADIUS = 10.95
GEAR_ROOT_RADIUS = 7.4
GEAR_TIP_HALF_ANGLE = 10.5  # degrees
GEAR_ROOT_HALF_ANGLE = 15.5
GEAR_HOLE_RADIUS = 3.3


def make_gear():
    centre = GEAR_SIZE / 2

    def draw(d, k):
        def polar(r, deg):
            a = math.radians(deg)
            return ((centre + r * math.sin(a)) * k, (centre - r * math.cos(a)) * k)

        pitch = 360 / GEAR_TEETH
        points = []
        for tooth in range(GEAR_TEETH):
            a = tooth * pitch
            points.append(polar(GEAR_ROOT_RADIUS, a - GEAR_ROOT_HALF_ANGLE))
            for step in range(9):
                t = -GEAR_TIP_HALF_ANGLE + step * GEAR_TIP_HALF_ANGLE / 4
                points.append(polar(GEAR_TIP_RADIUS, a + t))
            points.append(polar(GEAR_ROOT_RADIUS, a + GEAR_ROOT_HALF_ANGLE))
            gap = pitch - 2 * GEAR_ROOT_HALF_ANGLE
            for step in range(1, 4):
                points.append(polar(GEAR_ROOT_RADIUS, a + GEAR_ROOT_HALF_ANGLE + step * gap / 4))
        d.polygon(points, fill=255)
        r = GEAR_HOLE_RADIUS * k
        c = centre * k
        d.ellipse((c - r, c - r, c + r, c + r), fill=0)

    alpha = supersampled_mask((GEAR_SIZE, GEAR_SIZE), 16, draw)
    image = Image.new("RGBA", (GEAR_SIZE, GEAR_SIZE), GEAR_COLOUR + (0,))
    image.putalpha(alpha)
    return image


# ---------------------------------------------------------------------------------------------
# Window background (443 x 233, palette, opaque)
# ---------------------------------------------------------------------------------------------

BG_WIDTH, BG_HEIGHT = 443, 233
HEADER_ROWS = 30
FIELD_COLOUR = (1, 1, 1)
OLIVE_DARK = (7, 5, 2)
OLIVE_LIGHT = (22, 19, 4)
OLIVE_STRIPES = (1.0, 0.8, 0.6, 0.0)  # one diagonal period, averaging about RGB 16,13,3
PATTERN_TOP, PATTERN_BOTTOM = 34, 226
MIRROR_AXIS = 223  # the artwork is symmetric about this column (x -> 446 - x)
CROSS_CENTRE_ROW = 127
EDGE_BOW = 5.0  # how far the region edges bow into the regions, in pixels

LOGO_TEXT, LOGO_COLOUR, LOGO_BOX = "PLUMBROOK", (238, 232, 230), (14, 86, 12, 19)
RULE_COLOUR, RULE_X, RULE_ROWS = (130, 143, 136), 97, (4, 24)
TITLE_TEXT, TITLE_COLOUR, TITLE_BOX = "VERIDANE", (209, 223, 216), (108, 200, 11, 19)

HEADING_COLOUR = (236, 236, 236)
BRACKET_COLOUR = (106, 110, 114)
MAJOR_COLOUR = (255, 255, 255)
MINOR_COLOUR = (216, 216, 216)
LABEL_COLOUR = (212, 212, 212)
DOT_COLOUR = (74, 93, 112)

SCALE_ROW_0DB = 85
SCALE_TOP_DB, SCALE_BOTTOM_DB, SCALE_STEP_DB, SCALE_LABEL_STEP_DB = 10, -60, 2, 10
METER_TOP, METER_BOTTOM = 64, 206

BRACKET_ROW = 57
BRACKET_TICK_DOWN = 4
BRACKET_TICK_UP = 3
HEADING_ROWS = (40, 48)
HEADING_SQUEEZE = 0.9
# Per side: heading text and columns, bracket (left end, right end, upward tick), mark columns
# as (major span, minor span) pairs, meter places (left columns), and the labels' last column.
SIDES = (
    {
        "heading": ("INPUT", 51, 83),
        "bracket": (47, 120, 83),
        "marks": (((39, 46), (42, 46)), ((62, 66), (63, 65)), ((82, 85), (82, 84)),
                  ((101, 105), (102, 104)), ((121, 128), (121, 125))),
        "meters": (50, 69, 89, 108),
        "label_right": 28,
    },
    {
        "heading": ("OUTPUT", 317, 360),
        "bracket": (322, 395, 358),
        "marks": (((314, 321), (317, 321)), ((337, 341), (338, 340)), ((357, 360), (357, 359)),
                  ((376, 380), (377, 379)), ((396, 403), (396, 400))),
        "meters": (325, 345, 364, 383),
        "label_right": 426,
    },
)
METER_WIDTH = 10

# Labels: tabular digits 5 px wide with a 1 px gap (the narrow "1" sits at the right of its
# cell), a 2 px minus sign before them, 7 px tall and centred on their mark's row.
DIGIT_WIDTH, DIGIT_HEIGHT, DIGIT_PITCH = 5, 7, 6
ONE_WIDTH = 4
MINUS_WIDTH, MINUS_GAP = 2, 1

# Six dots forming a triangle that points right: (left, right, top, bottom).
DOTS = (
    (208, 217, 100, 109), (208, 217, 121, 131), (208, 217, 143, 152),
    (219, 227, 111, 120), (219, 227, 132, 141),
    (229, 238, 122, 130),
)

TEXT_LEVELS = 16


def scale_row(db):
    return SCALE_ROW_0DB - 2 * db


def _bezier(p0, p1, p2, steps=48):
    return [
        (
            (1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0],
            (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1],
        )
        for t in (i / steps for i in range(steps + 1))
    ]


def _bowed_edge(start, end, bulge):
    """A gently curved edge from start to end, bowed by `bulge` pixels to its right."""
    mx, my = (start[0] + end[0]) / 2, (start[1] + end[1]) / 2
    dx, dy = end[0] - start[0], end[1] - start[1]
    length = math.hypot(dx, dy)
    # Control point offset doubles the bulge, since a quadratic curve reaches half of it.
    control = (mx - dy / length * 2 * bulge, my + dx / length * 2 * bulge)
    return _bezier(start, control, end)


def _mirror(points):
    return [(2 * MIRROR_AXIS - x, y) for x, y in points]


def _region_polygons():
    """The four olive regions; their edges leave a black X-shaped cross."""
    tip_left = (187, CROSS_CENTRE_ROW)
    left = [(-1, PATTERN_TOP), (85, PATTERN_TOP)]
    left += _bowed_edge((85, PATTERN_TOP), tip_left, EDGE_BOW)[1:]
    left += _bowed_edge(tip_left, (66, PATTERN_BOTTOM), EDGE_BOW)[1:]
    left += [(-1, PATTERN_BOTTOM)]

    top = [(180, PATTERN_TOP)]
    top += _bowed_edge((180, PATTERN_TOP), (MIRROR_AXIS, 80), -EDGE_BOW)[1:]
    top += _bowed_edge((MIRROR_AXIS, 80), (266, PATTERN_TOP), -EDGE_BOW)[1:]

    bottom = [(165, PATTERN_BOTTOM)]
    bottom += _bowed_edge((165, PATTERN_BOTTOM), (MIRROR_AXIS, 175), EDGE_BOW)[1:]
    bottom += _bowed_edge((MIRROR_AXIS, 175), (281, PATTERN_BOTTOM), EDGE_BOW)[1:]

    return [left, _mirror(left), top, bottom]


def draw_field():
    """The dark field with its olive pattern, over the whole picture (header not yet drawn)."""
    image = Image.new("RGB", (BG_WIDTH, BG_HEIGHT), FIELD_COLOUR)
    regions = Image.new("L", image.size, 0)
    d = ImageDraw.Draw(regions)
    for polygon in _region_polygons():
        d.polygon([(x + 0.5, y + 0.5) for x, y in polygon], fill=255)
    stripe_colours = [lerp(OLIVE_DARK, OLIVE_LIGHT, t) for t in OLIVE_STRIPES]
    period = len(OLIVE_STRIPES)
    pixels = image.load()
    inside = regions.load()
    for y in range(HEADER_ROWS, BG_HEIGHT):
        for x in range(BG_WIDTH):
            if inside[x, y]:
                # Mirrored stripes keep the picture symmetric about the cross.
                u = x if x <= MIRROR_AXIS else 2 * MIRROR_AXIS - x
                pixels[x, y] = stripe_colours[(u + y) % period]
    return image


def _draw_scale(coverage_major, coverage_minor, side):
    d_major = ImageDraw.Draw(coverage_major)
    d_minor = ImageDraw.Draw(coverage_minor)
    for db in range(SCALE_BOTTOM_DB, SCALE_TOP_DB + 1, SCALE_STEP_DB):
        row = scale_row(db)
        major = db % SCALE_LABEL_STEP_DB == 0
        for major_span, minor_span in side["marks"]:
            x0, x1 = major_span if major else minor_span
            (d_major if major else d_minor).line((x0, row, x1, row), fill=255)


def _draw_labels(coverage, side):
    right = side["label_right"]
    for db in range(SCALE_TOP_DB, SCALE_BOTTOM_DB - 1, -SCALE_LABEL_STEP_DB):
        row = scale_row(db)
        top = row - DIGIT_HEIGHT // 2
        bottom = top + DIGIT_HEIGHT - 1
        cell_right = right
        for ch in reversed(str(abs(db))):
            width = ONE_WIDTH if ch == "1" else DIGIT_WIDTH
            fit_glyph(coverage, FONT_REGULAR, ch, cell_right - width + 1, top, cell_right, bottom)
            cell_right -= DIGIT_PITCH
        if db < 0:
            minus_right = cell_right + DIGIT_PITCH - DIGIT_WIDTH - MINUS_GAP
            ImageDraw.Draw(coverage).line((minus_right - MINUS_WIDTH + 1, row, minus_right, row),
                                          fill=255)


def _cap_scale(path, rows):
    """Pixels per unit that make capitals exactly `rows` tall."""
    return rows / glyph_ink(path, "H")[2]


def make_background():
    image = draw_field()
    size = image.size
    header = ImageDraw.Draw(image)
    header.rectangle((0, 0, BG_WIDTH - 1, HEADER_ROWS - 1), fill=(0, 0, 0))

    # Header: logo, rule, title.
    logo = Image.new("L", size, 0)
    x0, x1, y0, y1 = LOGO_BOX
    draw_word(logo, FONT_MEDIUM, LOGO_TEXT, x0, x1, y1, _cap_scale(FONT_MEDIUM, y1 - y0 + 1))
    paint(image, quantise(logo, TEXT_LEVELS), LOGO_COLOUR)
    header.line((RULE_X, RULE_ROWS[0], RULE_X, RULE_ROWS[1]), fill=RULE_COLOUR)
    title = Image.new("L", size, 0)
    x0, x1, y0, y1 = TITLE_BOX
    draw_word(title, FONT_REGULAR, TITLE_TEXT, x0, x1, y1, _cap_scale(FONT_REGULAR, y1 - y0 + 1))
    paint(image, quantise(title, TEXT_LEVELS), TITLE_COLOUR)

    headings = Image.new("L", size, 0)
    labels = Image.new("L", size, 0)
    major = Image.new("L", size, 0)
    minor = Image.new("L", size, 0)
    d = ImageDraw.Draw(image)
    heading_scale = _cap_scale(FONT_MEDIUM, HEADING_ROWS[1] - HEADING_ROWS[0] + 1)
    for side in SIDES:
        text, x0, x1 = side["heading"]
        draw_word(headings, FONT_MEDIUM, text, x0, x1, HEADING_ROWS[1], heading_scale,
                  HEADING_SQUEEZE)
        left, right, up = side["bracket"]
        d.line((left, BRACKET_ROW, right, BRACKET_ROW), fill=BRACKET_COLOUR)
        for x in (left, right):
            d.line((x, BRACKET_ROW + 1, x, BRACKET_ROW + BRACKET_TICK_DOWN), fill=BRACKET_COLOUR)
        d.line((up, BRACKET_ROW - BRACKET_TICK_UP, up, BRACKET_ROW - 1), fill=BRACKET_COLOUR)
        _draw_scale(major, minor, side)
        _draw_labels(labels, side)
    paint(image, quantise(headings, TEXT_LEVELS), HEADING_COLOUR)
    paint(image, quantise(labels, TEXT_LEVELS), LABEL_COLOUR)
    paint(image, minor, MINOR_COLOUR)
    paint(image, major, MAJOR_COLOUR)

    def draw_dots(dd, k):
        for left, right, top, bottom in DOTS:
            dd.ellipse((left * k, top * k, (right + 1) * k - 1, (bottom + 1) * k - 1), fill=255)

    paint(image, quantise(supersampled_mask(size, 8, draw_dots), TEXT_LEVELS), DOT_COLOUR)
    return image


# ---------------------------------------------------------------------------------------------
# Channel-order strips (69 x 9, RGBA) and direction captions (37 x 14, palette)
# ---------------------------------------------------------------------------------------------

ORDER_SIZE = (69, 9)
ORDER_COLOUR = (254, 254, 254)
ORDER_COLUMNS = ((1, 11), (22, 28), (42, 48), (61, 67))
ORDER_FUMA = "WXYZ"
ORDER_AMBIX = "WYZX"


def make_order_strip(letters):
    coverage = Image.new("L", ORDER_SIZE, 0)
    for ch, (x0, x1) in zip(letters, ORDER_COLUMNS):
        fit_glyph(coverage, FONT_MEDIUM, ch, x0, 0, x1, ORDER_SIZE[1] - 1)
    image = Image.new("RGBA", ORDER_SIZE, ORDER_COLOUR + (0,))
    image.putalpha(coverage)
    return image


CAPTION_SIZE = (37, 14)
CAPTION_TEXT_ROWS = (2, 10)
CAPTION_SQUEEZE = 0.92
CAPTION_LEVELS = 16
CAPTION_FONT = FONT_MEDIUM
CAPTION_AMBIX_COLUMNS = (3, 33)
CAPTION_FUMA_COLUMNS = (3, 28)
CAPTION_FUMA_BOX_RIGHT = 30


def _caption(text, columns, box_right):
    coverage = Image.new("L", CAPTION_SIZE, 0)
    # Ascenders of the lower-case letters fill the rows; capitals sit a hair lower, as in type.
    scale = (CAPTION_TEXT_ROWS[1] - CAPTION_TEXT_ROWS[0] + 1) / glyph_ink(CAPTION_FONT, "b")[2]
    draw_word(coverage, CAPTION_FONT, text, columns[0], columns[1], CAPTION_TEXT_ROWS[1], scale,
              CAPTION_SQUEEZE, snap_x_height=True)
    image = Image.new("RGBA", CAPTION_SIZE, (0, 0, 0, 0))
    ImageDraw.Draw(image).rectangle((0, 0, box_right, CAPTION_SIZE[1] - 1),
                                    fill=(255, 255, 255, 255))
    ink = Image.new("RGBA", CAPTION_SIZE, (0, 0, 0, 255))
    return Image.composite(ink, image, quantise(coverage, CAPTION_LEVELS))


def make_caption_ambix():
    return _caption("ambiX", CAPTION_AMBIX_COLUMNS, CAPTION_SIZE[0] - 1)


def make_caption_fuma():
    return _caption("FuMa", CAPTION_FUMA_COLUMNS, CAPTION_FUMA_BOX_RIGHT)


# ---------------------------------------------------------------------------------------------
# Meter gradient (10 x 143, RGBA, opaque)
# ---------------------------------------------------------------------------------------------

GRADIENT_SIZE = (10, 143)
GRADIENT_RED = (255, 1, 1)
GRADIENT_STEP = (254, 55, 22)
GRADIENT_ORANGE = (253, 117, 46)
GRADIENT_YELLOW = (251, 255, 99)
GRADIENT_GREEN = (59, 240, 40)
GRADIENT_STEP_ROW = 21
GRADIENT_ORANGE_ROW = 22
GRADIENT_YELLOW_ROW = 37
GRADIENT_GREEN_ROW = 110


def gradient_row_colour(row):
    if row < GRADIENT_STEP_ROW:
        return GRADIENT_RED
    if row == GRADIENT_STEP_ROW:
        return GRADIENT_STEP
    if row <= GRADIENT_YELLOW_ROW:
        t = (row - GRADIENT_ORANGE_ROW) / (GRADIENT_YELLOW_ROW - GRADIENT_ORANGE_ROW)
        return lerp(GRADIENT_ORANGE, GRADIENT_YELLOW, t)
    if row <= GRADIENT_GREEN_ROW:
        t = (row - GRADIENT_YELLOW_ROW) / (GRADIENT_GREEN_ROW - GRADIENT_YELLOW_ROW)
        return lerp(GRADIENT_YELLOW, GRADIENT_GREEN, t)
    return GRADIENT_GREEN


def make_meter_gradient():
    image = Image.new("RGBA", GRADIENT_SIZE)
    d = ImageDraw.Draw(image)
    for row in range(GRADIENT_SIZE[1]):
        d.line((0, row, GRADIENT_SIZE[0] - 1, row), fill=gradient_row_colour(row) + (255,))
    return image


# ---------------------------------------------------------------------------------------------
# Gain knob filmstrip (127 frames of 70 x 70, RGBA)
# ---------------------------------------------------------------------------------------------

KNOB_FRAME = 70
KNOB_FRAMES = 127
KNOB_CENTRE = (34.5, 32.5)  # continuous coordinates: (34.5, y) is the middle of column 34
KNOB_SWEEP = 125.0  # degrees either side of straight up
KNOB_RADIUS = 28.4  # outer edge of the dark ring
KNOB_FACE_RADIUS = 26.2  # the brushed face inside the ring
KNOB_RIM_RADIUS = 24.5
KNOB_POINTER_INNER = 13.5
KNOB_BLUE = (128, 200, 240)
KNOB_SHADOW_OFFSET = 2.0
KNOB_SHADOW_ALPHA = 0.75
KNOB_SHADOW_CUT = 24
MARK_COLOUR = (255, 255, 255)
# The end marks sit just beyond the pointer's end positions, on rays from the centre: a short
# stroke at the lower left for the minimum, a small dot at the lower right for the maximum.
MARK_ANGLE = 128.0
MIN_MARK_RADII = (30.0, 37.5)
MIN_MARK_WIDTH = 1.5
MAX_MARK_RADIUS = 32.5
MAX_MARK_RADII = (1.5, 1.1)
ZERO_MARK_FRAME = 63
ZERO_MARK_COLOUR = (186, 206, 70)
ZERO_MARK_BAR = (31, 38, 1)  # columns and row of the T's bar
ZERO_MARK_STEM = (34, 35, 2, 4)  # columns and rows of its stem
KNOB_SUPERSAMPLE = 8


def frame_angle(frame):
    """Pointer angle in degrees clockwise from straight up."""
    return -KNOB_SWEEP + frame * 2 * KNOB_SWEEP / (KNOB_FRAMES - 1)


def _disc_mask(radius, centre=KNOB_CENTRE):
    def draw(d, k):
        cx, cy = centre
        d.ellipse(((cx - radius) * k, (cy - radius) * k, (cx + radius) * k - 1,
                   (cy + radius) * k - 1), fill=255)

    return supersampled_mask((KNOB_FRAME, KNOB_FRAME), KNOB_SUPERSAMPLE, draw)


def _layer(colour_at, mask):
    layer = Image.new("RGBA", (KNOB_FRAME, KNOB_FRAME))
    pixels = layer.load()
    for y in range(KNOB_FRAME):
        for x in range(KNOB_FRAME):
            pixels[x, y] = colour_at(x + 0.5, y + 0.5) + (0,)
    layer.putalpha(mask)
    return layer


def _ring_colour(x, y):
    # Dark ring, catching a little light on its upper edge.
    dy = (y - KNOB_CENTRE[1]) / KNOB_RADIUS
    v = 30 + 34 * max(0.0, -dy) ** 1.5
    return (round(v), round(v + 1), round(v + 3))


def _face_colour(x, y):
    dx, dy = x - KNOB_CENTRE[0], y - KNOB_CENTRE[1]
    r = math.hypot(dx, dy)
    theta = math.atan2(dy, dx)
    v = 112.0 - 26.0 * dy / KNOB_FACE_RADIUS  # lit from above
    v += 30.0 * max(0.0, math.cos(2 * (theta + 0.6))) ** 4  # conical sheen of brushed metal
    v += 9.0 * (unit_hash(int(r * 2.0)) - 0.5)  # concentric brushing
    v += 5.0 * (unit_hash(int(r * 2.0), int((theta + math.pi) * 40)) - 0.5)  # grain
    v = min(max(v, 0.0), 255.0)
    return (round(v), round(v + 2), round(v + 5))


def _ring_mask(radius, width):
    outer = _disc_mask(radius + width / 2)
    inner = _disc_mask(radius - width / 2)
    return ImageChops.subtract(outer, inner)


def _line_mask(start, end, width):
    def draw(d, k):
        d.line((start[0] * k, start[1] * k, end[0] * k, end[1] * k), fill=255,
               width=round(width * k))

    return supersampled_mask((KNOB_FRAME, KNOB_FRAME), KNOB_SUPERSAMPLE, draw)


def _flat(colour, mask, opacity=1.0):
    layer = Image.new("RGBA", (KNOB_FRAME, KNOB_FRAME), colour + (0,))
    if opacity != 1.0:
        mask = mask.point(lambda v: round(v * opacity))
    layer.putalpha(mask)
    return layer


def _on_ray(degrees, radius):
    """The point at `radius` from the knob's centre, `degrees` clockwise from straight up."""
    a = math.radians(degrees)
    return (KNOB_CENTRE[0] + radius * math.sin(a), KNOB_CENTRE[1] - radius * math.cos(a))


def knob_base():
    """Everything that every frame shares: shadow, ring, face, rim circle and end marks."""
    frame = Image.new("RGBA", (KNOB_FRAME, KNOB_FRAME), (0, 0, 0, 0))
    shadow_centre = (KNOB_CENTRE[0], KNOB_CENTRE[1] + KNOB_SHADOW_OFFSET)
    shadow = _disc_mask(KNOB_RADIUS, shadow_centre).filter(ImageFilter.GaussianBlur(1.6))
    # Cut the blur's faint tails, so that the frame is clear away from the knob.
    shadow = shadow.point(lambda v: v if v >= KNOB_SHADOW_CUT else 0)
    frame = Image.alpha_composite(frame, _flat((0, 0, 0), shadow, KNOB_SHADOW_ALPHA))
    frame = Image.alpha_composite(frame, _layer(_ring_colour, _disc_mask(KNOB_RADIUS)))
    frame = Image.alpha_composite(frame, _layer(_face_colour, _disc_mask(KNOB_FACE_RADIUS)))
    frame = Image.alpha_composite(frame, _flat(KNOB_BLUE, _ring_mask(KNOB_RIM_RADIUS, 1.0), 0.9))
    stroke = [_on_ray(-MARK_ANGLE, r) for r in MIN_MARK_RADII]
    frame = Image.alpha_composite(frame, _flat(MARK_COLOUR, _line_mask(*stroke, MIN_MARK_WIDTH)))
    cx, cy = _on_ray(MARK_ANGLE, MAX_MARK_RADIUS)
    rx, ry = MAX_MARK_RADII

    def draw_dot(d, k):
        d.ellipse(((cx - rx) * k, (cy - ry) * k, (cx + rx) * k - 1, (cy + ry) * k - 1), fill=255)

    dot = supersampled_mask((KNOB_FRAME, KNOB_FRAME), KNOB_SUPERSAMPLE, draw_dot)
    return Image.alpha_composite(frame, _flat(MARK_COLOUR, dot))


def knob_frame(base, index):
    angle = frame_angle(index)
    pointer = (_on_ray(angle, KNOB_RIM_RADIUS), _on_ray(angle, KNOB_POINTER_INNER))
    frame = Image.alpha_composite(base, _flat(KNOB_BLUE, _line_mask(*pointer, 1.0)))
    if index == ZERO_MARK_FRAME:
        d = ImageDraw.Draw(frame)
        x0, x1, row = ZERO_MARK_BAR
        d.rectangle((x0, row, x1, row), fill=ZERO_MARK_COLOUR + (255,))
        sx0, sx1, sy0, sy1 = ZERO_MARK_STEM
        d.rectangle((sx0, sy0, sx1, sy1), fill=ZERO_MARK_COLOUR + (255,))
    return frame


def make_knob_filmstrip():
    base = knob_base()
    strip = Image.new("RGBA", (KNOB_FRAME, KNOB_FRAME * KNOB_FRAMES), (0, 0, 0, 0))
    for index in range(KNOB_FRAMES):
        strip.paste(knob_frame(base, index), (0, index * KNOB_FRAME))
    return strip


# ---------------------------------------------------------------------------------------------

README = """\
# Plug-in artwork and typeface

Everything in this folder, this file included, is written by
`tools/resources/generate_resources.py`: change the generator, not the files. To rebuild them
(needs Debian's `python3-pil` and `fonts-roboto-unhinted`), run from the repository root:

    /usr/bin/python3 tools/resources/generate_resources.py
    /usr/bin/python3 tools/resources/check_resources.py

The generator is deterministic: the same packages give the same bytes. The build embeds the
files with their sizes taken at build time.

- `gear.png`, 22 x 22, RGBA: the white eight-toothed gear of the options button.
- `background.png`, 443 x 233, 8-bit palette, opaque: the whole window face. The header with
  the maker's logo and the title; the dark field with four olive regions around a black cross;
  the input and output scales (marks every 2 dB from +10 to -60 dB, labels, brackets,
  headings); the six dots in the centre. The meter places and the places of the direction
  images are left as field.
- `order_fuma.png` and `order_ambix.png`, 69 x 9, RGBA: the channel orders W X Y Z and
  W Y Z X in white, one letter under each meter.
- `caption_ambix.png`, 37 x 14, 8-bit palette, opaque: "ambiX" in black on white.
- `caption_fuma.png`, 37 x 14, 8-bit palette with transparency: "FuMa" in black on a white box
  over columns 0-30; columns 31-36 are transparent.
- `meter_gradient.png`, 10 x 143, RGBA, opaque: the level meter's colour ramp, red at the top
  through yellow to green at the bottom.
- `knob_filmstrip.png`, 70 x 8890, RGBA: 127 frames of 70 x 70 of the gain knob, from the
  minimum (top frame) to the maximum; frame 63, the 0 dB position, carries a T mark.
- `Roboto-Regular.ttf`: the typeface, copied unchanged from Debian's `fonts-roboto-unhinted`.

The texts in the pictures are drawn with Roboto (Regular and Medium). Roboto is Copyright 2015
Google Inc. and licensed under the Apache License, Version 2.0; on Debian see
/usr/share/doc/fonts-roboto-unhinted/copyright and /usr/share/common-licenses/Apache-2.0.
"""

IMAGES = (
    ("gear.png", make_gear, "rgba"),
    ("background.png", make_background, "palette"),
    ("order_fuma.png", lambda: make_order_strip(ORDER_FUMA), "rgba"),
    ("order_ambix.png", lambda: make_order_strip(ORDER_AMBIX), "rgba"),
    ("caption_ambix.png", make_caption_ambix, "palette"),
    ("caption_fuma.png", make_caption_fuma, "palette"),
    ("meter_gradient.png", make_meter_gradient, "rgba"),
    ("knob_filmstrip.png", make_knob_filmstrip, "rgba"),
)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=DEFAULT_OUT, help="output folder")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    for name, make, kind in IMAGES:
        image = make()
        path = args.out / name
        if kind == "palette":
            save_palette(image, path)
        else:
            image.save(path, **PNG_OPTIONS)
        print(f"wrote {path}")
    shutil.copyfile(FONT_REGULAR, args.out / "Roboto-Regular.ttf")
    (args.out / "README.md").write_text(README)
    print(f"wrote {args.out / 'Roboto-Regular.ttf'} and README.md")


if __name__ == "__main__":
    main()

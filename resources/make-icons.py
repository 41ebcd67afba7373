#!/usr/bin/env python3
"""Draw Vellicor's icons from geometry and write them as classic ICO files.

Run from anywhere: python3 resources/make-icons.py
Writes vellicor.ico and about.ico next to this script.  Standard library
only, and the output is byte-for-byte reproducible, so the icons can be
regenerated instead of edited by hand.
"""

import math
import os
import struct

# The standard Windows 16-colour palette, so the icons look the same on any
# display depth and every colour the drawings need (red, dark red, white,
# dark green, black) is a palette entry rather than a dithered mix.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, DARK_GREEN, SILVER, GREY, RED, WHITE = 0, 1, 2, 7, 8, 9, 15
MONO = [(0, 0, 0), (255, 255, 255)]


# --- geometry ---------------------------------------------------------------

def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def triangle_dist(px, py, tri):
    """0 inside the triangle, else distance to it; offsetting this distance
    by a radius gives a triangle with evenly rounded corners."""
    (ax, ay), (bx, by), (cx, cy) = tri
    def side(x0, y0, x1, y1):
        return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0)
    s1, s2, s3 = side(ax, ay, bx, by), side(bx, by, cx, cy), side(cx, cy, ax, ay)
    if (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0):
        return 0.0
    return min(seg_dist(px, py, ax, ay, bx, by),
               seg_dist(px, py, bx, by, cx, cy),
               seg_dist(px, py, cx, cy, ax, ay))


def arc_dist(px, py, cx, cy, r, a0, a1):
    """Distance to a circular arc swept clockwise on screen (y down) from
    angle a0 to a1, in degrees measured with y pointing down."""
    ang = math.degrees(math.atan2(py - cy, px - cx))
    sweep = (a1 - a0) % 360
    if (ang - a0) % 360 <= sweep:
        return abs(math.hypot(px - cx, py - cy) - r)
    ends = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
            for a in (a0, a1)]
    return min(math.hypot(px - x, py - y) for x, y in ends)


def in_dot(px, py, cx, cy, half):
    """A square dot with softened corners: at these sizes a round dot only
    cuts its corner pixels off and turns into a plus sign."""
    dx, dy = abs(px - cx) - (half - 0.8), abs(py - cy) - (half - 0.8)
    return math.hypot(max(dx, 0.0), max(dy, 0.0)) <= 0.8


def arc_point(cx, cy, r, a):
    return cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a))


# --- rasterising ------------------------------------------------------------

SS = 8  # subsamples per pixel side: enough to place edges to 1/8 pixel


def rasterise(size, classify, order, cutoff=0.5):
    """Supersample classify(x, y) -> layer name (or None for outside) and
    give each pixel a single layer: transparent if mostly outside, else the
    layer covering most of it.  Picking one layer instead of averaging
    colours keeps a 16-colour icon crisp; `order` breaks ties so thin
    strokes win over the area behind them."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            counts = {}
            for sy in range(SS):
                for sx in range(SS):
                    k = classify(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS)
                    counts[k] = counts.get(k, 0) + 1
            inside = SS * SS - counts.get(None, 0)
            if inside < cutoff * SS * SS:
                row.append(None)
                continue
            best = max((k for k in counts if k is not None),
                       key=lambda k: (counts[k], -order.index(k)))
            row.append(best)
        rows.append(row)
    return rows


def colourise(layers, colours):
    return [[None if k is None else colours[k] for k in row] for row in layers]


def parse_art(art, key):
    """Pixel art for the 16 x 16 sizes, where each pixel is a decision."""
    return [[key[ch] for ch in line] for line in art.strip().split("\n")]


# --- the warning triangle ---------------------------------------------------

def warning(size):
    """The triangle drawn on a 32-unit grid, rasterised at any size."""
    r, w = 3.4, 2.1  # corner rounding; outline width
    tri = ((16.0, 0.8 + r), (0.2 + r, 30.6 - r), (31.8 - r, 30.6 - r))

    def classify(x, y):
        d = triangle_dist(x, y, tri)
        if d > r:
            return None
        # Tapered bar: wide at the top, narrower at the foot, round top.
        top, foot = 10.0, 21.0
        if top <= y <= foot:
            t = (y - top) / (foot - top)
            if abs(x - 16.0) <= 2.1 - 0.8 * t:
                return "mark"
        if math.hypot(x - 16.0, y - top) <= 2.1:
            return "mark"
        if in_dot(x, y, 16.0, 25.0, 2.0):
            return "mark"
        return "edge" if d > r - w else "fill"

    scale = 32 / size
    layers = rasterise(size, lambda x, y: classify(x * scale, y * scale),
                       ["mark", "edge", "fill"])
    return colourise(layers, {"mark": WHITE, "edge": DARK_RED, "fill": RED})


# At 16 x 16 a scaled-down drawing smears the bar and dot into the outline,
# so the small size is drawn pixel by pixel: 2-pixel bar, 2 x 2 dot, a clear
# red gap around both, and clipped base corners like the rounded 32 x 32.
WARNING_16 = """
.......oo.......
......orro......
......orro......
.....orrrro.....
.....orwwro.....
....orrwwrro....
....orrwwrro....
...orrrwwrrro...
...orrrwwrrro...
..orrrrwwrrrro..
..orrrrrrrrrro..
.orrrrrwwrrrrro.
.orrrrrwwrrrrro.
orrrrrrrrrrrrrro
.oooooooooooooo.
................
"""


def warning_16():
    return parse_art(WARNING_16, {".": None, "o": DARK_RED, "r": RED, "w": WHITE})


# --- the question mark ------------------------------------------------------

def question_classify(x, y):
    cx, cy, R, ring = 16.0, 16.0, 15.3, 1.3
    dd = math.hypot(x - cx, y - cy)
    if dd > R:
        return None
    # Hook: an arc over the top, then a short straight into the stem so the
    # glyph keeps the familiar swan-neck shape.
    hw = 1.9  # half stroke width
    hx, hy, hr = 16.0, 10.8, 5.3
    a0, a1 = 170.0, 50.0
    ex, ey = arc_point(hx, hy, hr, a1)
    if (arc_dist(x, y, hx, hy, hr, a0, a1) <= hw
            or seg_dist(x, y, ex, ey, 16.0, 17.4) <= hw
            or seg_dist(x, y, 16.0, 17.4, 16.0, 19.4) <= hw
            or in_dot(x, y, 16.0, 25.0, 2.0)):
        return "mark"
    return "ring" if dd > R - ring else "disc"


def question_layers(size=32):
    scale = 32 / size
    return rasterise(size, lambda x, y: question_classify(x * scale, y * scale),
                     ["mark", "ring", "disc"])


# --- ICO writing ------------------------------------------------------------

def dib(pixels, palette, bpp):
    """One ICO image: BITMAPINFOHEADER (height doubled to cover the AND mask),
    palette, XOR bitmap and AND mask, both bottom-up with rows padded to 4
    bytes.  Transparent pixels are index 0 (black) in the XOR bitmap with the
    AND bit set, so the screen shows through unchanged."""
    h = len(pixels)
    w = len(pixels[0])

    def packed_row(values, bits):
        out = bytearray()
        for i in range(0, w, 8 // bits):
            b = 0
            for j, v in enumerate(values[i:i + 8 // bits]):
                b |= v << (8 - bits * (j + 1))
            out.append(b)
        out.extend(b"\0" * (-len(out) % 4))
        return bytes(out)

    xor = b"".join(packed_row([0 if p is None else p for p in row], bpp)
                   for row in reversed(pixels))
    andm = b"".join(packed_row([1 if p is None else 0 for p in row], 1)
                    for row in reversed(pixels))
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0,
                         len(xor) + len(andm), 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in
                   (c[:3] for c in palette))
    return header + pal + xor + andm


def write_ico(path, images):
    """images: list of (pixels, palette, bpp)."""
    blobs = [dib(p, pal, bpp) for p, pal, bpp in images]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for (pixels, pal, bpp), blob in zip(images, blobs):
        w, h = len(pixels[0]), len(pixels)
        out += struct.pack("<BBBBHHII", w % 256, h % 256, len(pal) % 256, 0,
                           1, bpp, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))

    # Larger images for higher densities: the title bar at 150 % and 200 % and the
    # About window's picture box, which holds 32, 48 and 64 pixels at 96, 144 and 192 DPI.
    # No 24 x 24: on that grid the bar and the dot fall between pixels and the dot turns
    # into a plus sign; the system scales the 32 x 32 image down instead.
    write_ico(os.path.join(here, "vellicor.ico"), [
        (warning(32), VGA, 4),
        (warning_16(), VGA, 4),
        (warning(48), VGA, 4),
        (warning(64), VGA, 4),
    ])

    red_on_white = {"mark": RED, "ring": GREY, "disc": WHITE}
    q = question_layers()
    write_ico(os.path.join(here, "about.ico"), [
        (colourise(q, red_on_white), VGA, 4),
        (colourise(q, {"mark": 0, "ring": 0, "disc": 1}), MONO, 1),
        (colourise(q, {"mark": WHITE, "ring": BLACK, "disc": DARK_GREEN}), VGA, 4),
    ] + [(colourise(question_layers(size), red_on_white), VGA, 4) for size in (48, 64)])


if __name__ == "__main__":
    main()

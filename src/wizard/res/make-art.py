#!/usr/bin/env python3
"""Draws the wizard's pictures: the step picture (150 x 245, 24-bit BMP),
the program icon (16, 32 and 48 pixels) and the printer glyph (16 pixels).

The outputs are committed beside this script; run it again after changing
a drawing:  python3 make-art.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(x, y, t) for x, y in zip(c1, c2))


def over(dst, src, alpha):
    """Composites colour src with coverage alpha over dst (RGB tuples)."""
    return mix(dst, src, max(0.0, min(1.0, alpha)))


def coverage(inside, x, y, n=4):
    """Fraction of pixel (x, y) covered by the shape, by n x n supersampling."""
    hits = 0
    for i in range(n):
        for j in range(n):
            if inside(x + (i + 0.5) / n, y + (j + 0.5) / n):
                hits += 1
    return hits / (n * n)


# ---- shapes ----------------------------------------------------------------

def ring(cx, cy, r_out, r_in):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        return r_in <= d <= r_out
    return inside


def capsule(x0, y0, x1, y1, half):
    """A thick line segment with round ends."""
    def inside(x, y):
        vx, vy = x1 - x0, y1 - y0
        t = ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)
        t = max(0.0, min(1.0, t))
        return math.hypot(x - (x0 + t * vx), y - (y0 + t * vy)) <= half
    return inside


def polygon(points):
    def inside(x, y):
        c = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y):
                if x < (xb - xa) * (y - ya) / (yb - ya) + xa:
                    c = not c
        return c
    return inside


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return math.hypot(x - cx, y - cy) <= r
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def mark(cx, cy, s):
    """The maker's mark: a ring with a tail, the tail turned into an arrow
    pointing up and to the right (an update)."""
    return union(
        ring(cx, cy, 1.00 * s, 0.72 * s),
        capsule(cx + 0.35 * s, cy + 0.35 * s, cx + 0.95 * s, cy - 0.25 * s, 0.14 * s),
        polygon([(cx + 1.25 * s, cy - 0.55 * s), (cx + 0.62 * s, cy - 0.42 * s),
                 (cx + 1.12 * s, cy + 0.08 * s)]),
    )


# ---- files -----------------------------------------------------------------

def write_bmp24(path, w, h, pixel):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):          # bottom-up rows
        line = bytearray()
        for x in range(w):
            r, g, b = (int(round(c)) for c in pixel(x, y))
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 4724, 4724, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def dib32(w, pixel):
    """An icon image: 32-bit BGRA DIB (double height) plus an AND mask."""
    h = w
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = (int(round(c)) for c in pixel(x, y))
            xor += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4
    andmask = bytes(mask_row * h)
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return info + bytes(xor) + andmask


def write_ico(path, images):
    count = len(images)
    head = struct.pack('<HHH', 0, 1, count)
    offset = 6 + 16 * count
    entries, blobs = b'', b''
    for w, blob in images:
        entries += struct.pack('<BBBBHHII', w % 256, w % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    with open(path, 'wb') as f:
        f.write(head + entries + blobs)


# ---- drawings --------------------------------------------------------------

TOP = (58, 110, 165)       # light steel blue
BOTTOM = (27, 58, 92)      # deep blue; the bottom-left pixel colours the panel
WHITE = (255, 255, 255)
AMBER = (244, 176, 60)


def step_picture(x, y):
    w, h = 150, 245
    # Light in the middle, fading to the panel's deep blue at every edge, so
    # that the picture blends into the image column whatever its size.
    fy = math.sin(math.pi * y / (h - 1)) ** 0.8
    fx = min(1.0, x / 14.0, (w - 1 - x) / 14.0)
    c = mix(BOTTOM, TOP, fy * fx)
    # soft light from the upper left
    glow = max(0.0, 1.0 - math.hypot(x - 40, y - 60) / 150)
    c = over(c, (120, 170, 220), 0.30 * glow * fx * fy)
    # the mark, in white, a third of the way down
    c = over(c, WHITE, 0.95 * coverage(mark(66, 82, 34), x, y))
    # three rising steps in amber: the wizard's pages
    for i, top in enumerate((178, 163, 148)):
        x0 = 30 + i * 32
        step = rounded_rect(x0, top, x0 + 26, 214, 3)
        c = over(c, AMBER, (0.55 + 0.2 * i) * coverage(step, x, y))
    if 222 <= y <= 223 and 20 <= x <= 130:
        c = over(c, WHITE, 0.35)
    return c


def icon_pixel(size):
    s = size / 32.0
    tile = rounded_rect(1 * s, 1 * s, 31 * s, 31 * s, 6 * s)
    sign = mark(14.5 * s, 17 * s, 8.5 * s)

    def pixel(x, y):
        a = coverage(tile, x, y)
        if a == 0:
            return (0, 0, 0, 0)
        c = mix(TOP, BOTTOM, y / size)
        c = over(c, WHITE, coverage(sign, x, y))
        return (*c, 255 * a)
    return pixel


def printer_pixel(x, y):
    body = rounded_rect(1, 6, 15, 12, 1.5)
    paper_in = polygon([(4, 1), (12, 1), (12, 6), (4, 6)])
    paper_out = polygon([(4, 10), (12, 10), (12, 15), (4, 15)])
    grey = (96, 96, 96)
    a_body = coverage(body, x, y)
    a_in = coverage(paper_in, x, y)
    a_out = coverage(paper_out, x, y)
    c, a = (0, 0, 0), 0.0
    if a_in:
        c, a = over((255, 255, 255), grey, 0.0), a_in
        if x in (4, 11) or y == 1:
            c = grey
    if a_body:
        c, a = over(c, grey, a_body), max(a, a_body)
        if y == 8 and x == 12:
            c = (80, 200, 80)       # the ready light
    if a_out:
        c, a = over(c, (255, 255, 255), a_out), max(a, a_out)
        if x in (4, 11) or y == 14:
            c = grey
        elif y == 12 and 6 <= x <= 9:
            c = (120, 120, 120)     # a printed line
    return (*c, 255 * a)


def main():
    write_bmp24(os.path.join(HERE, 'StepPicture.bmp'), 150, 245, step_picture)
    write_ico(os.path.join(HERE, 'QuorvexUpdate.ico'),
              [(n, dib32(n, icon_pixel(n))) for n in (16, 32, 48)])
    write_ico(os.path.join(HERE, 'Printer.ico'), [(16, dib32(16, printer_pixel))])


if __name__ == '__main__':
    main()

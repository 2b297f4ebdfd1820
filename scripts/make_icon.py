#!/usr/bin/env python3
"""Draws Quillon's program icon and writes it as a Windows .ico file.

The picture is a key cap lying on two stacked layer cards. Every size is drawn
from the same shapes (signed distance fields, so edges are anti-aliased at any
size) rather than scaled down from one bitmap, which keeps 16 px crisp.

Usage: make_icon.py OUTPUT.ico
"""

import math
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 128, 256)
PNG_FROM = 256  # larger images are stored PNG-compressed, as Windows Vista and later expect

# Colours as straight RGB in 0..1.
def rgb(hex_colour):
    return tuple(int(hex_colour[i : i + 2], 16) / 255 for i in (1, 3, 5))


BACK_EDGE, BACK_TOP, BACK_BOTTOM = rgb("#102c5c"), rgb("#2456a6"), rgb("#1b4280")
MID_EDGE, MID_TOP, MID_BOTTOM = rgb("#1a4f8c"), rgb("#4a90e2"), rgb("#3672c0")
CAP_EDGE, CAP_SKIRT_TOP, CAP_SKIRT_BOTTOM = rgb("#4a5361"), rgb("#c9d1dc"), rgb("#9aa6b5")
FACE_TOP, FACE_BOTTOM = rgb("#ffffff"), rgb("#e4e9f0")
GLYPH = rgb("#1f4f96")

CARD = 0.70  # side of the key cap and of each card, in units of the icon's side
STEP = 0.11  # offset from one card to the next, down and to the right
ORIGIN = 0.04


def rounded_rect(x0, y0, x1, y1, radius):
    """Signed distance to a rounded rectangle: negative inside."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    return distance, (x0, y0, x1, y1)


def ring(cx, cy, radius, half_width):
    def distance(x, y):
        return abs(math.hypot(x - cx, y - cy) - radius) - half_width

    r = radius + half_width
    return distance, (cx - r, cy - r, cx + r, cy + r)


def capsule(ax, ay, bx, by, half_width):
    def distance(x, y):
        px, py, dx, dy = x - ax, y - ay, bx - ax, by - ay
        t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
        return math.hypot(px - dx * t, py - dy * t) - half_width

    w = half_width
    return distance, (min(ax, bx) - w, min(ay, by) - w, max(ax, bx) + w, max(ay, by) + w)


def union(*shapes):
    def distance(x, y):
        return min(d(x, y) for d, _ in shapes)

    boxes = [box for _, box in shapes]
    return distance, (
        min(b[0] for b in boxes),
        min(b[1] for b in boxes),
        max(b[2] for b in boxes),
        max(b[3] for b in boxes),
    )


def gradient(top, bottom, y0, y1):
    def colour(y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return colour


def solid(c):
    return lambda _y: c


def scene(size):
    """The shapes to paint back to front, each a (shape, colour by y) pair."""
    pixel = 1 / size
    # An outline at least a pixel wide keeps the stacked cards apart at 16 px.
    edge = max(pixel, 0.025)
    radius = 0.15
    layers = []

    def card(offset, edge_colour, top, bottom):
        x0 = y0 = ORIGIN + offset
        x1 = y1 = x0 + CARD
        layers.append((rounded_rect(x0, y0, x1, y1, radius), solid(edge_colour)))
        layers.append(
            (
                rounded_rect(x0 + edge, y0 + edge, x1 - edge, y1 - edge, radius - edge),
                gradient(top, bottom, y0, y1),
            )
        )
        return x0, y0, x1, y1

    card(2 * STEP, BACK_EDGE, BACK_TOP, BACK_BOTTOM)
    card(STEP, MID_EDGE, MID_TOP, MID_BOTTOM)
    x0, y0, x1, y1 = card(0, CAP_EDGE, CAP_SKIRT_TOP, CAP_SKIRT_BOTTOM)

    # The top face of the cap sits higher than its middle, as on a real key.
    fx0, fy0, fx1, fy1 = x0 + 0.09, y0 + 0.06, x1 - 0.09, y1 - 0.15
    layers.append((rounded_rect(fx0, fy0, fx1, fy1, 0.09), gradient(FACE_TOP, FACE_BOTTOM, fy0, fy1)))

    # A "Q" on the face, left out where it would only be a smudge.
    if size >= 24:
        cx, cy = (fx0 + fx1) / 2, (fy0 + fy1) / 2
        r = (fy1 - fy0) * 0.27
        w = max(pixel * 0.75, r * 0.24)
        glyph = union(
            ring(cx, cy, r, w),
            capsule(cx + r * 0.25, cy + r * 0.25, cx + r * 1.05, cy + r * 1.05, w),
        )
        layers.append((glyph, solid(GLYPH)))
    return layers


def render(size):
    """Premultiplied RGBA floats, rows top to bottom."""
    pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    for (distance, box), colour in scene(size):
        # Only the pixels near the shape can be touched by it.
        px0 = max(0, int(box[0] * size) - 1)
        py0 = max(0, int(box[1] * size) - 1)
        px1 = min(size, int(math.ceil(box[2] * size)) + 1)
        py1 = min(size, int(math.ceil(box[3] * size)) + 1)
        for py in range(py0, py1):
            y = (py + 0.5) / size
            r, g, b = colour(y)
            for px in range(px0, px1):
                coverage = 0.5 - distance((px + 0.5) / size, y) * size
                if coverage <= 0:
                    continue
                a = min(coverage, 1.0)
                p = pixels[py * size + px]
                keep = 1 - a
                p[0] = r * a + p[0] * keep
                p[1] = g * a + p[1] * keep
                p[2] = b * a + p[2] * keep
                p[3] = a + p[3] * keep
    return pixels


def straight_rgba(pixels):
    """Un-premultiplied 8-bit (r, g, b, a) tuples, as both image formats store them."""
    out = []
    for r, g, b, a in pixels:
        if a <= 0:
            out.append((0, 0, 0, 0))
            continue
        out.append(tuple(round(min(1.0, c / a) * 255) for c in (r, g, b)) + (round(a * 255),))
    return out


def png(size, rgba):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    rows = bytearray()
    for y in range(size):
        rows.append(0)  # no filter
        for r, g, b, a in rgba[y * size : (y + 1) * size]:
            rows += bytes((r, g, b, a))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
        + chunk(b"IEND", b"")
    )


def dib(size, rgba):
    """A 32-bit icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    mask_stride = (size + 31) // 32 * 4
    header = struct.pack(
        "<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, size * size * 4 + size * mask_stride, 0, 0, 0, 0
    )
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        row = rgba[y * size : (y + 1) * size]
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
        # Old consumers that ignore alpha still see the transparent corners.
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, blob in images:
        side = 0 if size >= 256 else size  # 0 means 256 in a directory entry
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return directory + entries + data


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    images = []
    for size in SIZES:
        rgba = straight_rgba(render(size))
        images.append((size, png(size, rgba) if size >= PNG_FROM else dib(size, rgba)))
    with open(argv[1], "wb") as f:
        f.write(ico(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

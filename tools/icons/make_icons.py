#!/usr/bin/env python3
"""Draws the toolbar icons and writes them as .ico files.

The pictures are defined here as vector shapes on a unit square (a script
page with a folded corner and a green "run" triangle), rasterised with 8x8
supersampling at 16, 24, 32 and 48 pixels, and stored as 32-bit BGRA images
with alpha. Standard library only, so it runs wherever Python does.

    python3 tools/icons/make_icons.py [output-folder]   (default: Tollik/res)
"""

import os
import struct
import sys

SIZES = (16, 24, 32, 48)
SUPERSAMPLE = 8

# Each theme: colours as (R, G, B, A).
THEMES = {
    "TollikLight.ico": {
        "outline": (0x3C, 0x44, 0x4F, 0xFF),
        "paper": (0xFF, 0xFF, 0xFF, 0xFF),
        "fold": (0xC9, 0xD1, 0xDB, 0xFF),
        "lines": (0x9A, 0xA4, 0xB0, 0xFF),
        "run": (0x1A, 0x8F, 0x3C, 0xFF),
    },
    "TollikDark.ico": {
        "outline": (0xD8, 0xDE, 0xE6, 0xFF),
        "paper": (0x2E, 0x34, 0x3D, 0xFF),
        "fold": (0x6B, 0x75, 0x82, 0xFF),
        "lines": (0x8C, 0x97, 0xA5, 0xFF),
        "run": (0x5B, 0xD9, 0x7A, 0xFF),
    },
}


def page(inset):
    """The page outline with its top-right corner cut, shrunk by `inset`."""
    left, top, right, bottom, fold = 0.14, 0.04, 0.80, 0.96, 0.22
    return [
        (left + inset, top + inset),
        (right - fold - inset * 0.41, top + inset),
        (right - inset, top + fold + inset * 0.41),
        (right - inset, bottom - inset),
        (left + inset, bottom - inset),
    ]


def layers(size):
    """Shapes from bottom to top: (colour key, polygon)."""
    stroke = max(1.0 / size, 0.06)
    shapes = [
        ("outline", page(0.0)),
        ("paper", page(stroke)),
        ("fold", [(0.58, 0.04), (0.58, 0.26), (0.80, 0.26)]),
    ]
    if size >= 32:  # lines of script text, where there is room to read them
        for y in (0.36, 0.48):
            shapes.append(("lines", [(0.26, y), (0.56, y), (0.56, y + 0.05), (0.26, y + 0.05)]))
    # The run triangle overlaps the page's lower right, as a badge.
    shapes.append(("outline", [(0.38, 0.47), (0.38, 0.99), (0.97, 0.73)]))
    shapes.append(("run", [(0.46, 0.56), (0.46, 0.90), (0.84, 0.73)]))
    return shapes


def inside(polygon, x, y):
    hit = False
    j = len(polygon) - 1
    for i, (xi, yi) in enumerate(polygon):
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def render(size, theme):
    """Rows of straight (not premultiplied) RGBA pixels, top row first."""
    shapes = layers(size)
    rows = []
    step = 1.0 / (size * SUPERSAMPLE)
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied sums
            for sy in range(SUPERSAMPLE):
                y = (py * SUPERSAMPLE + sy + 0.5) * step
                for sx in range(SUPERSAMPLE):
                    x = (px * SUPERSAMPLE + sx + 0.5) * step
                    colour = None
                    for key, polygon in shapes:
                        if inside(polygon, x, y):
                            colour = theme[key]
                    if colour:
                        a = colour[3] / 255.0
                        acc[0] += colour[0] * a
                        acc[1] += colour[1] * a
                        acc[2] += colour[2] * a
                        acc[3] += a
            n = SUPERSAMPLE * SUPERSAMPLE
            alpha = acc[3] / n
            if alpha <= 0.0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[c] / acc[3]) for c in range(3)) + (round(alpha * 255),))
        rows.append(row)
    return rows


def bmp_entry(size, rows):
    """An icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def ico(theme):
    images = [(size, bmp_entry(size, render(size, theme))) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "Tollik", "res")
    os.makedirs(target, exist_ok=True)
    for name, theme in THEMES.items():
        with open(os.path.join(target, name), "wb") as f:
            f.write(ico(theme))
        print(os.path.normpath(os.path.join(target, name)))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the program's icon in the hicolor theme's sizes.

A rounded dark-blue tile with a lighter rim and an orange play triangle,
drawn analytically and anti-aliased by supersampling, as RGBA PNGs under
data/icons/hicolor/<n>x<n>/apps/. Standard library only; run it from the
repository root (or pass the output folder) and commit the result.
"""

import math
import struct
import sys
import zlib

NAME = "org.taviro.Taviro.png"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SUPERSAMPLE = 4

TILE_TOP = (0x2B, 0x4C, 0x7E)
TILE_BOTTOM = (0x12, 0x1E, 0x33)
RIM = (0x6F, 0x9C, 0xD8)
PLAY = (0xFF, 0x9A, 0x2E)
PLAY_SHADE = (0xE0, 0x6A, 0x12)


def inside_rounded_square(x, y, margin, radius):
    """Unit coordinates: 0..1 on both axes."""
    lo, hi = margin, 1.0 - margin
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def inside_play(x, y):
    """A triangle pointing right, its centre of mass at the tile's centre."""
    left, right = 0.38, 0.74
    top, bottom = 0.28, 0.72
    if x < left:
        return False
    half = (bottom - top) / 2 * (right - x) / (right - left)
    return abs(y - 0.5) <= half


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def sample(x, y, size):
    """Colour and coverage of one sample point."""
    margin = 0.5 / size if size < 32 else 0.04
    radius = 0.2
    if not inside_rounded_square(x, y, margin, radius):
        return (0, 0, 0), 0.0
    rim_width = max(1.2 / size, 0.03)
    if not inside_rounded_square(x, y, margin + rim_width, radius - rim_width):
        return RIM, 1.0
    if inside_play(x, y):
        return mix(PLAY, PLAY_SHADE, y), 1.0
    return mix(TILE_TOP, TILE_BOTTOM, y), 1.0


def render(size):
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = bytearray([0])  # filter: none
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(n):
                for sx in range(n):
                    colour, cover = sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size, size)
                    r += colour[0] * cover
                    g += colour[1] * cover
                    b += colour[2] * cover
                    a += cover
            if a > 0:
                row += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / (n * n))))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b"")


def main():
    import os

    out = sys.argv[1] if len(sys.argv) > 1 else "data/icons/hicolor"
    for size in SIZES:
        folder = os.path.join(out, f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, NAME), "wb") as f:
            f.write(png(size, render(size)))


if __name__ == "__main__":
    main()

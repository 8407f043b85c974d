#!/usr/bin/env python3
"""Finds a player's picture and video area in a screenshot (binary PPM on stdin).

The picture is the bounding box of the red pixels (the calibration clip is
solid red); the video area is the black-or-red rectangle around its centre,
found by walking outwards from the picture's edges through dark pixels,
within the window given as "X Y W H" arguments (the whole screen if none).
Prints "picture W H X Y area W H X Y", or nothing when there is no red.
"""
import sys


def read_ppm(data):
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise SystemExit("need an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def main():
    width, height, pixels = read_ppm(sys.stdin.buffer.read())

    def rgb(x, y):
        i = (y * width + x) * 3
        return pixels[i], pixels[i + 1], pixels[i + 2]

    def red(x, y):
        r, g, b = rgb(x, y)
        return r >= 160 and g < 96 and b < 96

    def dark_or_red(x, y):
        r, g, b = rgb(x, y)
        return max(r, g, b) < 24 or red(x, y)

    # Rows and columns that hold a run of red, so that a red glyph of a
    # player's own interface does not widen the box.
    rows = [y for y in range(height) if sum(red(x, y) for x in range(0, width, 4)) >= 8]
    if not rows:
        return
    top, bottom = rows[0], rows[-1]
    middle = (top + bottom) // 2
    cols = [x for x in range(width) if red(x, middle)]
    left, right = cols[0], cols[-1]
    cx, cy = (left + right) // 2, middle

    bx, by, bw, bh = (int(v) for v in sys.argv[1:5]) if len(sys.argv) >= 5 else (0, 0, width, height)
    bx, by = max(bx, 0), max(by, 0)
    bw, bh = min(bw, width - bx), min(bh, height - by)
    x0 = left
    while x0 > bx and dark_or_red(x0 - 1, cy):
        x0 -= 1
    x1 = right
    while x1 < bx + bw - 1 and dark_or_red(x1 + 1, cy):
        x1 += 1
    y0 = top
    while y0 > by and dark_or_red(cx, y0 - 1):
        y0 -= 1
    y1 = bottom
    while y1 < by + bh - 1 and dark_or_red(cx, y1 + 1):
        y1 += 1
    print(f"picture {right - left + 1} {bottom - top + 1} {left} {top} "
          f"area {x1 - x0 + 1} {y1 - y0 + 1} {x0} {y0}")


if __name__ == "__main__":
    main()

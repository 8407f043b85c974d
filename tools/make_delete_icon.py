#!/usr/bin/env python3
"""Writes data/i.gif, the 11 x 11 delete icon that the list pages show.

A light grey cross with softer grey edges on a transparent background, as a
GIF89a with a four-colour palette. Standard library only; run it from the
repository root (or pass the output path) and commit the result.
"""

import struct
import sys

SIZE = 11
PALETTE = [
    (0x00, 0x00, 0x00),  # 0: transparent
    (0xC8, 0xC8, 0xC8),  # 1: the cross
    (0x7A, 0x7A, 0x7A),  # 2: its edges, so it reads smoothly on dark rows
    (0x00, 0x00, 0x00),  # 3: unused
]
TRANSPARENT = 0


def draw_cross():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]
    first, last = 2, SIZE - 3
    for i in range(first, last + 1):
        for x, y in ((i, i), (SIZE - 1 - i, i)):
            pixels[y][x] = 1
    for i in range(first, last):
        for x, y in ((i + 1, i), (i, i + 1), (SIZE - 2 - i, i), (SIZE - 1 - i, i + 1)):
            if pixels[y][x] == TRANSPARENT:
                pixels[y][x] = 2
    return [p for row in pixels for p in row]


def lzw_compress(indices, min_code_size):
    """Variable-width LZW as GIF readers expect it, least significant bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {(i,): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = fresh_table()
    emit(clear, width)
    prefix = ()
    for index in indices:
        candidate = prefix + (index,)
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = fresh_table()
        prefix = (index,)
    if prefix:
        emit(table[prefix], width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def sub_blocks(data):
    blocks = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        blocks.append(len(chunk))
        blocks += chunk
    blocks.append(0)
    return bytes(blocks)


def build_gif(pixels):
    palette_bits = 2  # 2 ** 2 = 4 colours
    header = b"GIF89a"
    screen = struct.pack("<HHBBB", SIZE, SIZE, 0x80 | ((palette_bits - 1) << 4) | (palette_bits - 1), 0, 0)
    colours = b"".join(bytes(rgb) for rgb in PALETTE)
    control = b"\x21\xF9\x04" + struct.pack("<BHB", 0x01, 0, TRANSPARENT) + b"\x00"
    image = b"\x2C" + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
    data = bytes([palette_bits]) + sub_blocks(lzw_compress(pixels, palette_bits))
    return header + screen + colours + control + image + data + b"\x3B"


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else "data/i.gif"
    with open(target, "wb") as out:
        out.write(build_gif(draw_cross()))


if __name__ == "__main__":
    main()

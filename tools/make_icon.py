#!/usr/bin/env python3
"""Draws the program icon, a red heart, as a 16-colour .ico with 16x16, 32x32 and
48x48 images (4-bit bitmaps with an AND mask for the transparent corners).

Usage: tools/make_icon.py resources/biaobai.ico
"""
import struct
import sys

# The 16 colours of the standard VGA palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
DARK_RED, RED, WHITE = 1, 9, 15


def inside_heart(size, x, y):
    """The classic heart curve (u^2 + v^2 - 1)^3 - u^2 v^3 <= 0, scaled to the square."""
    u = ((x + 0.5) / size - 0.5) * 2.7
    v = (0.5 - (y + 0.5) / size) * 2.7 + 0.25
    return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0


def draw(size):
    """Rows top to bottom of palette indices, None for transparent pixels."""
    inside = [[inside_heart(size, x, y) for x in range(size)] for y in range(size)]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not inside[y][x]:
                row.append(None)
                continue
            edge = any(
                not (0 <= x + dx < size and 0 <= y + dy < size and inside[y + dy][x + dx])
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            # A highlight near the upper left lobe makes the heart look round.
            hx, hy = x / size - 0.3, y / size - 0.3
            if edge:
                row.append(DARK_RED)
            elif hx * hx + hy * hy < 0.005:
                row.append(WHITE)
            else:
                row.append(RED)
        rows.append(row)
    return rows


def bitmap(size):
    rows = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = (size * 4 + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor, mask = b'', b''
    for row in reversed(rows):  # bitmaps are stored bottom-up
        nibbles = [0 if p is None else p for p in row]
        line = bytes((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < size else 0)
                     for i in range(0, size, 2))
        xor += line.ljust(xor_stride, b'\0')
        bits = 0
        for p in row:
            bits = (bits << 1) | (p is None)
        bits <<= (8 - size % 8) % 8
        line = bits.to_bytes((size + 7) // 8, 'big')
        mask += line.ljust(and_stride, b'\0')
    return header + palette + xor + mask


def main(path):
    sizes = (16, 32, 48)
    images = [bitmap(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])

#!/usr/bin/env python3
"""Draws the program icon: 32 x 32, a 16-colour and a 256-colour image.

Usage: make_icon.py OUT.ico. The picture is computed, so the file is reproducible.
"""
import struct
import sys

SIZE = 32
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def pixel(x, y):
    """A rounded tile of deep water with a bright 'Z' and a wave under it."""
    if (x in (0, 31) and y in (0, 1, 30, 31)) or (y in (0, 31) and x in (1, 30)):
        return None  # transparent corners
    if x in (0, 31) or y in (0, 31):
        return (0, 0, 128)
    in_z = (4 <= y <= 7 and 6 <= x <= 25) or (20 <= y <= 23 and 6 <= x <= 25) or \
           (8 <= y <= 19 and abs((x - 6) - (25 - x) * 0 - (25 - 6) * (19 - y) / 11.0) <= 2.5)
    if in_z:
        return (255, 255, 0) if y < 14 else (255, 255, 255)
    wave = 26 + (1 if (x // 4) % 2 else 0)
    if y == wave or y == wave + 1:
        return (0, 255, 255)
    shade = 96 + (y * 4)
    return (0, min(shade, 160) // 2, min(shade + 40, 255))


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def image(bits):
    pixels = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    if bits == 4:
        palette = VGA16
    else:
        palette = sorted({p for row in pixels for p in row if p is not None})
        palette += [(0, 0, 0)] * (256 - len(palette))
    indices = [[0 if p is None else nearest(p, palette) for p in row] for row in pixels]
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    body = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    for row in reversed(indices):  # bottom-up
        if bits == 4:
            data = bytes((row[i] << 4) | row[i + 1] for i in range(0, SIZE, 2))
        else:
            data = bytes(row)
        body += data + b'\0' * (-len(data) % 4)
    for row in reversed(pixels):  # AND mask: 1 = transparent
        value = 0
        for p in row:
            value = (value << 1) | (1 if p is None else 0)
        body += struct.pack('>I', value)
    return header + body, len(palette) if bits == 4 else 0


def main():
    images = [image(4), image(8)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (data, colours), bits in zip(images, (4, 8)):
        out += struct.pack('<BBBBHHII', SIZE, SIZE, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b''.join(data for data, _ in images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()

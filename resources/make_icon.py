#!/usr/bin/env python3
"""Draws parvola.ico: a drive with a green plus sign.

Nine images: 48, 32 and 16 pixels, each at 4, 8 and 32 bits per pixel.
Standard library only, so the picture can be changed and rebuilt anywhere:
    python3 resources/make_icon.py resources/parvola.ico
"""
import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 32)
SUPERSAMPLE = 4

# The 16 colours every 4-bit display has.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def rounded_box(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def shade(x, y):
    """The picture on a 48-unit square; None is transparent."""
    # The plus badge sits over the drive's top right corner.
    bx, by, br = 34.0, 14.0, 11.0
    d2 = (x - bx) ** 2 + (y - by) ** 2
    if d2 <= br ** 2:
        if abs(x - bx) <= 2.2 and abs(y - by) <= 7 or abs(y - by) <= 2.2 and abs(x - bx) <= 7:
            return (255, 255, 255)
        if d2 >= (br - 1.6) ** 2:
            return (20, 100, 30)
        return (40, 160, 60)
    if rounded_box(x, y, 3, 16, 45, 40, 4):
        if not rounded_box(x, y, 4.5, 17.5, 43.5, 38.5, 3):
            return (40, 46, 56)  # outline
        if y < 26:
            return (150, 162, 176)  # top face, lit
        if 34 <= x < 40 and 31 <= y < 35:
            return (60, 220, 90)  # activity light
        return (96, 108, 124)  # front face
    return None


def render(size):
    """RGBA rows, top row first, anti-aliased by supersampling."""
    scale = 48.0 / size
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) * scale
                    y = (py + (sy + 0.5) / SUPERSAMPLE) * scale
                    colour = shade(x, y)
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = acc[3]
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // n, acc[1] // n, acc[2] // n,
                            255 * n // (SUPERSAMPLE * SUPERSAMPLE)))
        rows.append(row)
    return rows


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def palette_of(rows, depth):
    if depth == 4:
        return VGA16
    seen = []
    for row in rows:
        for r, g, b, a in row:
            if a >= 128 and (r, g, b) not in seen:
                seen.append((r, g, b))
    # Quantise to a 6x6x6 cube when the picture has more colours than fit.
    if len(seen) > 256:
        seen = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    return seen + [(0, 0, 0)] * (256 - len(seen))


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def image(size, depth):
    rows = render(size)
    palette = palette_of(rows, depth) if depth < 32 else []
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, 0, 0, 0,
                         len(palette), 0)
    body = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    for row in reversed(rows):  # bitmaps are stored bottom-up
        if depth == 32:
            line = b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row)
        else:
            indices = [nearest(palette, (r, g, b)) if a >= 128 else 0 for r, g, b, a in row]
            if depth == 8:
                line = bytes(indices)
            else:
                indices += [0] * (len(indices) % 2)
                line = bytes(indices[i] << 4 | indices[i + 1] for i in range(0, len(indices), 2))
        body += padded(line)
    for row in reversed(rows):  # the AND mask: 1 = transparent
        bits = [1 if a < 128 else 0 for *_, a in row]
        bits += [0] * (-len(bits) % 8)
        body += padded(bytes(int("".join(map(str, bits[i:i + 8])), 2)
                             for i in range(0, len(bits), 8)))
    return header + body, len(palette)


def main(path):
    images = [(size, depth) + image(size, depth) for size in SIZES for depth in DEPTHS]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for size, depth, blob, colours in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256,
                                 colours if colours < 256 else 0, 0, 1, depth,
                                 len(blob), offset + len(data))
        data += blob
    with open(path, "wb") as out:
        out.write(directory + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "parvola.ico")

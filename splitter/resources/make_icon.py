#!/usr/bin/env python3
"""Draws Zelbrin's icon (a page cut in two, the halves drawn apart, with a
dashed cut line) at 48, 32 and 16 pixels in the 16-colour palette and writes
zelbrin.ico beside this script. Run it again after changing the drawing."""
import os
import struct

# The standard 16-colour palette (R, G, B).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_BLUE, GREY, RED, YELLOW, BLUE, WHITE, SILVER = 0, 4, 8, 9, 11, 12, 15, 7
CLEAR = None


def pixel(u, v):
    """Colour at (u, v) in [0, 1) x [0, 1), v downwards; None is transparent."""
    # Upper half of the page: nudged left and up; lower half: right and down.
    cut = 0.50 + 0.10 * (u - 0.5)  # a slightly slanted cut
    if v < cut - 0.04:
        x, y = u + 0.05, v + 0.04
        top = True
    elif v > cut + 0.04:
        x, y = u - 0.05, v - 0.04
        top = False
    else:
        # The gap: a dashed red cut line across the middle.
        if 0.04 < u < 0.96 and abs(v - cut) < 0.025 and int(u * 8) % 2 == 0:
            return RED
        return CLEAR
    left, right, upper, lower = 0.18, 0.82, 0.06, 0.94
    fold = 0.20
    if not (left <= x <= right and upper <= y <= lower):
        return CLEAR
    # Folded corner at the top right.
    if top and x > right - fold and y < upper + fold:
        d = (x - (right - fold)) - (y - upper)
        if d > 0.0:
            return CLEAR
        if d > -0.06:
            return GREY
        return SILVER
    edge = 0.035
    if x < left + edge or x > right - edge or y < upper + edge or y > lower - edge:
        return DARK_BLUE
    # Lines of text.
    if 0.28 < x < 0.72 and int((y - upper) * 10) % 2 == 1 and (y - upper) * 10 % 1 < 0.45:
        return BLUE
    return WHITE


def render(size):
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            # Sample the centre of the pixel.
            row.append(pixel((i + 0.5) / size, (j + 0.5) / size))
        rows.append(row)
    return rows


def bmp_entry(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for i, c in enumerate(row):
            index = 0 if c is None else c
            if i % 2 == 0:
                line[i // 2] |= index << 4
            else:
                line[i // 2] |= index
            if c is None:
                bits[i // 8] |= 0x80 >> (i % 8)
        xor += line
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def main():
    sizes = [48, 32, 16]
    images = [bmp_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "zelbrin.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()

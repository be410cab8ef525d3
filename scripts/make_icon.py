#!/usr/bin/env python3
"""Draws the program's 32 x 32, 16-colour icon: a padlock on a blue tile.

Writes resources/ravelon.ico (4 bits per pixel) and resources/ravelon.png.
The files are committed; run this again only to change the design."""
import os
import struct
import zlib

# The 16 colours of the classic palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, SILVER, GREY, YELLOW, BLUE, CYAN, WHITE, OLIVE = 0, 4, 7, 8, 11, 12, 14, 15, 3
N = 32


def draw():
    px = [[None] * N for _ in range(N)]  # None is transparent
    for y in range(1, 31):
        for x in range(1, 31):
            corner = min(x - 1, 30 - x) + min(y - 1, 30 - y)
            if corner >= 2:
                px[y][x] = BLUE if y < 16 else NAVY
    # Shackle: a thick arch.
    for y in range(4, 16):
        for x in range(8, 24):
            dx, dy = x - 15.5, y - 12.5
            r = (dx * dx + (dy * 1.0) ** 2) ** 0.5 if y < 13 else abs(dx)
            if 5.0 <= r <= 7.6 and (y < 13 or x < 11 or x > 20):
                px[y][x] = SILVER if dx < 0 else GREY
    # Body.
    for y in range(14, 27):
        for x in range(6, 26):
            edge = y in (14, 26) or x in (6, 25)
            px[y][x] = OLIVE if edge else YELLOW
    # Keyhole.
    for y in range(17, 24):
        for x in range(14, 18):
            if (y < 20 and (x - 15.5) ** 2 + (y - 18.5) ** 2 <= 3.0) or (y >= 20 and 15 <= x <= 16):
                px[y][x] = BLACK
    px[15][7] = px[15][8] = WHITE
    return px


def png(px):
    rows = b""
    for row in px:
        rows += b"\0" + b"".join(
            bytes(PALETTE[c]) + b"\xff" if c is not None else b"\0\0\0\0" for c in row)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", N, N, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def ico(px):
    header = struct.pack("<IiiHHIIiiII", 40, N, 2 * N, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = b""
    for row in reversed(px):
        for x in range(0, N, 2):
            hi, lo = (row[x] or 0), (row[x + 1] or 0)
            xor += bytes([hi << 4 | lo])
    mask = b""
    for row in reversed(px):
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    image = header + colours + xor + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", N, N, 16, 0, 1, 4, len(image), 22) + image


here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
pixels = draw()
with open(os.path.join(here, "ravelon.png"), "wb") as f:
    f.write(png(pixels))
with open(os.path.join(here, "ravelon.ico"), "wb") as f:
    f.write(ico(pixels))

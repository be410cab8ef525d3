#!/usr/bin/env python3
"""Draws the program's icon: a padlock on a blue tile.

The design is the 32 x 32, 16-colour image below (the window's icon and the
program file's 32 x 32 entry). The same shapes, as vectors, give the other
sizes that desktops ask for and a scalable SVG.

Writes resources/ravelon.ico (16, 24, 32 in 16 colours, 48 and 256),
resources/ravelon.png (the 32 x 32 design) and, for the Linux icon theme,
resources/linux/icons/ravelon-<size>.png and ravelon.svg, and the web edition's
web/ravelon-192.png, ravelon-512.png and ravelon.svg.
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


# The same design as shapes on a 32-unit grid, drawn in order; each is
# (colour, test of a point (u, v)).
def in_rounded_square(u, v, lo, hi, r):
    if not (lo <= u <= hi and lo <= v <= hi):
        return False
    cu = min(max(u, lo + r), hi - r)
    cv = min(max(v, lo + r), hi - r)
    return (u - cu) ** 2 + (v - cv) ** 2 <= r * r


def in_shackle(u, v):
    if v < 13:
        r = ((u - 16) ** 2 + (v - 13) ** 2) ** 0.5
        return 5.0 <= r <= 7.6
    return v < 16 and (8.4 <= u <= 11 or 21 <= u <= 23.6)


SHAPES = [
    (BLUE, lambda u, v: v < 16 and in_rounded_square(u, v, 1, 31, 3)),
    (NAVY, lambda u, v: v >= 16 and in_rounded_square(u, v, 1, 31, 3)),
    (SILVER, lambda u, v: u < 16 and in_shackle(u, v)),
    (GREY, lambda u, v: u >= 16 and in_shackle(u, v)),
    (OLIVE, lambda u, v: 6 <= u <= 26 and 14 <= v <= 27),
    (YELLOW, lambda u, v: 7 <= u <= 25 and 15 <= v <= 26),
    (BLACK, lambda u, v: (u - 16) ** 2 + (v - 19) ** 2 <= 3.0 or (15 <= u <= 17 and 19 <= v <= 24)),
    (WHITE, lambda u, v: 7 <= u <= 9 and 15 <= v <= 16),
]


def render(n):
    """The shapes at n x n pixels as RGBA rows, each pixel the mean of k x k samples."""
    k = 8 if n <= 48 else 4
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            acc = [0, 0, 0, 0]
            for sy in range(k):
                for sx in range(k):
                    u = (x + (sx + 0.5) / k) * 32 / n
                    v = (y + (sy + 0.5) / k) * 32 / n
                    colour = None
                    for c, inside in SHAPES:
                        if inside(u, v):
                            colour = c
                    if colour is not None:
                        r, g, b = PALETTE[colour]
                        acc[0] += r
                        acc[1] += g
                        acc[2] += b
                        acc[3] += 1
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                            round(255 * acc[3] / (k * k))))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def design_rgba(px):
    return [[PALETTE[c] + (255,) if c is not None else (0, 0, 0, 0) for c in row] for row in px]


def svg():
    hexc = lambda c: "#%02x%02x%02x" % PALETTE[c]
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <clipPath id="top"><rect width="32" height="16"/></clipPath>
  <clipPath id="bottom"><rect y="16" width="32" height="16"/></clipPath>
  <clipPath id="left"><rect width="16" height="32"/></clipPath>
  <clipPath id="right"><rect x="16" width="16" height="32"/></clipPath>
  <rect x="1" y="1" width="30" height="30" rx="3" fill="{hexc(BLUE)}" clip-path="url(#top)"/>
  <rect x="1" y="1" width="30" height="30" rx="3" fill="{hexc(NAVY)}" clip-path="url(#bottom)"/>
  <g id="shackle" fill="none" stroke-width="2.6">
    <path d="M 9.7 16 V 13 A 6.3 6.3 0 0 1 22.3 13 V 16" stroke="{hexc(SILVER)}" clip-path="url(#left)"/>
    <path d="M 9.7 16 V 13 A 6.3 6.3 0 0 1 22.3 13 V 16" stroke="{hexc(GREY)}" clip-path="url(#right)"/>
  </g>
  <rect x="6" y="14" width="20" height="13" fill="{hexc(OLIVE)}"/>
  <rect x="7" y="15" width="18" height="11" fill="{hexc(YELLOW)}"/>
  <circle cx="16" cy="19" r="1.73" fill="{hexc(BLACK)}"/>
  <rect x="15" y="19" width="2" height="5" fill="{hexc(BLACK)}"/>
  <rect x="7" y="15" width="2" height="1" fill="{hexc(WHITE)}"/>
</svg>
"""


def png(rgba):
    n = len(rgba)
    rows = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rgba)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def and_mask(transparent_rows):
    """The 1-bit mask, bottom row first, each row padded to 32 bits."""
    mask = b""
    for row in reversed(transparent_rows):
        bits = bytearray((len(row) + 31) // 32 * 4)
        for x, clear in enumerate(row):
            if clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return mask


def bmp_4bit(px):
    n = len(px)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = b""
    for row in reversed(px):
        for x in range(0, n, 2):
            xor += bytes([(row[x] or 0) << 4 | (row[x + 1] or 0)])
    return header + colours + xor + and_mask([[c is None for c in row] for row in px]), 16, 4


def bmp_32bit(rgba):
    n = len(rgba)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rgba) for r, g, b, a in row)
    return header + xor + and_mask([[p[3] == 0 for p in row] for row in rgba]), 0, 32


def ico(entries):
    """entries: (size, (image bytes, colour count, bits per pixel)), smallest first."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, (image, colours, bpp) in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(image), offset)
        offset += len(image)
    return out + b"".join(image for _, (image, _, _) in entries)


here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
design = draw()
renders = {n: render(n) for n in (16, 24, 48, 64, 128, 256)}
web_renders = {n: render(n) for n in (192, 512)}
with open(os.path.join(here, "ravelon.png"), "wb") as f:
    f.write(png(design_rgba(design)))
with open(os.path.join(here, "ravelon.ico"), "wb") as f:
    big = png(renders[256])
    f.write(ico([(16, bmp_32bit(renders[16])), (24, bmp_32bit(renders[24])), (32, bmp_4bit(design)),
                 (48, bmp_32bit(renders[48])), (256, (big, 0, 32))]))


def write_set(folder, sized):
    """The PNGs of `sized` (size: pixels) and the SVG, into `folder`."""
    os.makedirs(folder, exist_ok=True)
    for n, rgba in sized.items():
        with open(os.path.join(folder, f"ravelon-{n}.png"), "wb") as f:
            f.write(png(rgba))
    with open(os.path.join(folder, "ravelon.svg"), "w") as f:
        f.write(svg())


write_set(os.path.join(here, "linux", "icons"), renders)
write_set(os.path.join(here, "..", "web"), web_renders)

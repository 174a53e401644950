#!/usr/bin/env python3
"""Draws the program's own pictures: the welcome bitmap TRWelcome.bmp (24-bit
Windows BMP), the window icon tarvo-icon.png and the desktop's icons in
icons/ (48, 128 and 256 pixels, and an SVG). Run it from anywhere; it writes
beside itself. Only the standard library is used."""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# 5 x 7 block letters for the few characters the pictures need.
GLYPHS = {
    "t": ["01000", "01000", "11110", "01000", "01000", "01001", "00110"],
    "a": ["00000", "00000", "01110", "00001", "01111", "10001", "01111"],
    "r": ["00000", "00000", "10110", "11001", "10000", "10000", "10000"],
    "v": ["00000", "00000", "10001", "10001", "10001", "01010", "00100"],
    "o": ["00000", "00000", "01110", "10001", "10001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    " ": ["00000"] * 7,
}

CYAN, MAGENTA, YELLOW, BLACK = (0, 160, 227), (229, 0, 126), (255, 237, 0), (30, 30, 30)
WHITE = (250, 250, 250)


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def box(pixels, x, y, w, h, colour):
    for row in range(y, y + h):
        for col in range(x, x + w):
            pixels[row][col] = colour


def text(pixels, x, y, words, scale, colour):
    for glyph in words:
        for r, line in enumerate(GLYPHS[glyph]):
            for c, bit in enumerate(line):
                if bit == "1":
                    box(pixels, x + c * scale, y + r * scale, scale, scale, colour)
        x += 6 * scale


def welcome():
    width, height = 376, 200
    pixels = canvas(width, height, (0, 0, 0))
    for y in range(height):  # a calm blue from top to bottom
        shade = (20 + y // 5, 50 + y // 4, 110 + y // 3)
        for x in range(width):
            pixels[y][x] = shade
    text(pixels, 28, 24, "tarvo", 9, WHITE)
    text(pixels, 300, 66, "1.22", 3, WHITE)
    # A colour bar as it is printed on a sheet's edge, then a grey wedge.
    patches = [CYAN, MAGENTA, YELLOW, BLACK] * 2
    for i, colour in enumerate(patches):
        box(pixels, 28 + i * 40, 118, 36, 30, colour)
    for i in range(8):
        grey = 255 - i * 32
        box(pixels, 28 + i * 40, 156, 36, 20, (grey, grey, grey))
    return width, height, pixels


def write_bmp(path, width, height, pixels):
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for row in reversed(pixels):  # bottom-up, as BMP keeps them
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        rows.append(bytes(line))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as out:
        out.write(header + info + data)


# The icon's four ink squares on a 32-unit grid: (x, y, side) in units.
ICON_GRID = 32
ICON_SQUARES = [(2 + (i % 2) * 15, 2 + (i // 2) * 15, 13) for i in range(4)]
ICON_INKS = [CYAN, MAGENTA, YELLOW, BLACK]


def overlap(low, high, start, end):
    return max(0.0, min(high, end) - max(low, start))


def icon(size=ICON_GRID):
    """The icon at any pixel size: a pixel's alpha is the share of it a square
    covers, so sizes that are no multiple of the grid keep soft, even edges."""
    scale = size / ICON_GRID
    pixels = canvas(size, size, (0, 0, 0, 0))
    for (x, y, side), colour in zip(ICON_SQUARES, ICON_INKS):
        x0, y0, x1, y1 = x * scale, y * scale, (x + side) * scale, (y + side) * scale
        for row in range(int(y0), min(size, int(y1) + 1)):
            for col in range(int(x0), min(size, int(x1) + 1)):
                cover = overlap(row, row + 1, y0, y1) * overlap(col, col + 1, x0, x1)
                if cover > 0:
                    pixels[row][col] = colour + (round(cover * 255),)
    return size, pixels


def write_svg(path):
    rects = "".join(
        '  <rect x="%d" y="%d" width="%d" height="%d" fill="#%02x%02x%02x"/>\n' % (x, y, side, side, *c)
        for (x, y, side), c in zip(ICON_SQUARES, ICON_INKS))
    with open(path, "w") as out:
        out.write('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n'
                  % ((ICON_GRID,) * 4) + rects + "</svg>\n")


def write_png(path, size, pixels):
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in pixels)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    write_bmp(os.path.join(HERE, "TRWelcome.bmp"), *welcome())
    write_png(os.path.join(HERE, "tarvo-icon.png"), *icon())
    # The desktop's icon theme sizes, for the package.
    for size in (48, 128, 256):
        write_png(os.path.join(HERE, "icons", "tarvo-%d.png" % size), *icon(size))
    write_svg(os.path.join(HERE, "icons", "tarvo.svg"))

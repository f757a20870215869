#!/usr/bin/env python3
"""Draws the viewer window's toolbar bitmap and magnifier cursor.

    python3 resources/make_images.py

writes resources/toolbar.bmp (bitmap 501: 202 x 22 pixels, 16 colours, ten
20 x 20 button images side by side) and resources/magnify.cur (cursor
MAGNIFY: 32 x 32 monochrome, hot spot in the middle of the lens). Both files
are committed; run this again only to change a picture.

The toolbar is loaded with CreateMappedBitmap, which turns black, dark grey,
light grey and white into the system's button colours, so the background is
light grey (the button face) and outlines are black or dark grey.
"""
import os
import struct

# The 16-colour palette of the bitmap, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DRED, DGREEN, OLIVE, NAVY, PURPLE, TEAL, FACE = range(8)
GREY, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)

WIDTH, HEIGHT, CELL = 202, 22, 20


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]
        self.ox = 0

    def put(self, x, y, colour):
        x += self.ox
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Filled rectangle, both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def triangle(self, tip_x, mid_y, base_x, half, colour):
        """A filled triangle pointing left or right: tip at (tip_x, mid_y),
        vertical base at base_x reaching half pixels up and down."""
        span = base_x - tip_x
        for i in range(abs(span) + 1):
            x = tip_x + (i if span > 0 else -i)
            h = round(half * i / max(abs(span), 1))
            for y in range(mid_y - h, mid_y + h + 1):
                self.put(x, y, colour)


def close(c):
    # A red cross on a window: closing the viewer.
    c.rect(3, 3, 16, 16, WHITE)
    c.frame(3, 3, 16, 16, BLACK)
    c.rect(4, 4, 15, 5, NAVY)
    for d in range(2):
        c.line(6 + d, 8, 13 + d, 15, RED)
        c.line(13 + d, 8, 6 + d, 15, RED)


def first(c):
    c.rect(4, 4, 5, 15, BLACK)
    c.triangle(7, 9, 15, 6, NAVY)
    c.put(7, 10, NAVY)
    c.triangle(7, 10, 15, 6, NAVY)


def previous(c):
    c.triangle(5, 9, 14, 6, NAVY)
    c.triangle(5, 10, 14, 6, NAVY)


def next_page(c):
    c.triangle(14, 9, 5, 6, NAVY)
    c.triangle(14, 10, 5, 6, NAVY)


def last(c):
    c.triangle(12, 9, 4, 6, NAVY)
    c.triangle(12, 10, 4, 6, NAVY)
    c.rect(14, 4, 15, 15, BLACK)


def page(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, WHITE)
    c.frame(x0, y0, x1, y1, BLACK)
    for y in range(y0 + 3, y1 - 1, 2):
        c.line(x0 + 2, y, x1 - 2, y, GREY)


def jump(c):
    # A page and a bent arrow landing on it.
    page(c, 8, 2, 17, 17)
    c.line(2, 15, 2, 9, DGREEN)
    c.line(3, 15, 3, 9, DGREEN)
    c.line(2, 8, 10, 8, DGREEN)
    c.line(2, 9, 10, 9, DGREEN)
    c.triangle(14, 8, 10, 3, DGREEN)
    c.triangle(14, 9, 10, 3, DGREEN)


def print_icon(c):
    # Paper coming out of a printer.
    c.rect(5, 2, 14, 8, WHITE)
    c.frame(5, 2, 14, 8, BLACK)
    c.rect(2, 8, 17, 14, GREY)
    c.frame(2, 8, 17, 14, BLACK)
    c.rect(14, 10, 15, 10, GREEN)
    c.rect(5, 13, 14, 17, WHITE)
    c.frame(5, 13, 14, 17, BLACK)
    c.line(7, 15, 12, 15, GREY)


def email(c):
    # An envelope.
    c.rect(2, 5, 17, 15, WHITE)
    c.frame(2, 5, 17, 15, BLACK)
    c.line(2, 5, 9, 11, BLACK)
    c.line(17, 5, 10, 11, BLACK)
    c.line(2, 15, 7, 10, GREY)
    c.line(17, 15, 12, 10, GREY)
    c.rect(14, 7, 15, 8, RED)


def fax(c):
    # A fax machine: body with keys, a handset on top and a sheet in it.
    c.rect(6, 1, 13, 6, WHITE)
    c.frame(6, 1, 13, 6, BLACK)
    c.line(8, 3, 11, 3, GREY)
    c.rect(2, 7, 17, 16, GREY)
    c.frame(2, 7, 17, 16, BLACK)
    c.rect(3, 5, 7, 6, BLACK)
    c.rect(3, 4, 4, 6, BLACK)
    for ky in (10, 13):
        for kx in (9, 12, 15):
            c.rect(kx - 1, ky - 1, kx, ky, WHITE)
    c.rect(4, 9, 6, 14, NAVY)


def save(c):
    # A floppy disk.
    c.rect(3, 3, 16, 16, NAVY)
    c.frame(3, 3, 16, 16, BLACK)
    c.rect(6, 3, 13, 8, WHITE)
    c.rect(11, 4, 12, 7, NAVY)
    c.rect(5, 11, 14, 16, GREY)
    c.rect(7, 12, 8, 15, BLACK)


IMAGES = [close, first, previous, next_page, last, jump, print_icon, email, fax, save]


def bitmap_file(canvas):
    """A bottom-up 4-bit BMP file of the canvas."""
    row_bytes = (canvas.width * 4 + 31) // 32 * 4
    rows = []
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray(row_bytes)
        for x, colour in enumerate(canvas.pixels[y]):
            row[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        rows.append(bytes(row))
    bits = b"".join(rows)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 4, 0, len(bits),
                       3780, 3780, 16, 16)
    return header + info + palette + bits


def toolbar():
    canvas = Canvas(WIDTH, HEIGHT, FACE)
    for i, draw in enumerate(IMAGES):
        canvas.ox = i * CELL
        draw(canvas)
    return bitmap_file(canvas)


def magnifier_cursor():
    """A 32 x 32 monochrome cursor: a magnifying glass, hot spot at the
    centre of its lens. Each pixel is inside the glass (black outline or
    white lens) or transparent."""
    size, cx, cy, radius = 32, 11, 11, 8
    shape = [[None] * size for _ in range(size)]  # None transparent, 0 black, 1 white
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= radius - 2:
                shape[y][x] = 1
            elif d <= radius:
                shape[y][x] = 0
    for i in range(9):  # the handle, three pixels thick
        for t in range(-1, 2):
            x, y = cx + 6 + i, cy + 6 + i + t
            if x < size and y < size:
                shape[y][x] = 0
    for x in range(cx - 4, cx + 5):  # a plus in the lens: zooming
        shape[cy][x] = 0
    for y in range(cy - 4, cy + 5):
        shape[y][cx] = 0
    xor_rows, and_rows = [], []
    for y in range(size - 1, -1, -1):
        xor_bits = and_bits = 0
        for x in range(size):
            value = shape[y][x]
            bit = 1 << (31 - x)
            if value is None:
                and_bits |= bit  # keep the screen pixel
            elif value == 1:
                xor_bits |= bit  # white
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 0, 0)
    image = info + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, cx, cy, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "toolbar.bmp"), "wb") as f:
        f.write(toolbar())
    with open(os.path.join(here, "magnify.cur"), "wb") as f:
        f.write(magnifier_cursor())


if __name__ == "__main__":
    main()

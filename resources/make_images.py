#!/usr/bin/env python3
"""Draws the viewer window's toolbar bitmap and magnifier cursor.

    python3 resources/make_images.py

writes resources/toolbar.bmp (bitmap 501: 202 x 22 pixels, 16 colours, ten
20 x 20 button images side by side), the same images drawn for 150 % and
200 % displays (toolbar30.bmp, bitmap 502: 303 x 33 with 30 x 30 images;
toolbar40.bmp, bitmap 503: 404 x 44 with 40 x 40 images),
resources/magnify.cur (cursor MAGNIFY: 32 x 32 monochrome, hot spot in the
middle of the lens) and resources/vell.ico (icon VELL_ICON: a page with
lines of text at 16, 32, 48 and 256 pixels). The files are committed; run
this again only to change a picture.

The larger toolbar images are drawn from the same shapes at the larger
scale (filled shapes cover the pixels whose centres they cover, lines and
outlines keep a thickness of one pixel per 96 pixels per inch), not
stretched from the 20-pixel ones.

The toolbar is loaded with CreateMappedBitmap, which turns black, dark grey,
light grey and white into the system's button colours, so the background is
light grey (the button face) and outlines are black or dark grey.
"""
import os
import struct
import zlib

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


class ScaledCanvas(Canvas):
    """The same drawing calls in 20-pixel cell coordinates, drawn onto a
    canvas scale times larger. ox is in output pixels."""

    def __init__(self, width, height, fill, scale):
        super().__init__(width, height, fill)
        self.scale = scale
        self.thick = max(1, round(scale))

    def at(self, v):
        return int(v * self.scale // 1)

    def fill(self, x0, y0, x1, y1, colour):
        """Output pixels, both corners included, x relative to the cell."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                Canvas.put(self, x, y, colour)

    def put(self, x, y, colour):
        self.rect(x, y, x, y, colour)

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(self.at(x0), self.at(y0), self.at(x1 + 1) - 1, self.at(y1 + 1) - 1, colour)

    def frame(self, x0, y0, x1, y1, colour):
        left, top = self.at(x0), self.at(y0)
        right, bottom = self.at(x1 + 1) - 1, self.at(y1 + 1) - 1
        t = self.thick
        self.fill(left, top, right, top + t - 1, colour)
        self.fill(left, bottom - t + 1, right, bottom, colour)
        self.fill(left, top, left + t - 1, bottom, colour)
        self.fill(right - t + 1, top, right, bottom, colour)

    def line(self, x0, y0, x1, y1, colour):
        s, t = self.scale, self.thick
        steps = max(int(max(abs(x1 - x0), abs(y1 - y0)) * s * 2), 1)
        for i in range(steps + 1):
            cx = (x0 + 0.5 + (x1 - x0) * i / steps) * s
            cy = (y0 + 0.5 + (y1 - y0) * i / steps) * s
            left, top = round(cx - t / 2), round(cy - t / 2)
            self.fill(left, top, left + t - 1, top + t - 1, colour)

    def triangle(self, tip_x, mid_y, base_x, half, colour):
        s = self.scale
        span = abs(base_x - tip_x) or 1
        direction = 1 if base_x > tip_x else -1
        for ox in range(self.at(min(tip_x, base_x) - 1), self.at(max(tip_x, base_x) + 2)):
            xs = (ox + 0.5) / s - 0.5
            i = (xs - tip_x) * direction
            if i < -0.5 or i > span + 0.5:
                continue
            h = half * max(i, 0) / span
            for oy in range(self.at(mid_y - half - 1), self.at(mid_y + half + 2)):
                ys = (oy + 0.5) / s - 0.5
                if abs(ys - mid_y) <= h + 0.5:
                    Canvas.put(self, ox, oy, colour)


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


def toolbar(cell=CELL):
    """The ten images side by side, cell pixels square each."""
    if cell == CELL:
        canvas = Canvas(WIDTH, HEIGHT, FACE)
    else:
        scale = cell / CELL
        canvas = ScaledCanvas(round(WIDTH * scale), round(HEIGHT * scale), FACE, scale)
    for i, draw in enumerate(IMAGES):
        canvas.ox = i * cell
        draw(canvas)
    return bitmap_file(canvas)


def icon_pixels(size):
    """The program icon at size pixels: a white page with a folded corner,
    a navy heading and grey lines of text, on a transparent ground. Rows of
    (red, green, blue, alpha), top row first."""
    clear = (0, 0, 0, 0)
    rows = [[clear] * size for _ in range(size)]
    t = max(1, round(size / 32))
    left, right = round(size * 0.16), round(size * 0.84) - 1
    top, bottom = round(size * 0.03), round(size * 0.97) - 1
    fold = round(size * 0.22)

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(y0, 0), min(y1, size - 1) + 1):
            for x in range(max(x0, 0), min(x1, size - 1) + 1):
                rows[y][x] = colour

    black, white, grey = (0, 0, 0, 255), (255, 255, 255, 255), (128, 128, 128, 255)
    navy, face = (0, 0, 128, 255), (192, 192, 192, 255)
    fill(left, top, right, bottom, black)
    fill(left + t, top + t, right - t, bottom - t, white)
    # The folded corner: cut away above the diagonal, the fold in grey.
    for d in range(fold + 1):
        fill(right - fold + d + 1, top, right, top + d - 1, clear)
        fill(right - fold + d, top + d, right - fold + d + t - 1, top + d + t - 1, black)
    fill(right - fold, top, right - fold + t - 1, top + fold, black)
    fill(right - fold, top + fold, right, top + fold + t - 1, black)
    for d in range(fold - t + 1):
        fill(right - fold + t, top + d + t, right - fold + d, top + d + t, face)
    inner_left, inner_right = left + 2 * t + size // 16, right - 2 * t - size // 16
    heading = top + fold // 2
    fill(inner_left, heading, right - fold - 2 * t, heading + max(1, size // 16), navy)
    y = top + fold + 2 * t + max(1, size // 32)
    step = max(3, size // 8)
    while y + max(1, size // 32) <= bottom - 2 * t:
        fill(inner_left, y, inner_right, y + max(1, size // 32) - 1, grey)
        y += step
    return rows


def png_file(rows):
    """An RGBA PNG file of the rows."""
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    height, width = len(rows), len(rows[0])
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_image(rows):
    """An icon image as a 32-bit bottom-up DIB with its AND mask."""
    size = len(rows)
    xor = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row_bytes = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row_bytes)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + bytes(mask)


def icon_file(sizes=(16, 32, 48, 256)):
    """An icon file with one image per size; 256 is stored as PNG."""
    images = [png_file(icon_pixels(n)) if n >= 256 else dib_image(icon_pixels(n)) for n in sizes]
    directory = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    entries = b""
    for n, image in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


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
    for cell in (30, 40):
        with open(os.path.join(here, "toolbar%d.bmp" % cell), "wb") as f:
            f.write(toolbar(cell))
    with open(os.path.join(here, "vell.ico"), "wb") as f:
        f.write(icon_file())
    with open(os.path.join(here, "magnify.cur"), "wb") as f:
        f.write(magnifier_cursor())


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the program icon (16, 32 and 48 pixels, PNG and ICO) and the about window's logo
(400 x 159 pixels). Standard library only and free of fonts, so every run on every machine gives
the same bytes. Run from anywhere: python3 resources/art/make_art.py"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.dirname(HERE)
SUB = 4  # subsamples per pixel edge for anti-aliasing


class Canvas:
    def __init__(self, w, h, background=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(background) for _ in range(w * h)]

    def fill(self, inside, box, colour):
        """Paints colour where inside(x, y) holds, x and y in pixels; box = (x0, y0, x1, y1)."""
        x0, y0, x1, y1 = box
        r, g, b, a = colour
        for py in range(max(0, int(y0)), min(self.h, int(math.ceil(y1)) + 1)):
            for px in range(max(0, int(x0)), min(self.w, int(math.ceil(x1)) + 1)):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if inside(px + (sx + 0.5) / SUB, py + (sy + 0.5) / SUB):
                            hits += 1
                if not hits:
                    continue
                cov = hits / (SUB * SUB) * a / 255.0
                dst = self.px[py * self.w + px]
                da = dst[3] / 255.0
                oa = cov + da * (1 - cov)
                for i, c in enumerate((r, g, b)):
                    dst[i] = (c * cov + dst[i] * da * (1 - cov)) / oa if oa else 0
                dst[3] = oa * 255

    def circle(self, cx, cy, radius, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius,
                  (cx - radius, cy - radius, cx + radius, cy + radius), colour)

    def ring(self, cx, cy, r_in, r_out, colour, a0=None, a1=None):
        def inside(x, y):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if not r_in * r_in <= d2 <= r_out * r_out:
                return False
            if a0 is None:
                return True
            ang = math.degrees(math.atan2(cy - y, x - cx)) % 360
            return a0 <= ang <= a1 if a0 <= a1 else (ang >= a0 or ang <= a1)
        self.fill(inside, (cx - r_out, cy - r_out, cx + r_out, cy + r_out), colour)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            qx = min(x - x0, x1 - x)
            qy = min(y - y0, y1 - y)
            if qx >= radius or qy >= radius:
                return True
            return (radius - qx) ** 2 + (radius - qy) ** 2 <= radius * radius
        self.fill(inside, (x0, y0, x1, y1), colour)

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            c = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        self.fill(inside, (min(xs), min(ys), max(xs), max(ys)), colour)

    def thick_line(self, xa, ya, xb, yb, width, colour):
        dx, dy = xb - xa, yb - ya
        n = math.hypot(dx, dy)
        ox, oy = -dy / n * width / 2, dx / n * width / 2
        self.polygon([(xa + ox, ya + oy), (xb + ox, yb + oy), (xb - ox, yb - oy),
                      (xa - ox, ya - oy)], colour)

    def rgba_bytes(self):
        rows = []
        for y in range(self.h):
            row = bytearray([0])  # filter: none
            for x in range(self.w):
                row.extend(max(0, min(255, int(round(c)))) for c in self.px[y * self.w + x])
            rows.append(bytes(row))
        return b"".join(rows)


def png(canvas):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(canvas.rgba_bytes(), 9)) + chunk(b"IEND", b""))


def ico(images):
    """An icon file whose entries are PNG images, as Windows Vista and later read them."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


RED = (200, 24, 24, 255)
DARK_RED = (120, 8, 8, 255)
WHITE = (255, 255, 255, 255)
BROWN = (128, 64, 0, 255)
PEACH = (255, 224, 192, 255)
ORANGE = (240, 140, 30, 255)
YELLOW = (255, 214, 64, 255)
INK = (60, 30, 0, 255)


def icon(size):
    """A red detector dial with a white Q: the ring, the needle-like tail and a centre dot."""
    c = Canvas(size, size)
    s = size / 48.0
    mid = size / 2.0
    c.circle(mid, mid, 23.5 * s, DARK_RED)
    c.circle(mid, mid, 21.5 * s, RED)
    c.ring(mid, mid - 1 * s, 9 * s, 15 * s, WHITE)
    c.thick_line(mid + 5 * s, mid + 5 * s, mid + 16 * s, mid + 17 * s, 6 * s, WHITE)
    if size >= 32:
        c.circle(mid, mid - 1 * s, 3 * s, YELLOW)
    return c


# A 5 x 7 block alphabet for the letters the logo needs.
GLYPHS = {
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "D": ["11100", "10010", "10001", "10001", "10001", "10010", "11100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
}


def block_text(c, text, x, y, cell, colour, gap=1.0):
    for ch in text:
        for row, bits in enumerate(GLYPHS[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    left = x + col * cell
                    top = y + row * cell
                    c.rounded_rect(left, top, left + cell, top + cell, cell * 0.12, colour)
        x += (5 + gap) * cell
    return x


def text_width(text, cell, gap=1.0):
    return len(text) * (5 + gap) * cell - gap * cell


def logo():
    c = Canvas(400, 159, PEACH)
    c.rounded_rect(2, 2, 398, 157, 18, BROWN)
    c.rounded_rect(6, 6, 394, 153, 15, ORANGE)
    c.rounded_rect(9, 9, 391, 150, 13, PEACH)
    # The detector: a dial with sound waves coming in from the right.
    cx, cy = 78, 80
    c.circle(cx, cy, 58, DARK_RED)
    c.circle(cx, cy, 54, RED)
    c.ring(cx, cy - 2, 20, 34, WHITE)
    c.thick_line(cx + 12, cy + 12, cx + 38, cy + 40, 13, WHITE)
    c.circle(cx, cy - 2, 7, YELLOW)
    for i, radius in enumerate((66, 74, 82)):
        c.ring(cx, cy, radius, radius + 3.5, (200, 24, 24, 255 - 60 * i), 330, 30)
    # The name in block letters, with a shadow.
    cell = 7.0
    x0 = 172 + (214 - text_width("QUORF", cell)) / 2
    block_text(c, "QUORF", x0 + 3, 30 + 3, cell, (120, 60, 0, 110))
    block_text(c, "QUORF", x0, 30, cell, RED)
    cell2 = 5.0
    x1 = 172 + (214 - text_width("DETECT", cell2)) / 2
    block_text(c, "DETECT", x1 + 2, 97 + 2, cell2, (120, 60, 0, 110))
    block_text(c, "DETECT", x1, 97, cell2, INK)
    return c


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    icons = {}
    for size in (16, 32, 48):
        data = png(icon(size))
        icons[size] = data
        write(os.path.join(OUT, "icons", "qfd-%d.png" % size), data)
    write(os.path.join(OUT, "icons", "qfd.ico"), ico(sorted(icons.items())))
    write(os.path.join(OUT, "logo.png"), png(logo()))


if __name__ == "__main__":
    main()

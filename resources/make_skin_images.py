#!/usr/bin/env python3
"""Draws the images that Doravel's skin names, from simple shapes, as RGBA PNG files.

    make_skin_images.py OUTPUT_DIR

Writes OUTPUT_DIR/themes/default/public/... ; the output is the same on every run.
"""
import pathlib
import struct
import sys
import zlib

GREEN = (43, 172, 57)
BLUE = (45, 140, 240)
WHITE = (255, 255, 255)
GREY = (141, 147, 153)
LIGHT = (213, 217, 222)
RED = (224, 65, 58)
BLACK = (0, 0, 0)


class Canvas:
    """RGBA pixels; shapes are anti-aliased by 4x4 supersampling."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[0, 0, 0, 0] for _ in range(width * height)]

    def shape(self, inside, colour, alpha=255):
        for y in range(self.height):
            for x in range(self.width):
                hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
                if hits:
                    self.blend(x, y, colour, alpha * hits / 16)

    def blend(self, x, y, colour, alpha):
        pixel = self.pixels[y * self.width + x]
        a = alpha / 255
        out = a + pixel[3] / 255 * (1 - a)
        for c in range(3):
            under = pixel[c] * pixel[3] / 255 * (1 - a)
            pixel[c] = round((colour[c] * a + under) / out) if out else 0
        pixel[3] = round(out * 255)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour, alpha=255):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
        self.shape(inside, colour, alpha)

    def triangle(self, points, colour, alpha=255):
        (ax, ay), (bx, by), (cx, cy) = points

        def side(px, py, qx, qy, x, y):
            return (qx - px) * (y - py) - (qy - py) * (x - px)

        def inside(x, y):
            d = (side(ax, ay, bx, by, x, y), side(bx, by, cx, cy, x, y), side(cx, cy, ax, ay, x, y))
            return all(v >= 0 for v in d) or all(v <= 0 for v in d)
        self.shape(inside, colour, alpha)

    def line(self, xa, ya, xb, yb, width, colour, alpha=255):
        length2 = (xb - xa) ** 2 + (yb - ya) ** 2

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - xa) * (xb - xa) + (y - ya) * (yb - ya)) / length2))
            px, py = xa + t * (xb - xa), ya + t * (yb - ya)
            return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
        self.shape(inside, colour, alpha)

    def png(self):
        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
        rows = b"".join(b"\0" + bytes(v for p in self.pixels[y * self.width:(y + 1) * self.width] for v in p)
                        for y in range(self.height))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
                + chunk(b"IEND", b""))


def shade(colour, factor):
    return tuple(min(255, round(c * factor)) for c in colour)


def shadow():
    # 64 x 64 with corners of 30: the alpha falls off over the outer 14 pixels.
    c = Canvas(64, 64)
    for step in range(14):
        c.rounded_rect(step, step, 64 - step, 64 - step, 16, BLACK, 4 + step)
    return c


def combo_arrow():
    c = Canvas(20, 20)
    c.triangle(((6, 8), (14, 8), (10, 13)), LIGHT)
    return c


def close_button(state):
    c = Canvas(34, 34)
    if state != "normal":
        c.rounded_rect(0, 0, 34, 34, 0, RED if state == "hot" else shade(RED, 0.8))
    c.line(12, 12, 22, 22, 1.6, WHITE)
    c.line(22, 12, 12, 22, 1.6, WHITE)
    return c


def spin(up, state):
    c = Canvas(20, 11)
    c.rounded_rect(0, 0, 20, 11, 2, {"normal": (59, 64, 70), "hot": (69, 75, 82), "pushed": (43, 46, 51)}[state])
    points = ((6, 8), (14, 8), (10, 3)) if up else ((6, 3), (14, 3), (10, 8))
    c.triangle(points, LIGHT)
    return c


def push_button(width, height, colour, state, border=None):
    c = Canvas(width, height)
    fill = {"normal": colour, "hot": shade(colour, 1.12), "pushed": shade(colour, 0.85),
            "disabled": shade(colour, 0.55)}[state]
    if border:
        c.rounded_rect(0, 0, width, height, 3, border)
        c.rounded_rect(1, 1, width - 1, height - 1, 2, fill)
    else:
        c.rounded_rect(0, 0, width, height, 3, fill)
    return c


def check_box(ticked, hot):
    c = Canvas(16, 16)
    c.rounded_rect(0, 0, 16, 16, 2, GREEN if hot or ticked else GREY)
    c.rounded_rect(1.5, 1.5, 14.5, 14.5, 1.5, GREEN if ticked else (59, 64, 70))
    if ticked:
        c.line(4, 8, 7, 11, 1.8, WHITE)
        c.line(7, 11, 12, 5, 1.8, WHITE)
    return c


def images():
    yield "bk/bk_shadow.png", shadow()
    yield "combo/default_norm_20x20.png", combo_arrow()
    for state in ("normal", "hot", "pushed"):
        yield f"button/close_{state}.png", close_button(state)
        yield f"button/spin_up_{state}.png", spin(True, state)
        yield f"button/spin_down_{state}.png", spin(False, state)
        yield f"button/blue_80x30_{state}.png", push_button(80, 30, BLUE, state)
        yield f"button/white_80x30_{state}.png", push_button(80, 30, WHITE, state, border=LIGHT)
    for state in ("normal", "hot", "pushed", "disabled"):
        yield f"button/green_75x29_{state}.png", push_button(75, 29, GREEN, state)
    for ticked in (False, True):
        for hot in (False, True):
            yield f"checkbox/check_{'yes' if ticked else 'no'}{'_hot' if hot else ''}.png", check_box(ticked, hot)


def main():
    public = pathlib.Path(sys.argv[1]) / "themes" / "default" / "public"
    for name, canvas in images():
        path = public / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(canvas.png())


if __name__ == "__main__":
    main()

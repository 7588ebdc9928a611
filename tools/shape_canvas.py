"""RGBA canvases with anti-aliased shapes and their PNG bytes, for the image generators that
draw the programs' artwork at build time (kelvane/res/make_art.py, resources/make_skin_images.py)."""
import math
import struct
import zlib


class Canvas:
    """RGBA pixels with anti-aliased shapes drawn by 4x4 supersampling."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [list(fill) for _ in range(width * height)]

    def shape(self, inside, colour, alpha=255, solid=lambda x, y: False):
        """Paints every pixel by the share of its 16 sample points for which inside(x, y);
        solid(x, y) may tell pixels that lie wholly inside, which need no sampling."""
        for y in range(self.height):
            for x in range(self.width):
                if solid(x, y):
                    hits = 16
                else:
                    hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4)
                               for i in range(4) for j in range(4))
                if hits:
                    self.blend(x, y, colour, alpha * hits / 16)

    def blend(self, x, y, colour, alpha):
        pixel = self.pixels[y * self.width + x]
        a = alpha / 255
        out_alpha = a + pixel[3] / 255 * (1 - a)
        for c in range(3):
            under = pixel[c] * pixel[3] / 255 * (1 - a)
            pixel[c] = round((colour[c] * a + under) / out_alpha) if out_alpha else 0
        pixel[3] = round(out_alpha * 255)

    def circle(self, cx, cy, r, colour, alpha=255):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour, alpha)

    def ring(self, cx, cy, r, width, colour, alpha=255, lower_half=False):
        self.shape(lambda x, y: (r - width) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r
                   and (not lower_half or y >= cy), colour, alpha)

    def rect(self, x0, y0, x1, y1, colour, alpha=255, radius=0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            dx = max(x0 + radius - x, 0, x - (x1 - radius))
            dy = max(y0 + radius - y, 0, y - (y1 - radius))
            return dx * dx + dy * dy <= radius * radius

        def solid(x, y):
            return (x0 <= x and x + 1 <= x1 and y0 <= y and y + 1 <= y1
                    and (x0 + radius <= x and x + 1 <= x1 - radius
                         or y0 + radius <= y and y + 1 <= y1 - radius))
        self.shape(inside, colour, alpha, solid)

    def line(self, xa, ya, xb, yb, width, colour, alpha=255):
        length = math.hypot(xb - xa, yb - ya)

        def inside(x, y):
            t = max(0, min(1, ((x - xa) * (xb - xa) + (y - ya) * (yb - ya)) / length ** 2))
            return math.hypot(x - (xa + t * (xb - xa)), y - (ya + t * (yb - ya))) <= width / 2
        self.shape(inside, colour, alpha)

    def triangle(self, points, colour, alpha=255):
        (ax, ay), (bx, by), (cx, cy) = points

        def side(px, py, qx, qy, x, y):
            return (qx - px) * (y - py) - (qy - py) * (x - px)

        def inside(x, y):
            d = (side(ax, ay, bx, by, x, y), side(bx, by, cx, cy, x, y), side(cx, cy, ax, ay, x, y))
            return all(v >= 0 for v in d) or all(v <= 0 for v in d)
        self.shape(inside, colour, alpha)

    def rows(self):
        return [self.pixels[y * self.width:(y + 1) * self.width] for y in range(self.height)]


def png_bytes(canvas):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in canvas.rows())
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

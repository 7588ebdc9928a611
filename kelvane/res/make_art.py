#!/usr/bin/env python3
"""Draws Kelvane's bitmaps, icons and PNG images from simple shapes.

    make_art.py OUTPUT_DIR

Writes the files that Kelvane.rc names: PNG images (RGBA), 24-bit button bitmaps and
icons with 16, 32 and 48 pixel images (32-bit DIB entries with an AND mask).
"""
import math
import os
import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))
from shape_canvas import Canvas, png_bytes  # noqa: E402

GREEN = (43, 172, 57)
GREY = (180, 180, 180)
WHITE = (255, 255, 255)
DARK = (34, 36, 40)
PANEL = (48, 51, 56)


def bmp_bytes(canvas, background):
    """24-bit bottom-up bitmap, the alpha blended over the background colour."""
    stride = (canvas.width * 3 + 3) & ~3
    body = b""
    for row in reversed(canvas.rows()):
        line = b""
        for r, g, b, a in row:
            line += bytes(round(c * a / 255 + bg * (255 - a) / 255)
                          for c, bg in ((b, background[2]), (g, background[1]), (r, background[0])))
        body += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(body),
                       2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 54) + info + body


def icon_bytes(canvases):
    """An .ico with one 32-bit DIB image (colour plus AND mask) per canvas."""
    images = []
    for canvas in canvases:
        colour = b"".join(bytes((b, g, r, a)) for row in reversed(canvas.rows())
                          for r, g, b, a in row)
        mask_stride = ((canvas.width + 31) // 32) * 4
        mask = b"\0" * (mask_stride * canvas.height)
        info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 32, 0,
                           len(colour) + len(mask), 0, 0, 0, 0)
        images.append((canvas, info + colour + mask))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for canvas, image in images:
        entries += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32,
                               len(image), offset + len(data))
        data += image
    return directory + entries + data


def microphone(size, colour):
    """A white microphone on a round badge."""
    c = Canvas(size, size)
    s = size / 16
    c.circle(size / 2, size / 2, size / 2 - 0.25, colour)
    c.rect(6 * s, 3 * s, 10 * s, 9.5 * s, WHITE, radius=2 * s)
    c.ring(8 * s, 7.5 * s, 4 * s, 1.1 * s, WHITE, lower_half=True)
    c.rect(7.45 * s, 11.4 * s, 8.55 * s, 13 * s, WHITE)
    return c


def translation(size, colour):
    """Two overlapping pages on a round badge."""
    c = Canvas(size, size)
    s = size / 16
    c.circle(size / 2, size / 2, size / 2 - 0.25, colour)
    c.rect(3.5 * s, 3.5 * s, 9.5 * s, 9.5 * s, WHITE, radius=1 * s)
    c.rect(6.5 * s, 6.5 * s, 12.5 * s, 12.5 * s, WHITE, alpha=200, radius=1 * s)
    c.rect(7.5 * s, 9 * s, 11.5 * s, 10 * s, colour)
    return c


def network(size, connected):
    c = Canvas(size, size)
    colour = GREEN if connected else GREY
    c.circle(size / 2, size / 2, size / 2 - 0.5, colour)
    if not connected:
        c.line(size * 0.25, size * 0.25, size * 0.75, size * 0.75, size / 8, WHITE)
    return c


def button_strip(draw):
    """Four 16x16 states side by side: normal, hover, pressed, disabled."""
    c = Canvas(64, 16, (*DARK, 255))
    for state, (colour, back) in enumerate(((WHITE, DARK), (WHITE, PANEL), (GREEN, PANEL),
                                            (GREY, DARK))):
        c.rect(state * 16, 0, state * 16 + 15.99, 15.99, back)
        draw(c, state * 16, colour)
    return c


def close_glyph(c, x, colour):
    c.line(x + 4.5, 4.5, x + 11.5, 11.5, 1.5, colour)
    c.line(x + 11.5, 4.5, x + 4.5, 11.5, 1.5, colour)


def ai_glyph(c, x, colour):
    c.ring(x + 8, 8, 5.5, 1.5, colour)
    c.circle(x + 8, 8, 2, colour)


def dictation_glyph(c, x, colour):
    for dx in (4.5, 8, 11.5):
        c.circle(x + dx, 8, 1.4, colour)


def background():
    c = Canvas(330, 520)
    c.rect(0, 0, 329.99, 519.99, PANEL, radius=8)
    c.rect(1, 1, 328.99, 518.99, DARK, radius=7)
    return c


def art():
    yield "kelvane.ico", icon_bytes([microphone(n, GREEN) for n in (16, 32, 48)])
    yield "tray_online.ico", icon_bytes([microphone(n, GREEN) for n in (16, 32)])
    yield "tray_offline.ico", icon_bytes([microphone(n, GREY) for n in (16, 32)])
    yield "close_button.bmp", bmp_bytes(button_strip(close_glyph), DARK)
    yield "mode_ai.bmp", bmp_bytes(button_strip(ai_glyph), DARK)
    yield "mode_dictation.bmp", bmp_bytes(button_strip(dictation_glyph), DARK)
    yield "kelvane_bg.png", png_bytes(background())
    yield "icon_imewidget.png", png_bytes(microphone(40, GREEN))
    yield "icon_imewidget_grey.png", png_bytes(microphone(40, GREY))
    yield "icon_translation.png", png_bytes(translation(40, GREEN))
    yield "icon_translation_grey.png", png_bytes(translation(40, GREY))
    yield "icon_network_connected.png", png_bytes(network(12, True))
    yield "icon_network_disconnected.png", png_bytes(network(12, False))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in art():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the images that Doravel's skin names, from simple shapes, as RGBA PNG files.

    make_skin_images.py OUTPUT_DIR

Writes OUTPUT_DIR/themes/default/public/... ; the output is the same on every run.
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tools"))
from shape_canvas import Canvas, png_bytes  # noqa: E402

GREEN = (43, 172, 57)
BLUE = (45, 140, 240)
WHITE = (255, 255, 255)
GREY = (141, 147, 153)
LIGHT = (213, 217, 222)
RED = (224, 65, 58)
BLACK = (0, 0, 0)


def shade(colour, factor):
    return tuple(min(255, round(c * factor)) for c in colour)


def shadow():
    # 64 x 64 with corners of 30: the alpha falls off over the outer 14 pixels.
    c = Canvas(64, 64)
    for step in range(14):
        c.rect(step, step, 64 - step, 64 - step, BLACK, 4 + step, radius=16)
    return c


def combo_arrow():
    c = Canvas(20, 20)
    c.triangle(((6, 8), (14, 8), (10, 13)), LIGHT)
    return c


def close_button(state):
    c = Canvas(34, 34)
    if state != "normal":
        c.rect(0, 0, 34, 34, RED if state == "hot" else shade(RED, 0.8))
    # Grey shows on the dark settings window and on the message box's light caption alike.
    cross = GREY if state == "normal" else WHITE
    c.line(12, 12, 22, 22, 1.6, cross)
    c.line(22, 12, 12, 22, 1.6, cross)
    return c


def spin(up, state):
    c = Canvas(20, 11)
    c.rect(0, 0, 20, 11, {"normal": (59, 64, 70), "hot": (69, 75, 82), "pushed": (43, 46, 51)}[state], radius=2)
    points = ((6, 8), (14, 8), (10, 3)) if up else ((6, 3), (14, 3), (10, 8))
    c.triangle(points, LIGHT)
    return c


def push_button(width, height, colour, state, border=None):
    c = Canvas(width, height)
    fill = {"normal": colour, "hot": shade(colour, 1.12), "pushed": shade(colour, 0.85),
            "disabled": shade(colour, 0.55)}[state]
    if border:
        c.rect(0, 0, width, height, border, radius=3)
        c.rect(1, 1, width - 1, height - 1, fill, radius=2)
    else:
        c.rect(0, 0, width, height, fill, radius=3)
    return c


def check_box(ticked, hot):
    c = Canvas(16, 16)
    c.rect(0, 0, 16, 16, GREEN if hot or ticked else GREY, radius=2)
    c.rect(1.5, 1.5, 14.5, 14.5, GREEN if ticked else (59, 64, 70), radius=1.5)
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
        path.write_bytes(png_bytes(canvas))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws the default skin and writes its source folder for uirpack.

    make_skin.py OUT_DIR

OUT_DIR receives skin.json (the description: style tree "cfg" and blob directory
"res"), one PNG per image id and one JSON font record per font id. Everything is
drawn here from shapes, so the package is reproducible from the repository alone.
"""
import base64
import json
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw import (Canvas, circle, clamp, hex_rgb, mix, polygon, polyline, ring, rrect, segment,  # noqa: E402
                  subtract, union)

# Window and page geometry fixed by the installer window.
WINDOW_W, WINDOW_H = 528, 348
TITLE_H = 40
PAGE_Y, PAGE_H = 48, 300
BAND_H = 168  # the coloured band at the top of the hero pages

# Palette.
BRAND = hex_rgb("2F6BF5")
BRAND_LIGHT = hex_rgb("4C86FF")
BRAND_DARK = hex_rgb("2352D4")
VIOLET = hex_rgb("6B4CF2")
WHITE = (1.0, 1.0, 1.0)
BLACK = (0.0, 0.0, 0.0)
INK = hex_rgb("333333")
GREY = hex_rgb("7F7F7F")
BORDER = hex_rgb("D6DCE6")
TINT = hex_rgb("ECF2FF")
DISABLED_FILL = hex_rgb("F2F4F8")
DISABLED_BORDER = hex_rgb("E3E7EE")


def colorref(rgb):
    """The skin's "cr": red in the low byte."""
    r, g, b = (int(round(c * 255)) for c in rgb)
    return r | g << 8 | b << 16


def outlined_rrect(canvas, x0, y0, x1, y1, radius, fill, border, dy=0):
    canvas.fill(rrect(x0, y0 + dy, x1, y1 + dy, radius), border)
    canvas.fill(rrect(x0 + 1, y0 + 1 + dy, x1 - 1, y1 - 1 + dy, radius - 1), fill)


# --- images -------------------------------------------------------------------

def client_background():
    """Title colour for the 8 rows under the title strip, white below."""
    c = Canvas(4, 12, WHITE, 1.0)
    c.fill_rect(0, 0, 4, PAGE_Y - TITLE_H, BRAND)
    return c


def band_colour(x, y):
    t = clamp(y / BAND_H) * (0.45 + 0.55 * x / WINDOW_W)
    return mix(BRAND, VIOLET, t)


def hero_band():
    """The page background of the hero pages: a gradient band with a soft wave."""
    c = Canvas(WINDOW_W, PAGE_H, WHITE, 1.0)

    def wave(x):
        return BAND_H - 10 + 7 * math.sin(x / WINDOW_W * 2 * math.pi * 0.9 + 0.8)

    for x in range(WINDOW_W):
        edge = wave(x + 0.5)
        for y in range(0, int(edge) + 2):
            coverage = clamp(edge - y)
            if coverage > 0:
                c.blend(y * WINDOW_W + x, band_colour(x + 0.5, y + 0.5), coverage)
    # Soft light discs, clipped to the band.
    for cx, cy, r, a in ((40, 30, 70, 0.07), (470, 10, 90, 0.06), (400, 130, 46, 0.08), (120, 140, 30, 0.07),
                         (300, -20, 50, 0.05), (505, 120, 22, 0.10)):
        disc, box = circle(cx, cy, r)
        clipped = (lambda x, y, disc=disc: max(disc(x, y), y - wave(x))), box
        c.fill(clipped, WHITE, a)
    return c


def glass_card(c, cx, cy, size=96):
    h = size / 2.0
    shadow_shape = rrect(cx - h, cy - h + 4, cx + h, cy + h + 4, 24)[0]
    # Only outside the card: under it the shadow would show through the glass.
    card = rrect(cx - h, cy - h, cx + h, cy + h, 24)[0]

    def shadow(x, y):
        d = shadow_shape(x, y)
        return 0.10 * math.exp(-(max(d, 0.0) / 7.0) ** 2) * clamp(card(x, y) + 0.5)
    c.shade(shadow, hex_rgb("1B2A80"), (int(cx - h - 20), int(cy - h - 14), int(cx + h + 20), int(cy + h + 26)))
    c.fill(rrect(cx - h, cy - h, cx + h, cy + h, 24), WHITE, 0.16)
    c.fill(subtract(rrect(cx - h, cy - h, cx + h, cy + h, 24), rrect(cx - h + 1, cy - h + 1, cx + h - 1, cy + h - 1, 23)),
           WHITE, 0.35)


def glyph_gamepad(c, cx, cy):
    body = union(rrect(cx - 30, cy - 14, cx + 30, cy + 12, 13), circle(cx - 19, cy + 7, 12), circle(cx + 19, cy + 7, 12))
    c.fill(body, WHITE)
    cross = union(rrect(cx - 26, cy - 2, cx - 12, cy + 2, 1.5), rrect(cx - 21, cy - 7, cx - 17, cy + 7, 1.5))
    c.fill(cross, BRAND)
    c.fill(circle(cx + 15, cy - 2, 3.2), VIOLET)
    c.fill(circle(cx + 22, cy + 4, 3.2), BRAND)
    c.fill(rrect(cx - 5, cy - 8, cx + 5, cy - 5, 1.5), hex_rgb("C9D6FF"))


def glyph_download(c, cx, cy, colour=WHITE):
    c.fill(segment(cx, cy - 24, cx, cy + 8, 6), colour)
    c.fill(polyline([(cx - 13, cy - 5), (cx, cy + 8), (cx + 13, cy - 5)], 6), colour)
    c.fill(polyline([(cx - 24, cy + 6), (cx - 24, cy + 21), (cx + 24, cy + 21), (cx + 24, cy + 6)], 6), colour)


def glyph_check(c, cx, cy, colour=WHITE, width=7, scale=1.0):
    s = scale
    c.fill(polyline([(cx - 18 * s, cy + 1 * s), (cx - 5 * s, cy + 13 * s), (cx + 20 * s, cy - 13 * s)], width), colour)


def glyph_retry(c, cx, cy, colour=WHITE):
    arc = ring(cx, cy, 19, 6)
    gap = polygon([(cx, cy), (cx + 40, cy - 40), (cx + 40, cy - 4)])
    c.fill(subtract(arc, gap), colour)
    # Arrow head at the end of the arc, pointing along it.
    ex, ey = cx + 19 * math.cos(math.radians(-45)), cy + 19 * math.sin(math.radians(-45))
    c.fill(polygon([(ex - 9, ey - 6), (ex + 9, ey - 8), (ex + 3, ey + 9)]), colour)


def glyph_trash(c, cx, cy, colour):
    c.fill(segment(cx - 17, cy - 14, cx + 17, cy - 14, 4), colour)
    c.fill(segment(cx - 5, cy - 20, cx + 5, cy - 20, 4), colour)
    c.fill(polyline([(cx - 13, cy - 8), (cx - 10, cy + 20), (cx + 10, cy + 20), (cx + 13, cy - 8)], 4), colour)
    c.fill(segment(cx - 4, cy - 2, cx - 4, cy + 13, 3), colour)
    c.fill(segment(cx + 4, cy - 2, cx + 4, cy + 13, 3), colour)


# Where each emblem sits in the emblem atlas (x, y, w, h).
EMBLEMS = {"install": (0, 0, 140, 140), "finish": (140, 0, 140, 140), "retry": (280, 0, 140, 140),
           "progress": (0, 140, 380, 250)}


def emblem_atlas():
    """The emblems of the hero pages in one image: glass cards with white glyphs."""
    c = Canvas(420, 390)
    for name, glyph in (("install", glyph_gamepad), ("finish", glyph_check), ("retry", glyph_retry),
                        ("progress", glyph_download)):
        x, y, w, h = EMBLEMS[name]
        glass_card(c, x + w / 2.0, y + 64)
        glyph(c, x + w / 2.0, y + 64)
    feature_tiles(c, 0, 140)
    return c


def feature_tiles(c, ox, oy):
    """Three feature tiles under the progress page's card, on white."""
    for i, cx in enumerate((ox + 80, ox + 190, ox + 300)):
        cy = oy + 210
        outlined_rrect(c, cx - 27, cy - 27, cx + 27, cy + 27, 15, TINT, hex_rgb("DCE6FF"))
        if i == 0:  # play
            c.fill(polygon([(cx - 7, cy - 11), (cx + 12, cy), (cx - 7, cy + 11)]), BRAND)
        elif i == 1:  # speed
            c.fill(polygon([(cx + 3, cy - 15), (cx - 10, cy + 3), (cx - 1, cy + 3), (cx - 4, cy + 15),
                            (cx + 10, cy - 3), (cx + 1, cy - 3)]), VIOLET)
        else:  # many at once
            c.fill(subtract(rrect(cx - 12, cy - 12, cx + 6, cy + 6, 4), rrect(cx - 9, cy - 9, cx + 3, cy + 3, 2)), BRAND)
            c.fill(rrect(cx - 4, cy - 4, cx + 13, cy + 13, 4), BRAND)


def page_emblem(glyph):
    """Emblem of a white page: a tinted disc with a brand glyph."""
    c = Canvas(120, 120)
    c.fill(circle(60, 60, 44), TINT)
    c.fill(ring(60, 60, 52, 1.5), hex_rgb("DCE6FF"))
    glyph(c, 60, 60)
    return c


def white_tile():
    return Canvas(4, 4, WHITE, 1.0)


def frame_atlas():
    """94 x 94: the frame (40 x 40 at (27, 22)) and the drop shadow around it."""
    c = Canvas(94, 94)
    box = rrect(27, 25, 67, 63, 3)[0]  # the shadow is cast a little downwards

    def shadow(x, y):
        d = box(x, y)
        return 0.30 * math.exp(-(max(d, 0.0) / 8.5) ** 2) if d > -20 else 0.0
    c.shade(shadow, hex_rgb("0F1A3C"))
    c.fill_rect(27, 22, 67, 62, BRAND)
    return c


def state_strip(width, height, step, count, paint_state):
    c = Canvas(width, 1 + step * count)
    for i in range(count):
        paint_state(c, i, 1 + step * i)
    return c


def primary_button_strip():
    """PublishBtn: 24 x 48 per state at y 1, 50, 99, 148 (normal, lighted, pressed, grayed)."""
    looks = [(hex_rgb("3F7DFF"), hex_rgb("2D62EE"), 0.22), (hex_rgb("5A92FF"), hex_rgb("3C73F7"), 0.26),
             (hex_rgb("2A5AD8"), hex_rgb("244FC8"), 0.0), (hex_rgb("BFCBE6"), hex_rgb("BFCBE6"), 0.0)]

    def paint(c, i, y):
        top, bottom, shadow = looks[i]
        if shadow:
            c.fill(rrect(1, y + 3, 23, y + 48, 9), hex_rgb("1D3FA8"), shadow)
        c.fill(rrect(0, y, 24, y + 46, 9), lambda px, py: mix(top, bottom, clamp((py - y) / 46)))
    return state_strip(24, 48, 49, 4, paint)


def small_button_strip():
    """ButtonOK: 10 x 28 per state at y 1, 30, 59, 88."""
    def paint(c, i, y):
        if i == 0:
            outlined_rrect(c, 0, y, 10, y + 28, 4, WHITE, BORDER)
        elif i == 1:
            c.fill(rrect(0, y, 10, y + 28, 4), BRAND)
        elif i == 2:
            c.fill(rrect(0, y, 10, y + 28, 4), BRAND_DARK)
        else:
            outlined_rrect(c, 0, y, 10, y + 28, 4, DISABLED_FILL, DISABLED_BORDER)
    return state_strip(10, 28, 29, 4, paint)


def browse_button_strip():
    """ButtonBrowser: 10 x 32 per state at y 1, 34, 67, 100."""
    looks = [(WHITE, hex_rgb("B9CCF7")), (hex_rgb("EEF3FF"), BRAND), (hex_rgb("DCE6FF"), BRAND_DARK),
             (DISABLED_FILL, DISABLED_BORDER)]

    def paint(c, i, y):
        outlined_rrect(c, 0, y, 10, y + 32, 4, looks[i][0], looks[i][1])
    return state_strip(10, 32, 33, 4, paint)


def edit_box():
    c = Canvas(10, 32)
    outlined_rrect(c, 0, 0, 10, 32, 4, WHITE, BORDER)
    return c


def check_box_strip():
    """12 x 12 per state at y 0, 13, 26, 39: unchecked, lighted, checked, grayed."""
    c = Canvas(12, 51)
    outlined_rrect(c, 0, 0, 12, 12, 3, WHITE, hex_rgb("B3BDCE"))
    outlined_rrect(c, 0, 13, 12, 25, 3, WHITE, BRAND)
    c.fill(rrect(0, 26, 12, 38, 3), BRAND)
    c.fill(polyline([(3.0, 32.2), (5.2, 34.4), (9.2, 29.8)], 1.7), WHITE)
    outlined_rrect(c, 0, 39, 12, 51, 3, hex_rgb("EEF1F5"), BORDER)
    return c


def progress_strip():
    """64 x 8: the track (rows 0-3) and the fill gradient (rows 4-7)."""
    c = Canvas(64, 8, hex_rgb("E4E9F2"), 1.0)
    c.fill_rect(0, 4, 64, 8, lambda x, y: mix(BRAND, VIOLET, x / 64.0))
    return c


def line_tile():
    return Canvas(4, 4, hex_rgb("E6EAF0"), 1.0)


def back_chevron():
    """8 x 12 twice: grey, then brand for the lighted state."""
    c = Canvas(16, 12)
    for ox, colour in ((0, GREY), (8, BRAND)):
        c.fill(polyline([(ox + 5.5, 2.0), (ox + 1.8, 6.0), (ox + 5.5, 10.0)], 1.6), colour)
    return c


def close_button_strip():
    """34 x 28 per state at y 1, 30, 59, 88: normal, lighted, pressed, grayed."""
    def paint(c, i, y):
        if i == 1:
            c.fill(rrect(2, y + 1, 32, y + 27, 5), WHITE, 0.18)
        elif i == 2:
            c.fill(rrect(2, y + 1, 32, y + 27, 5), BLACK, 0.16)
        cx, cy = 17, y + 14
        cross = union(segment(cx - 5, cy - 5, cx + 5, cy + 5, 1.7), segment(cx - 5, cy + 5, cx + 5, cy - 5, 1.7))
        c.fill(cross, WHITE, 0.5 if i == 3 else 1.0)
    return state_strip(34, 28, 29, 4, paint)


# --- description ----------------------------------------------------------------

IMAGES = {
    100: ("client.png", client_background),
    101: ("hero_band.png", hero_band),
    102: ("emblems.png", emblem_atlas),
    103: ("done_emblem.png", lambda: page_emblem(lambda c, x, y: glyph_check(c, x, y, BRAND, 6, 0.9))),
    104: ("white.png", white_tile),
    105: ("uninstall_emblem.png", lambda: page_emblem(lambda c, x, y: glyph_trash(c, x, y, BRAND))),
    108: ("progress.png", progress_strip),
    109: ("checkbox.png", check_box_strip),
    110: ("line.png", line_tile),
    111: ("primary_button.png", primary_button_strip),
    112: ("button.png", small_button_strip),
    113: ("editbox.png", edit_box),
    114: ("browse_button.png", browse_button_strip),
    115: ("back.png", back_chevron),
    117: ("frame.png", frame_atlas),
    119: ("close.png", close_button_strip),
}

SHARED_FONT = {"CharSet": 134, "ClipPrecision": 2, "OutPrecision": 3, "PitchAndFamily": 34, "Quality": 1}
FONTS = {
    116: ("font_text.json", dict(SHARED_FONT, Height=-14)),
    118: ("font_large.json", dict(SHARED_FONT, Height=-21)),
    120: ("font_link.json", dict(SHARED_FONT, Underline=1)),
}

STATES = ("normal", "lighted", "pressed", "grayed")


def image(bi, bg, mg=None, **extra):
    style = {"bi": bi, "bg": list(bg)}
    if mg:
        style["mg"] = list(mg)
    style.update(extra)
    return style


def text(cr, al, ft=0, **extra):
    style = {"ft": ft, "cr": colorref(cr) if isinstance(cr, tuple) else cr, "al": al}
    style.update(extra)
    return style


def strip_states(bi, width, height, first, step, mg):
    return {state: image(bi, (0, first + step * i, width, height), mg) for i, state in enumerate(STATES)}


def text_states(colours, al, ft=0, margin=(0, 0, 0, 0)):
    node = {"margin": list(margin)}
    for state, colour in zip(STATES, colours):
        node[state] = text(colour, al, ft)
    return node


def description():
    white_page = image(104, (0, 0, 4, 4))

    def pane(emblem, band=True, offset=(0, 24)):
        """A page background with its emblem centred at the top."""
        if band:
            style = dict(image(101, (0, 0, WINDOW_W, PAGE_H)), fi=102, fg=list(EMBLEMS[emblem]))
        else:
            style = dict(white_page, fi=emblem, fg=[0, 0, 120, 120])
        style.update({"al": 2, "of": list(offset)})
        return {"size": [0, 0, 0, 0], "bkgnd": style}

    link_text = lambda normal, lighted, ft=0: {  # noqa: E731
        "margin": [0, 0, 0, 0], "normal": text(normal, 36, ft), "lighted": text(lighted, 36, ft),
        "pressed": text(BRAND_DARK, 36, ft), "grayed": text(hex_rgb("B0B0B0"), 36, ft)}

    main = {
        "Client": {"bkgnd": image(100, (0, 0, 4, 12), (0, PAGE_Y - TITLE_H, 0, 0))},
        "Frames": {side: {"normal": image(117, rect), "grayed": image(117, rect)} for side, rect in (
            ("Top", (27, 22, 40, 40)), ("Left", (27, 22, 1, 40)), ("Right", (66, 22, 1, 40)),
            ("Bottom", (27, 61, 40, 1)))},
        "SysBtns": {"Close": dict({"id": 2001, "size": [-40, 10, 34, 28]}, **strip_states(119, 34, 28, 1, 29, None))},
        "title": {"size": [0, 0, 0, 0], "text": text(WHITE, 36, 116)},
        "Label1": {"size": [0, 0, 0, 0], "text": text(8355711, 37)},
        "Label2": {"size": [0, 0, 0, 0], "text": text(INK, 36, 116)},
        "Pane1": pane("install"),
        "Pane2": pane("progress"),
        "Pane3": pane(103, band=False, offset=(0, 44)),
        "Pane4": {"size": [0, 0, 0, 0], "bkgnd": white_page},
        "Pane5": pane(105, band=False, offset=(0, 50)),
        "Pane6": pane("finish"),
        "Pane7": pane("retry"),
        "LinePane": {"id": 1010, "size": [20, 28, 488, 1], "bkgnd": image(110, (0, 0, 4, 4))},
        "PublishBtn": dict({"id": 1001, "size": [164, 196, 200, 48],
                            "Text": text_states([16777215] * 4, 37, 118, (0, 0, 0, 2))},
                           **strip_states(111, 24, 48, 1, 49, (10, 10, 10, 10))),
        "ButtonOK": dict({"id": 1002, "size": [165, 181, 200, 48],
                          "Text": text_states([8355711, 16777215, 16777215, 8355711], 37, 116, (4, 4, 4, 4))},
                         **strip_states(112, 10, 28, 1, 29, (4, 4, 4, 4))),
        "ButtonBrowser": dict({"id": 1003, "size": [404, 62, 70, 32],
                               "Text": text_states([BRAND, BRAND, BRAND_DARK, hex_rgb("B0B0B0")], 37, 0, (4, 4, 4, 4))},
                              **strip_states(114, 10, 32, 1, 33, (4, 4, 4, 4))),
        "WordBtn": {"id": 1004, "size": [0, 0, 0, 0], "Text": link_text(GREY, BRAND)},
        "WordBtn2": {"id": 1005, "size": [0, 0, 0, 0], "Text": link_text(BRAND, BRAND_LIGHT, 120)},
        "ReturnBtn": {"id": 1006, "size": [0, 0, 0, 0],
                      "normal": {"fi": 115, "fg": [0, 0, 8, 12], "al": 8},
                      "lighted": {"fi": 115, "fg": [8, 0, 8, 12], "al": 8},
                      "pressed": {"fi": 115, "fg": [8, 0, 8, 12], "al": 8},
                      "grayed": {"fi": 115, "fg": [0, 0, 8, 12], "al": 8},
                      "Text": dict(link_text(GREY, BRAND), margin=[12, 0, 0, 0])},
        "CheckBox": {"id": 1007, "size": [0, 0, 0, 0],
                     "normal": {"fi": 109, "fg": [0, 0, 12, 12], "al": 8},
                     "lighted": {"fi": 109, "fg": [0, 13, 12, 12], "al": 8},
                     "pressed": {"fi": 109, "fg": [0, 26, 12, 12], "al": 8},
                     "grayed": {"fi": 109, "fg": [0, 39, 12, 12], "al": 8},
                     "Text": text_states([hex_rgb("555555"), INK, INK, hex_rgb("B0B0B0")], 36, 0, (15, 0, 0, 0))},
        "EditBoxPath": {"id": 1008, "size": [54, 62, 340, 32], "bkgnd": image(113, (0, 0, 10, 32), (4, 4, 4, 4)),
                        "Text": {"margin": [8, 5, 8, 5], "normal": text(INK, 36), "grayed": text(hex_rgb("AAAAAA"), 36)}},
        "EditBoxPath1": {"id": 1009, "size": [40, 190, 448, 54],
                         "bkgnd": image(113, (0, 0, 10, 32), (4, 4, 4, 4)),
                         "Text": {"margin": [6, 4, 6, 4], "normal": text(INK, 0), "grayed": text(hex_rgb("AAAAAA"), 0)}},
        "Progress": {"id": 1011, "size": [0, 0, 0, 0], "bkgnd": image(108, (0, 0, 64, 4)),
                     "frgnd": image(108, (0, 4, 64, 4))},
        "UninstallProgress": {"id": 1012, "size": [0, 0, 0, 0], "bkgnd": image(108, (0, 0, 64, 4)),
                              "frgnd": image(108, (0, 4, 64, 4))},
    }
    meta = {
        "shadeleft": image(117, (0, 22, 27, 40), (0, 19, 0, 19)),
        "shadetop": image(117, (0, 0, 94, 22), (46, 0, 46, 0)),
        "shaderight": image(117, (67, 22, 27, 40), (0, 19, 0, 19)),
        "shadebottom": image(117, (0, 62, 94, 32), (46, 0, 46, 0)),
    }
    res = {"images": [{"id": i, "name": IMAGES[i][0]} for i in sorted(IMAGES)],
           "fonts": [{"id": i, "name": FONTS[i][0]} for i in sorted(FONTS)]}
    return {"cfg": {"MainWindow": main, "Meta": meta}, "res": res}


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_skin.py OUT_DIR\n")
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for ident, (name, draw) in sorted(IMAGES.items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(draw().png())
    for ident, (name, record) in sorted(FONTS.items()):
        with open(os.path.join(out, name), "w", encoding="utf-8") as f:
            json.dump(record, f, sort_keys=True)
    desc = description()
    with open(os.path.join(out, "skin.json"), "w", encoding="utf-8") as f:
        json.dump(desc, f, ensure_ascii=False, indent=1, sort_keys=True)
        f.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

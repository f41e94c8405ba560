#!/usr/bin/env python3
"""Draws the game box's own skin: the bitmaps of assets/skin.

Run it from anywhere; it rewrites the .bmp files next to it (skin.ini is
written by hand). Only the standard library is used. Magenta (255, 0, 255)
is the transparency key of every image.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


class Canvas:
    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.set(xx, yy, c)

    def vgradient(self, x, y, w, h, top, bottom):
        for yy in range(h):
            c = mix(top, bottom, yy / max(h - 1, 1))
            self.rect(x, y + yy, w, 1, c)

    def paste(self, other, x, y):
        for yy in range(other.h):
            for xx in range(other.w):
                self.set(x + xx, y + yy, other.px[yy][xx])

    def rotated(self):
        """A quarter turn clockwise (for vertical scroll parts)."""
        out = Canvas(self.h, self.w)
        for y in range(self.h):
            for x in range(self.w):
                out.px[x][self.h - 1 - y] = self.px[y][x]
        return out

    def transposed(self):
        out = Canvas(self.h, self.w)
        for y in range(self.h):
            for x in range(self.w):
                out.px[x][y] = self.px[y][x]
        return out


def inside_round(x, y, w, h, r):
    """True when (x, y) lies inside a w x h rectangle with corner radius r."""
    for cx, cy in ((r - 0.5, r - 0.5), (w - r - 0.5, r - 0.5),
                   (r - 0.5, h - r - 0.5), (w - r - 0.5, h - r - 0.5)):
        if (x < r and cx == r - 0.5 or x >= w - r and cx == w - r - 0.5) and \
           (y < r and cy == r - 0.5 or y >= h - r and cy == h - r - 0.5):
            return (x - cx) ** 2 + (y - cy) ** 2 <= (r - 0.15) ** 2
    return True


def round_box(c, x0, y0, w, h, r, border, top, bottom, width=1, corners="tlbr"):
    """A box with rounded corners: a border and a vertical gradient inside.
    Pixels outside the rounding stay as they are (the key)."""
    for y in range(h):
        for x in range(w):
            rr = r
            if not inside_round(x, y, w, h, rr):
                # only round the corners that were asked for
                top_half = y < h / 2
                left_half = x < w / 2
                corner = ("t" if top_half else "b") + ("l" if left_half else "r")
                if corner[0] in corners and corner[1] in corners:
                    continue
            edge = x < width or y < width or x >= w - width or y >= h - width
            if not edge and r > 1:
                # the rounding of the border itself
                edge = not inside_round(x - width, y - width, w - 2 * width, h - 2 * width,
                                        max(r - width, 1))
            col = border if edge else mix(top, bottom, y / max(h - 1, 1))
            c.set(x0 + x, y0 + y, col)


def strip(cells):
    w = sum(c.w for c in cells)
    h = max(c.h for c in cells)
    out = Canvas(w, h)
    x = 0
    for c in cells:
        out.paste(c, x, 0)
        x += c.w
    return out


def stack(cells):
    w = max(c.w for c in cells)
    h = sum(c.h for c in cells)
    out = Canvas(w, h)
    y = 0
    for c in cells:
        out.paste(c, 0, y)
        y += c.h
    return out


def write_bmp(name, canvas, bpp=24, top_down=False):
    w, h = canvas.w, canvas.h
    rows = list(range(h)) if top_down else list(range(h - 1, -1, -1))
    palette = []
    if bpp == 8:
        colours = sorted({p for row in canvas.px for p in row})
        if len(colours) > 256:
            bpp = 24
        else:
            palette = colours
            index = {c: i for i, c in enumerate(colours)}
    stride = (w * bpp + 31) // 32 * 4
    data = bytearray()
    for y in rows:
        line = bytearray()
        for x in range(w):
            r, g, b = canvas.px[y][x]
            if bpp == 8:
                line.append(index[(r, g, b)])
            elif bpp == 24:
                line += bytes((b, g, r))
            else:
                line += bytes((b, g, r, 255))
        line += bytes(stride - len(line))
        data += line
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, -h if top_down else h, 1, bpp, 0, len(data),
                       2835, 2835, len(palette), 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + pal + data)


# Palette of the skin.
CAPTION_TOP = (52, 104, 214)
CAPTION_BOTTOM = (33, 77, 176)
CAPTION_LINE = (104, 150, 236)
FRAME_DARK = (22, 52, 122)
INACTIVE_TOP = (124, 138, 165)
INACTIVE_BOTTOM = (104, 118, 145)
INACTIVE_DARK = (82, 94, 118)
ACCENT = (255, 138, 0)
BLUE = (37, 99, 235)
FACE = (240, 243, 248)
WHITE = (255, 255, 255)
LINE = (184, 194, 214)
TEXT = (30, 41, 59)
GLYPH = (74, 88, 115)
GLYPH_OFF = (176, 185, 200)

CAPTION = 30
BORDER = 4


def caption_state(active):
    w = 90
    c = Canvas(w, CAPTION)
    top, bottom = (CAPTION_TOP, CAPTION_BOTTOM) if active else (INACTIVE_TOP, INACTIVE_BOTTOM)
    dark = FRAME_DARK if active else INACTIVE_DARK
    light = CAPTION_LINE if active else (150, 162, 186)
    round_box(c, 0, 0, w, CAPTION + 8, 7, dark, top, bottom, corners="tlr")
    # The box above is taller than the caption: the bottom edge runs on into
    # the side borders. Add a highlight under the top border line.
    for x in range(3, w - 3):
        if c.get(x, 1) != KEY:
            c.set(x, 1, light)
    return c


def side_state(active, bottom=False):
    top, body = (CAPTION_BOTTOM, FRAME_DARK) if active else (INACTIVE_BOTTOM, INACTIVE_DARK)
    if bottom:
        c = Canvas(40, BORDER)
        c.rect(0, 0, 40, BORDER, top)
        c.rect(0, BORDER - 1, 40, 1, body)
        c.rect(0, 0, 1, BORDER, body)
        c.rect(39, 0, 1, BORDER, body)
        return c
    c = Canvas(BORDER, 40)
    c.vgradient(0, 0, BORDER, CAPTION, CAPTION_TOP if active else INACTIVE_TOP, top)
    c.rect(0, CAPTION, BORDER, 40 - CAPTION, top)
    return c


def left_state(active):
    c = side_state(active)
    dark = FRAME_DARK if active else INACTIVE_DARK
    c.rect(0, 0, 1, 40, dark)
    return c


def right_state(active):
    c = side_state(active)
    dark = FRAME_DARK if active else INACTIVE_DARK
    c.rect(BORDER - 1, 0, 1, 40, dark)
    return c


def caption_glyph(c, kind, colour, ox, oy):
    """Draws a 10 x 10 caption glyph with its top-left at (ox, oy)."""
    if kind == "close":
        for i in range(10):
            for d in (0, 1):
                c.set(ox + i + d, oy + i, colour)
                c.set(ox + 9 - i + d, oy + i, colour)
    elif kind == "max":
        c.rect(ox, oy, 10, 2, colour)
        c.rect(ox, oy, 1, 10, colour)
        c.rect(ox + 9, oy, 1, 10, colour)
        c.rect(ox, oy + 9, 10, 1, colour)
    elif kind == "restore":
        c.rect(ox + 3, oy, 7, 2, colour)
        c.rect(ox + 9, oy, 1, 7, colour)
        c.rect(ox, oy + 3, 7, 2, colour)
        c.rect(ox, oy + 3, 1, 7, colour)
        c.rect(ox + 6, oy + 3, 1, 7, colour)
        c.rect(ox, oy + 9, 7, 1, colour)
    elif kind == "min":
        c.rect(ox, oy + 7, 10, 2, colour)


def caption_button(kind):
    cells = []
    for state in ("normal", "pressed", "hot", "disabled"):
        c = Canvas(28, 20)
        if state == "pressed":
            round_box(c, 0, 0, 28, 20, 4, (20, 50, 120), (24, 58, 136), (28, 64, 146))
        elif state == "hot":
            if kind == "close":
                round_box(c, 0, 0, 28, 20, 4, (196, 43, 28), (232, 72, 60), (214, 52, 42))
            else:
                round_box(c, 0, 0, 28, 20, 4, (92, 140, 230), (84, 132, 228), (70, 118, 214))
        glyph = WHITE if state != "disabled" else (150, 170, 210)
        caption_glyph(c, kind, glyph, 9, 5)
        cells.append(c)
    return strip(cells)


def push_button():
    cells = []
    for border, top, bottom, ring in (
            (LINE, WHITE, (233, 238, 246), None),                 # normal
            ((130, 148, 182), (214, 222, 236), (226, 232, 242), None),  # pressed
            ((213, 218, 227), (244, 246, 249), (241, 243, 246), None),  # disabled
            ((59, 130, 246), (246, 250, 255), (226, 236, 252), None),   # pointer over
            (BLUE, WHITE, (233, 238, 246), (191, 214, 252))):      # focused / default
        c = Canvas(24, 26)
        round_box(c, 0, 0, 24, 26, 4, border, top, bottom)
        if ring:
            round_box(c, 1, 1, 22, 24, 3, ring, top, bottom)
            round_box(c, 0, 0, 24, 26, 4, border, top, bottom, width=1)
            for y in range(2, 24):
                for x in (1, 22):
                    c.set(x, y, ring)
            for x in range(2, 22):
                for y in (1, 24):
                    c.set(x, y, ring)
        cells.append(c)
    return strip(cells)


def tabs():
    cells = []
    for state in ("normal", "selected", "hot", "disabled", "pressed"):
        c = Canvas(30, 26)
        if state == "selected":
            round_box(c, 0, 0, 30, 27, 5, LINE, WHITE, WHITE, corners="tlr")
            for x in range(2, 28):
                c.set(x, 1, ACCENT)
                c.set(x, 2, ACCENT)
            c.set(1, 2, ACCENT)
            c.set(28, 2, ACCENT)
        elif state == "hot":
            round_box(c, 0, 2, 30, 25, 5, (150, 170, 205), (246, 249, 255), (232, 239, 250),
                      corners="tlr")
        elif state == "disabled":
            round_box(c, 0, 2, 30, 25, 5, (213, 218, 227), (240, 242, 246), (236, 239, 243),
                      corners="tlr")
        else:
            round_box(c, 0, 2, 30, 25, 5, LINE, (234, 239, 247), (220, 228, 240), corners="tlr")
            if state == "pressed":
                c.rect(1, 25, 28, 1, (200, 210, 228))
        cells.append(c)
    return strip(cells)


def pane():
    c = Canvas(20, 20, WHITE)
    c.rect(0, 0, 20, 1, LINE)
    c.rect(0, 19, 20, 1, LINE)
    c.rect(0, 0, 1, 20, LINE)
    c.rect(19, 0, 1, 20, LINE)
    return c


def arrow_glyph(c, direction, colour, cx, cy):
    """A small filled chevron pointing `direction`, centred at (cx, cy)."""
    for i in range(4):
        for j in range(-3 + i, 4 - i):
            # row i of the chevron is 7 - 2i pixels wide; its tip points on
            if direction == "up":
                c.set(cx + j, cy + 1 - i, colour)
            elif direction == "down":
                c.set(cx + j, cy - 2 + i, colour)
            elif direction == "left":
                c.set(cx + 1 - i, cy + j, colour)
            else:
                c.set(cx - 2 + i, cy + j, colour)


def scrollbar():
    size = 17
    cells = []
    for direction in ("left", "right", "up", "down"):
        for state in ("normal", "pressed", "disabled", "hot"):
            c = Canvas(size, size, (238, 242, 247))
            if state == "pressed":
                round_box(c, 1, 1, 15, 15, 3, (160, 176, 204), (196, 208, 228), (186, 199, 222))
            elif state == "hot":
                round_box(c, 1, 1, 15, 15, 3, (170, 192, 232), (226, 234, 248), (214, 225, 245))
                # the rounding leaves the key: paint the track colour back
                for y in range(size):
                    for x in range(size):
                        if c.get(x, y) == KEY:
                            c.set(x, y, (238, 242, 247))
            if state == "pressed":
                for y in range(size):
                    for x in range(size):
                        if c.get(x, y) == KEY:
                            c.set(x, y, (238, 242, 247))
            colour = {"normal": GLYPH, "pressed": TEXT, "disabled": GLYPH_OFF,
                      "hot": BLUE}[state]
            arrow_glyph(c, direction, colour, 8, 8)
            cells.append(c)
    for vertical in (False, True):
        for colour in ((120, 134, 160), (70, 84, 110), (90, 110, 150)):
            c = Canvas(size, size)
            for k in (-3, 0, 3):
                if vertical:
                    c.rect(5, 8 + k, 7, 1, colour)
                else:
                    c.rect(8 + k, 5, 1, 7, colour)
            cells.append(c)
    cells.append(Canvas(size, size))  # image 23: not drawn by the scroll bar skinner
    return strip(cells)


def track(vertical):
    cells = []
    for colour in ((238, 242, 247), (226, 232, 241), (244, 246, 249), (232, 237, 245)):
        c = Canvas(20, 17, colour)
        c.rect(0, 0, 20, 1, (226, 231, 239))
        c.rect(0, 16, 20, 1, (226, 231, 239))
        cells.append(c.transposed() if vertical else c)
    return strip(cells)


def thumb(vertical):
    cells = []
    for border, top, bottom in (((170, 182, 203), (205, 213, 226), (193, 203, 219)),
                                ((110, 126, 158), (150, 165, 192), (138, 154, 184)),
                                ((140, 160, 200), (178, 196, 230), (162, 182, 222))):
        c = Canvas(24, 17)
        round_box(c, 0, 2, 24, 13, 5, border, top, bottom)
        cells.append(c.transposed() if vertical else c)
    return strip(cells)


def sunk_edge():
    cells = []
    for border, inside in ((LINE, WHITE), ((127, 166, 232), WHITE), (BLUE, WHITE),
                           ((213, 218, 227), (244, 246, 249))):
        c = Canvas(20, 21, inside)
        round_box(c, 0, 0, 20, 21, 3, border, inside, inside)
        cells.append(c)
    return strip(cells)


def combo_button():
    cells = []
    # normal, pointer over, focused, disabled (as the edit frame)
    for top, bottom in (((246, 248, 252), (232, 237, 245)), ((240, 246, 255), (222, 233, 251)),
                        ((210, 219, 234), (220, 227, 240)), ((244, 246, 249), (241, 243, 246))):
        c = Canvas(19, 21)
        c.vgradient(1, 1, 17, 19, top, bottom)
        c.rect(0, 2, 1, 17, (214, 221, 233))
        cells.append(c)
    return strip(cells)


def combo_glyphs():
    cells = []
    for colour in (GLYPH, BLUE, TEXT, GLYPH_OFF, GLYPH):
        c = Canvas(9, 6)
        for i in range(4):
            c.rect(1 + i, 1 + i, 7 - 2 * i, 1, colour)
        cells.append(c)
    return strip(cells)


def progress():
    back = Canvas(20, 16)
    round_box(back, 0, 0, 20, 16, 4, (197, 206, 221), (230, 235, 243), (238, 242, 248))
    bar = Canvas(20, 16)
    round_box(bar, 0, 0, 20, 16, 4, (230, 110, 0), (255, 184, 77), (255, 122, 0))
    for x in range(3, 17):
        bar.set(x, 2, (255, 210, 150))
    return strip([back, bar])


def group_box_label():
    c = Canvas(40, 20)
    round_box(c, 0, 0, 40, 20, 6, (200, 212, 234), (238, 243, 252), (226, 234, 248))
    return c


def group_box_edge():
    cells = []
    for border in ((201, 210, 225), (213, 218, 227)):
        c = Canvas(20, 20)
        round_box(c, 0, 0, 20, 20, 5, border, KEY, KEY)
        cells.append(c)
    return strip(cells)


def header_bar():
    cells = []
    for top, bottom in ((WHITE, (228, 234, 244)), ((246, 250, 255), (214, 228, 250)),
                        ((214, 222, 236), (226, 232, 242))):
        c = Canvas(20, 22)
        c.vgradient(0, 0, 20, 21, top, bottom)
        c.rect(0, 21, 20, 1, LINE)
        c.rect(19, 4, 1, 14, LINE)
        cells.append(c)
    return strip(cells)


def menu_item():
    """Menu items: normal (transparent), highlighted, highlighted but
    disabled, then the same two again for checked items."""
    def cell(border, top, bottom):
        c = Canvas(24, 20)
        if border:
            round_box(c, 0, 0, 24, 20, 3, border, top, bottom)
        return c
    hot = cell((37, 99, 235), (226, 236, 254), (199, 219, 252))
    off = cell(LINE, (244, 246, 250), (232, 236, 243))
    return strip([cell(None, None, None), hot, off, cell(None, None, None), hot])


def menu_background():
    c = Canvas(16, 16)
    c.rect(0, 0, 16, 16, LINE)
    c.rect(1, 1, 14, 14, WHITE)
    return c


def main():
    write_bmp("top.bmp", stack([caption_state(True), caption_state(False)]))
    write_bmp("left.bmp", strip([left_state(True), left_state(False)]))
    write_bmp("right.bmp", strip([right_state(True), right_state(False)]))
    write_bmp("bottom.bmp", stack([side_state(True, True), side_state(False, True)]))
    write_bmp("close.bmp", caption_button("close"), bpp=32, top_down=True)
    write_bmp("maximize.bmp", caption_button("max"), bpp=32)
    write_bmp("restore.bmp", caption_button("restore"), bpp=32)
    write_bmp("minimize.bmp", caption_button("min"), bpp=32)
    write_bmp("buttons.bmp", push_button())
    write_bmp("tabs.bmp", tabs())
    write_bmp("tabborder.bmp", pane(), bpp=8)
    write_bmp("tabpane.bmp", pane(), bpp=8)
    write_bmp("scrollbar.bmp", scrollbar(), bpp=8)
    write_bmp("horzscroll.bmp", track(False), bpp=8)
    write_bmp("vertscroll.bmp", track(True), bpp=8)
    write_bmp("horzthumb.bmp", thumb(False))
    write_bmp("vertthumb.bmp", thumb(True))
    write_bmp("sunkedge.bmp", sunk_edge())
    write_bmp("combobutton.bmp", combo_button())
    write_bmp("comboglyph.bmp", combo_glyphs(), bpp=8)
    write_bmp("progress.bmp", progress(), bpp=32)
    write_bmp("groupbox.bmp", group_box_label())
    write_bmp("groupboxedge.bmp", group_box_edge(), bpp=8)
    write_bmp("headerbar.bmp", header_bar())
    write_bmp("menuitem.bmp", menu_item())
    write_bmp("menubg.bmp", menu_background())


if __name__ == "__main__":
    main()

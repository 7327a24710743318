"""Artwork of the notification icon's menu and the tool window's buttons:
toolbar strip 1309 (eight 16 x 15 menu pictures), popup banner 1313
(23 x 148, 16 colours), flat button icon pairs 1289-1297 and the link
quality icons 1317, 1316, 1231 and 1307 (32 x 32, 16 and 256 colours)."""
import os
from artlib import canvas, rect, line, disc, write_ico, write_bmp

OUT = os.path.join(os.path.dirname(__file__), '..', 'gen')

BLACK, WHITE = (0, 0, 0), (255, 255, 255)
FACE, SHADOW = (192, 192, 192), (128, 128, 128)
NAVY, BLUE, CYAN, TEAL = (0, 0, 128), (0, 0, 255), (0, 255, 255), (0, 128, 128)
RED, MAROON = (255, 0, 0), (128, 0, 0)
GREEN, DKGREEN = (0, 255, 0), (0, 128, 0)
YELLOW, OLIVE = (255, 255, 0), (128, 128, 0)
ORANGE, DKORANGE = (255, 140, 0), (200, 90, 0)

# A 5 x 7 pixel font, just the letters the banner needs.
FONT = {
    'C': ['.###.', '#...#', '#....', '#....', '#....', '#...#', '.###.'],
    'o': ['.....', '.....', '.###.', '#...#', '#...#', '#...#', '.###.'],
    'r': ['.....', '.....', '#.##.', '##..#', '#....', '#....', '#....'],
    'v': ['.....', '.....', '#...#', '#...#', '#...#', '.#.#.', '..#..'],
    'a': ['.....', '.....', '.###.', '....#', '.####', '#...#', '.####'],
    'n': ['.....', '.....', '#.##.', '##..#', '#...#', '#...#', '#...#'],
    'e': ['.....', '.....', '.###.', '#...#', '#####', '#....', '.###.'],
    '?': ['.###.', '#...#', '....#', '...#.', '..#..', '.....', '..#..'],
    'i': ['..#..', '.....', '.##..', '..#..', '..#..', '..#..', '.###.'],
}

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def glyph(c, ch, x0, y0, color, scale=1):
    for r, row in enumerate(FONT[ch]):
        for col, bit in enumerate(row):
            if bit == '#':
                rect(c, x0 + col * scale, y0 + r * scale,
                     x0 + (col + 1) * scale, y0 + (r + 1) * scale, color)


# ---------------------------------------------------------------- toolbar 1309
# Pictures on the 3-D face grey, which the menu takes as transparent.

def pic_properties(c, ox):
    rect(c, ox + 1, 5, ox + 15, 14, BLACK)        # the PC card
    rect(c, ox + 2, 6, ox + 14, 13, WHITE)
    rect(c, ox + 3, 7, ox + 10, 12, NAVY)
    rect(c, ox + 4, 8, ox + 9, 9, CYAN)
    for x in (11, 13):
        rect(c, ox + x, 7, ox + x + 1, 12, OLIVE)
    rect(c, ox + 12, 1, ox + 13, 5, BLACK)        # antenna
    c[1][ox + 11] = c[1][ox + 13] = RED


def pic_signal(c, ox):
    for i, h in enumerate((3, 5, 8, 11, 14)):
        x = ox + 1 + i * 3
        rect(c, x, 14 - h, x + 2, 14, BLACK)
        rect(c, x, 15 - h, x + 2, 14, DKGREEN if i < 4 else SHADOW)
    rect(c, ox, 14, ox + 16, 15, BLACK)


def pic_watcher(c, ox):
    disc(c, ox + 6.5, 6.5, 5.2, BLACK)
    disc(c, ox + 6.5, 6.5, 4.0, CYAN, shade=WHITE)
    for d in range(4):
        rect(c, ox + 10 + d, 10 + d, ox + 12 + d, 12 + d, NAVY)


def pic_throughput(c, ox):
    rect(c, ox + 1, 1, ox + 15, 14, BLACK)
    rect(c, ox + 2, 2, ox + 14, 13, WHITE)
    pts = [(2, 11), (5, 7), (7, 9), (10, 4), (13, 6)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        line(c, ox + x0, y0, ox + x1, y1, RED)
    line(c, ox + 2, 12, ox + 13, 10, BLUE)


def pic_preferences(c, ox):
    rect(c, ox + 2, 1, ox + 14, 14, BLACK)        # a sheet with ticked boxes
    rect(c, ox + 3, 2, ox + 13, 13, WHITE)
    for y in (3, 8):
        rect(c, ox + 4, y, ox + 8, y + 4, SHADOW)
        rect(c, ox + 5, y + 1, ox + 7, y + 3, WHITE)
        rect(c, ox + 9, y + 1, ox + 12, y + 2, NAVY)
    line(c, ox + 5, 5, ox + 6, 6, DKGREEN)
    line(c, ox + 6, 6, ox + 8, 3, DKGREEN)


def pic_help(c, ox):
    disc(c, ox + 8, 7.5, 7.0, NAVY)
    disc(c, ox + 8, 7.5, 6.0, BLUE)
    glyph(c, '?', ox + 6, 4, WHITE, 1)


def pic_about(c, ox):
    disc(c, ox + 8, 7.5, 7.0, TEAL)
    disc(c, ox + 8, 7.5, 6.0, CYAN)
    glyph(c, 'i', ox + 6, 4, NAVY, 1)


def pic_history(c, ox):
    disc(c, ox + 8, 7.5, 7.0, NAVY)               # a clock: what the link did
    disc(c, ox + 8, 7.5, 5.8, WHITE)
    line(c, ox + 8, 7, ox + 8, 3, BLACK)
    line(c, ox + 8, 7, ox + 11, 9, BLACK)
    c[7][ox + 8] = RED


def toolbar():
    c = canvas(128, 15, FACE)
    order = (pic_properties, pic_signal, pic_watcher, pic_throughput,
             pic_preferences, pic_help, pic_about,
             pic_history)   # 1001 40008 1010 40010 40018 40012 14 40020
    for i, draw in enumerate(order):
        draw(c, i * 16)
    return c


# ----------------------------------------------------------------- banner 1313

def banner():
    w, h = 23, 148
    c = canvas(w, h)
    # Dark blue at the top running down to blue, ordered-dithered between
    # the two palette entries so it survives 16 colours.
    for y in range(h):
        level = y * 16.0 / (h - 1)
        for x in range(w):
            c[y][x] = BLUE if BAYER4[y % 4][x % 4] < level else NAVY
    # "Corvane" written upward, letters scaled twice, tops facing left.
    text, scale, gap = 'Corvane', 2, 2
    y = h - 6
    x0 = (w - 7 * scale) // 2
    for ch in text:
        rows = FONT[ch]
        for r, row in enumerate(rows):
            for col, bit in enumerate(row):
                if bit == '#':
                    rect(c, x0 + r * scale, y - (col + 1) * scale,
                         x0 + (r + 1) * scale, y - col * scale, WHITE)
        y -= 5 * scale + gap
    return c


# ------------------------------------------------------------ button icons

def grey_of(rgb):
    """The muted colour of a picture at rest: towards grey, keeping shape."""
    if rgb is None:
        return None
    v = (rgb[0] * 30 + rgb[1] * 59 + rgb[2] * 11) // 100
    return (128, 128, 128) if v < 200 else (192, 192, 192) if v < 250 else WHITE


def icon_properties():
    c = canvas(32, 32)
    rect(c, 2, 12, 30, 29, BLACK)
    rect(c, 3, 13, 29, 28, FACE)
    rect(c, 5, 15, 20, 25, NAVY)
    rect(c, 6, 16, 19, 18, CYAN)
    for x in range(22, 28, 2):
        rect(c, x, 15, x + 1, 26, YELLOW)
    rect(c, 24, 3, 26, 12, BLACK)
    disc(c, 25, 3, 2.2, RED)
    rect(c, 6, 21, 15, 23, WHITE)
    return c


def icon_watcher():
    c = canvas(32, 32)
    disc(c, 13, 13, 10.5, BLACK)
    disc(c, 13, 13, 8.5, CYAN, shade=WHITE)
    for d in range(9):
        rect(c, 20 + d, 20 + d, 24 + d, 24 + d, NAVY)
    return c


def icon_signal():
    c = canvas(32, 32)
    heights = (6, 11, 16, 21, 26)
    for i, hgt in enumerate(heights):
        x = 2 + i * 6
        rect(c, x, 29 - hgt, x + 5, 30, BLACK)
        rect(c, x + 1, 30 - hgt, x + 4, 29, GREEN if i < 3 else YELLOW if i < 4 else RED)
    return c


def icon_throughput():
    c = canvas(32, 32)
    rect(c, 1, 3, 31, 29, BLACK)
    rect(c, 2, 4, 30, 28, WHITE)
    for y in (10, 16, 22):
        rect(c, 2, y, 30, y + 1, FACE)
    pts = [(3, 24), (8, 17), (12, 20), (17, 9), (22, 14), (28, 7)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        line(c, x0, y0, x1, y1, RED)
        line(c, x0, y0 + 1, x1, y1 + 1, RED)
    pts = [(3, 26), (9, 24), (15, 25), (21, 21), (28, 22)]
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        line(c, x0, y0, x1, y1, BLUE)
    return c


def write_icon(ident, c16, c256=None):
    write_ico(os.path.join(OUT, 'icon%d.ico' % ident), [(c16, 4), (c256 or c16, 8)])


def button_icons():
    # (hot, normal, picture)
    pairs = ((1291, 1289, icon_properties), (1292, 1293, icon_watcher),
             (1296, 1297, icon_signal), (1294, 1295, icon_throughput))
    for hot, normal, draw in pairs:
        c = draw()
        write_icon(hot, c)
        write_icon(normal, [[grey_of(px) for px in row] for row in c])


# ----------------------------------------------------------- quality icons

def quality_icon(main, dark, light, dither=None):
    """A shaded ball with a small antenna: one colour dominates."""
    c = canvas(32, 32)
    rect(c, 15, 1, 17, 8, BLACK)
    disc(c, 16, 1.5, 1.6, dark)
    disc(c, 16, 18, 13.5, BLACK)
    disc(c, 16, 18, 12.5, dark)
    disc(c, 15, 17, 11.0, main, shade=light)
    if dither:
        # Colours a 16-colour palette lacks are a checkerboard of two.
        a, b = dither
        for y in range(32):
            for x in range(32):
                if c[y][x] == main:
                    c[y][x] = a if (x + y) % 2 else b
    return c


def quality_icons():
    specs = (
        (1317, (160, 160, 160), (96, 96, 96), WHITE, None),
        (1316, (0, 200, 0), DKGREEN, (160, 255, 160), None),
        (1231, ORANGE, DKORANGE, (255, 210, 140), (RED, YELLOW)),
        (1307, (230, 0, 0), MAROON, (255, 150, 150), None),
    )
    for ident, main, dark, light, dither in specs:
        c256 = quality_icon(main, dark, light)
        c16 = quality_icon(main, dark, light, dither) if dither else c256
        write_icon(ident, c16, c256)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp(os.path.join(OUT, 'toolbar1309.bmp'), toolbar(), bpp=4)
    write_bmp(os.path.join(OUT, 'banner1313.bmp'), banner(), bpp=4)
    button_icons()
    quality_icons()


if __name__ == '__main__':
    main()

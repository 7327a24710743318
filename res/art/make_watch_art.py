"""Artwork of the Network Watchers: icon 1271 (an access point's antenna with
its radio waves under a magnifying glass; 32 x 32 and 16 x 16 in 16 and 256
colours) and the wait cursor "WAIT_M" shown while a scan or refresh runs (an
hourglass with a wave mark beside it, 32 x 32 monochrome, hot spot at the
hourglass's centre)."""
import os
from artlib import canvas, rect, disc, line, write_ico, write_cur

OUT = os.path.join(os.path.dirname(__file__), '..', 'gen')

BLACK, WHITE, GREY, DARK = (0, 0, 0), (255, 255, 255), (192, 192, 192), (128, 128, 128)
NAVY, BLUE, TEAL, CYAN = (0, 0, 128), (0, 0, 255), (0, 128, 128), (0, 255, 255)
MAROON = (128, 0, 0)


def arc(c, cx, cy, r, color, lo, hi, thick=1.0):
    """Points of a ring of radius r whose angle (degrees, 0 = right, counter-
    clockwise with y upwards) lies in lo..hi."""
    import math
    for y in range(len(c)):
        for x in range(len(c[0])):
            dx, dy = x + 0.5 - cx, cy - (y + 0.5)
            d = math.hypot(dx, dy)
            if abs(d - r) <= thick / 2.0:
                a = math.degrees(math.atan2(dy, dx))
                if lo <= a <= hi:
                    c[y][x] = color


def watcher(size):
    s = size / 32.0

    def S(v):
        return int(round(v * s))
    c = canvas(size, size)
    # The antenna: a mast on a small box.
    rect(c, S(3), S(24), S(15), S(30), DARK)
    rect(c, S(4), S(25), S(14), S(29), GREY)
    rect(c, S(5), S(26), S(7), S(28), MAROON)
    rect(c, S(8), S(8), S(10), S(24), BLACK)
    disc(c, S(9), S(7), max(1.5, 2.2 * s), NAVY)
    # Its waves, left and right of the tip.
    for r in ((4.5, 8) if size >= 32 else (5.5,)):
        arc(c, 9 * s, 7 * s, r * s, BLUE, -45, 45, 1.5)
        arc(c, 9 * s, 7 * s, r * s, BLUE, 135, 225, 1.5)
    # The magnifying glass over the lower right.
    disc(c, 21 * s, 19 * s, 7 * s, BLACK)
    disc(c, 21 * s, 19 * s, 5.6 * s, CYAN, WHITE)
    for k in range(max(2, S(3))):
        line(c, S(25) + k, S(24), S(30) + k, S(29), BLACK)
        line(c, S(25), S(24) + k, S(30), S(29) + k, BLACK)
    return c


def wait_cursor():
    c = canvas(32, 32)
    shape = [
        "XXXXXXXXXXXXX",
        "X...........X",
        " X.........X ",
        " X.........X ",
        "  X.XXXXX.X  ",
        "   X.XXX.X   ",
        "    X.X.X    ",
        "     X.X     ",
        "    X...X    ",
        "   X..X..X   ",
        "  X...X...X  ",
        " X...XXX...X ",
        " X..XXXXX..X ",
        "X...........X",
        "XXXXXXXXXXXXX",
    ]
    for y, row in enumerate(shape):
        for x, ch in enumerate(row):
            if ch == 'X':
                c[y + 2][x + 2] = BLACK
            elif ch == '.':
                c[y + 2][x + 2] = WHITE
    # A wave mark beside the hourglass: the scan.
    for r in (3, 6):
        arc(c, 16.5, 9.5, r, BLACK, -50, 50, 1.6)
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    images = []
    for size in (32, 16):
        for bpp in (4, 8):
            images.append((watcher(size), bpp))
    write_ico(os.path.join(OUT, 'icon1271.ico'), images)
    write_cur(os.path.join(OUT, 'cursorWAIT_M.cur'), wait_cursor(), (8, 9))


if __name__ == '__main__':
    main()

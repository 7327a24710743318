"""Widget artwork: bitmap 26018 (list view column pictures: green ball,
yellow ball, padlock; 16 x 16 each on white, which is the mask colour) and
cursor 1301 (a 32 x 32 pointing hand)."""
import os
from artlib import canvas, rect, disc, write_bmp, write_cur

OUT = os.path.join(os.path.dirname(__file__), '..', 'gen')

WHITE, BLACK = (255, 255, 255), (0, 0, 0)
GREEN, LIME = (0, 128, 0), (0, 255, 0)
OLIVE, YELLOW = (128, 128, 0), (255, 255, 0)
GREY, SILVER, DARK = (128, 128, 128), (192, 192, 192), (0, 0, 0)


def ball(c, x0, dark, light):
    disc(c, x0 + 8, 8, 6.5, BLACK)
    disc(c, x0 + 8, 8, 5.6, dark)
    disc(c, x0 + 8, 8, 4.6, light, shade=WHITE)


def padlock(c, x0):
    # Shackle: a grey arch above the body.
    rect(c, x0 + 4, 2, x0 + 12, 3, BLACK)
    rect(c, x0 + 3, 3, x0 + 5, 8, BLACK)
    rect(c, x0 + 11, 3, x0 + 13, 8, BLACK)
    rect(c, x0 + 5, 3, x0 + 11, 4, GREY)
    # Body: a yellow block with a dark outline and a keyhole.
    rect(c, x0 + 2, 7, x0 + 14, 15, BLACK)
    rect(c, x0 + 3, 8, x0 + 13, 14, YELLOW)
    rect(c, x0 + 3, 13, x0 + 13, 14, OLIVE)
    rect(c, x0 + 7, 9, x0 + 9, 11, BLACK)
    rect(c, x0 + 7, 11, x0 + 9, 13, BLACK)


def column_pictures():
    c = canvas(48, 16, WHITE)
    ball(c, 0, GREEN, LIME)
    ball(c, 16, OLIVE, YELLOW)
    padlock(c, 32)
    return c


def hand():
    """A white pointing hand with a black outline; hot spot on the fingertip."""
    c = canvas(32, 32)
    shape = [
        "      XX        ",
        "     X..X       ",
        "     X..X       ",
        "     X..X       ",
        "     X..XXX     ",
        "     X..X..XXX  ",
        "     X..X..X..XX",
        " XX  X..X..X..X.X",
        "X..X X........X.X",
        "X...XX..........X",
        " X..............X",
        "  X.............X",
        "  X............X ",
        "   X...........X ",
        "   X..........X  ",
        "    X.........X  ",
        "    X........X   ",
        "     X.......X   ",
        "     XXXXXXXXX   ",
    ]
    for y, row in enumerate(shape):
        for x, ch in enumerate(row):
            if ch == 'X':
                c[y + 4][x + 4] = BLACK
            elif ch == '.':
                c[y + 4][x + 4] = WHITE
    return c


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    write_bmp(os.path.join(OUT, 'bitmap26018.bmp'), column_pictures(), bpp=4)
    write_cur(os.path.join(OUT, 'cursor1301.cur'), hand(), (10, 4))

"""Icons of the Preferences dialog (1300: a check list beside a speaker) and
of the signal quality window (1272: a rising bar of red, yellow and green
segments). Each holds 32 x 32 and 16 x 16 pictures in 16 and 256 colours."""
import os
from artlib import canvas, rect, write_ico

OUT = os.path.join(os.path.dirname(__file__), '..', 'gen')

BLACK, WHITE, GREY, DARK = (0, 0, 0), (255, 255, 255), (192, 192, 192), (128, 128, 128)
RED, YELLOW, GREEN = (255, 0, 0), (255, 255, 0), (0, 255, 0)
MAROON, OLIVE, FOREST, NAVY = (128, 0, 0), (128, 128, 0), (0, 128, 0), (0, 0, 128)


def preferences(size):
    s = size / 32.0
    c = canvas(size, size)

    def S(v):
        return int(round(v * s))
    # A sheet of paper with three tick boxes, two of them ticked.
    rect(c, S(3), S(2), S(23), S(30), BLACK)
    rect(c, S(4), S(3), S(22), S(29), WHITE)
    for i, ticked in enumerate((True, False, True)):
        y = S(6 + 8 * i)
        rect(c, S(6), y, S(12), y + S(6), BLACK)
        rect(c, S(7), y + S(1), S(11), y + S(5), WHITE)
        if ticked:
            for k in range(S(4)):
                rect(c, S(7) + k, y + S(3) + (k if k < S(2) else S(2) - (k - S(2)) - 1),
                     S(7) + k + 1, y + S(3) + (k if k < S(2) else S(2) - (k - S(2)) - 1) + 1,
                     FOREST)
        rect(c, S(14), y + S(2), S(20), y + S(4), DARK)
    # A speaker for the alert sound.
    rect(c, S(22), S(19), S(26), S(25), BLACK)
    rect(c, S(23), S(20), S(25), S(24), NAVY)
    for k in range(S(5)):
        rect(c, S(26) + k, S(19) - k, S(27) + k, S(25) + k, BLACK)
    return c


def signal_bar(size):
    s = size / 32.0
    c = canvas(size, size)

    def S(v):
        return int(round(v * s))
    colours = ((RED, MAROON), (RED, MAROON), (YELLOW, OLIVE), (YELLOW, OLIVE),
               (GREEN, FOREST), (GREEN, FOREST))
    for i, (fill, edge) in enumerate(colours):
        x0, x1 = S(1 + 5 * i), S(5 + 5 * i)
        top = S(26 - 4 * i)
        rect(c, x0, top, x1, S(31), edge)
        if x1 - x0 > 2:
            rect(c, x0 + 1, top + 1, x1 - 1, S(31) - 1, fill)
    rect(c, 0, S(31), size, size, BLACK)
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    for ident, draw in ((1300, preferences), (1272, signal_bar)):
        images = []
        for size in (32, 16):
            for bpp in (4, 8):
                images.append((draw(size), bpp))
        write_ico(os.path.join(OUT, 'icon%d.ico' % ident), images)


if __name__ == '__main__':
    main()

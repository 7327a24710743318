"""Application icons: 1269 (the utility) and 1270 (the adapter properties)."""
import os
from artlib import canvas, rect, line, disc, write_ico

OUT = os.path.join(os.path.dirname(__file__), '..', 'gen')

NAVY, BLUE, LIGHT = (0, 0, 128), (0, 0, 255), (0, 255, 255)
GREY, DARK, WHITE, BLACK = (192, 192, 192), (128, 128, 128), (255, 255, 255), (0, 0, 0)
YELLOW, GREEN = (255, 255, 0), (0, 128, 0)


def card(size, sheet):
    s = size / 32.0
    c = canvas(size, size)

    def S(v):
        return int(round(v * s))
    # The PC card: dark outline, grey body, blue label, gold contacts.
    rect(c, S(3), S(14), S(29), S(29), BLACK)
    rect(c, S(4), S(15), S(28), S(28), GREY)
    rect(c, S(6), S(17), S(22), S(25), NAVY)
    rect(c, S(7), S(18), S(21), S(20), BLUE)
    for x in range(S(23), S(27), max(1, S(2))):
        rect(c, x, S(17), x + max(1, S(1)), S(26), YELLOW)
    # Antenna and radio waves.
    rect(c, S(24), S(5), S(25) + (1 if size < 32 else 0), S(15), BLACK)
    for r in (3, 6, 9):
        for i in range(-r, r + 1):
            for sign in (-1, 1):
                x, y = S(24.5) + sign * S(r) // 2 + sign * 0, S(6) + i * s * 0.5
                line(c, S(24.5) + sign * S(r) // 2, S(6) - S(r) // 3,
                     S(24.5) + sign * S(r) // 2, S(6) + S(r) // 3, LIGHT if r != 6 else BLUE)
    if sheet:
        # A property page leaning on the card.
        rect(c, S(2), S(2), S(16), S(13), BLACK)
        rect(c, S(3), S(3), S(15), S(12), WHITE)
        for y in (5, 7, 9):
            rect(c, S(4), S(y), S(13), S(y) + 1, DARK)
        disc(c, S(13), S(11), S(3), GREEN)
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    for ident, sheet in ((1269, False), (1270, True)):
        images = []
        for size in (32, 16):
            for bpp in (4, 8):
                images.append((card(size, sheet), bpp))
        write_ico(os.path.join(OUT, 'icon%d.ico' % ident), images)


if __name__ == '__main__':
    main()

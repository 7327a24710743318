"""Icon of Link History (5090): the quality over time on dark blue, with the
thresholds at 30 (maroon) and 60 (olive) drawn across, as the window draws
its chart, and a small clock. 32 x 32 and 16 x 16 pictures in 16 and 256
colours."""
import os
from artlib import canvas, rect, line, disc, write_ico

OUT = os.path.join(os.path.dirname(__file__), '..', 'gen')

BLACK, WHITE, DARK_BLUE = (0, 0, 0), (255, 255, 255), (0, 0, 64)
GREEN, MAROON, OLIVE, NAVY = (0, 255, 0), (128, 0, 0), (128, 128, 0), (0, 0, 128)


def history(size):
    s = size / 32.0
    c = canvas(size, size)

    def S(v):
        return int(round(v * s))
    rect(c, 0, S(2), size, S(30), BLACK)
    rect(c, 1, S(2) + 1, size - 1, S(30) - 1, DARK_BLUE)
    # Quality 100 at the top, 0 at the bottom of the plot.
    top, bottom = S(2) + 1, S(30) - 1

    def level(q):
        return int(round(bottom - (bottom - top) * q / 100.0))
    rect(c, 1, level(60), size - 1, level(60) + 1, OLIVE)
    rect(c, 1, level(30), size - 1, level(30) + 1, MAROON)
    quality = (85, 80, 72, 64, 50, 41, 22, 18, 35, 58, 70)
    for i in range(len(quality) - 1):
        line(c, S(1 + 3 * i), level(quality[i]), S(1 + 3 * (i + 1)), level(quality[i + 1]), GREEN)
        line(c, S(1 + 3 * i), level(quality[i]) + 1, S(1 + 3 * (i + 1)),
             level(quality[i + 1]) + 1, GREEN)
    if size >= 32:
        # A clock in the upper left corner: what the link did, over time.
        disc(c, 8.5, 9.5, 6.5, NAVY)
        disc(c, 8.5, 9.5, 5.3, WHITE)
        line(c, 8, 9, 8, 5, BLACK)
        line(c, 8, 9, 11, 10, BLACK)
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    images = []
    for size in (32, 16):
        for bpp in (4, 8):
            images.append((history(size), bpp))
    write_ico(os.path.join(OUT, 'icon5090.ico'), images)


if __name__ == '__main__':
    main()

"""Icon of the Station Throughput Monitor (1273): a small strip chart on dark
blue with a green grid and two traces, bright green and cyan, as the monitor
draws them. 32 x 32 and 16 x 16 pictures in 16 and 256 colours."""
import os
from artlib import canvas, rect, line, write_ico

OUT = os.path.join(os.path.dirname(__file__), '..', 'gen')

BLACK, GREY, DARK_BLUE = (0, 0, 0), (192, 192, 192), (0, 0, 64)
GRID, GREEN, CYAN = (0, 128, 0), (0, 255, 0), (0, 255, 255)


def chart(size):
    s = size / 32.0
    c = canvas(size, size)

    def S(v):
        return int(round(v * s))
    rect(c, 0, S(2), size, S(30), BLACK)
    rect(c, 1, S(2) + 1, size - 1, S(30) - 1, DARK_BLUE)
    for k in range(1, 4):
        y = S(2 + 7 * k)
        rect(c, 1, y, size - 1, y + 1, GRID)
    for k in range(1, 4):
        x = S(8 * k)
        rect(c, x, S(2) + 1, x + 1, S(30) - 1, GRID)
    sent = (22, 18, 20, 12, 14, 8, 10, 6)
    received = (26, 24, 25, 21, 23, 19, 17, 18)
    for trace, colour in ((received, CYAN), (sent, GREEN)):
        for i in range(len(trace) - 1):
            line(c, S(1 + 4.3 * i), S(trace[i]), S(1 + 4.3 * (i + 1)), S(trace[i + 1]), colour)
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    images = []
    for size in (32, 16):
        for bpp in (4, 8):
            images.append((chart(size), bpp))
    write_ico(os.path.join(OUT, 'icon1273.ico'), images)


if __name__ == '__main__':
    main()

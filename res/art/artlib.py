"""Small pure-Python writers for the program's artwork: icons (.ico),
device-independent bitmaps (.bmp) and cursors (.cur), drawn on an RGB canvas.

A canvas is a list of rows, each a list of (r, g, b) tuples or None for a
transparent pixel (icons and cursors only). Row 0 is the top.
"""
import struct

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def canvas(w, h, fill=None):
    return [[fill] * w for _ in range(h)]


def rect(c, x0, y0, x1, y1, color):
    """Fills x0 <= x < x1, y0 <= y < y1."""
    for y in range(max(0, y0), min(len(c), y1)):
        row = c[y]
        for x in range(max(0, x0), min(len(row), x1)):
            row[x] = color


def disc(c, cx, cy, r, color, shade=None):
    """A filled circle; with shade, a lighter highlight towards the top left."""
    for y in range(len(c)):
        for x in range(len(c[0])):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            if dx * dx + dy * dy <= r * r:
                col = color
                if shade is not None:
                    hx, hy = dx + r / 3.0, dy + r / 3.0
                    if hx * hx + hy * hy <= (r / 2.5) ** 2:
                        col = shade
                c[y][x] = col


def line(c, x0, y0, x1, y1, color):
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        if 0 <= y0 < len(c) and 0 <= x0 < len(c[0]):
            c[y0][x0] = color
        if x0 == x1 and y0 == y1:
            break
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def _nearest(palette, rgb):
    best, bi = None, 0
    for i, p in enumerate(palette):
        d = sum((a - b) * (a - b) for a, b in zip(p, rgb))
        if best is None or d < best:
            best, bi = d, i
    return bi


def _palette256(c):
    # Index 0 is black: transparent pixels use it, so the icon's XOR image
    # leaves the screen untouched where the mask lets it through.
    colors = [(0, 0, 0)]
    for row in c:
        for px in row:
            if px is not None and px not in colors:
                colors.append(px)
    if len(colors) > 256:
        # Crude reduction: 6x6x6 cube plus greys.
        colors = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
        colors += [(i * 10, i * 10, i * 10) for i in range(1, 26)]
    colors += [(0, 0, 0)] * (256 - len(colors))
    return colors


def _dib(c, bpp, palette, with_mask, height_mult):
    h, w = len(c), len(c[0])
    out = bytearray()
    out += struct.pack('<IiiHHIIiiII', 40, w, h * height_mult, 1, bpp, 0, 0, 0, 0,
                       len(palette) if palette else 0, 0)
    if palette:
        for r, g, b in palette:
            out += bytes((b, g, r, 0))
    cache = {}

    def index(px):
        if px is None:
            return 0
        if px not in cache:
            cache[px] = _nearest(palette, px)
        return cache[px]

    stride = ((w * bpp + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row = c[y]
        rb = bytearray(stride)
        if bpp == 4:
            for x in range(w):
                v = index(row[x])
                rb[x // 2] |= (v << 4) if x % 2 == 0 else v
        elif bpp == 8:
            for x in range(w):
                rb[x] = index(row[x])
        elif bpp == 1:
            for x in range(w):
                if index(row[x]):
                    rb[x // 8] |= 0x80 >> (x % 8)
        elif bpp == 24:
            for x in range(w):
                r, g, b = row[x] if row[x] is not None else (0, 0, 0)
                rb[x * 3:x * 3 + 3] = bytes((b, g, r))
        out += rb
    if with_mask:
        mstride = ((w + 31) // 32) * 4
        for y in range(h - 1, -1, -1):
            rb = bytearray(mstride)
            for x in range(w):
                if c[y][x] is None:
                    rb[x // 8] |= 0x80 >> (x % 8)
            out += rb
    return bytes(out)


def write_ico(path, images, hotspots=None):
    """images: list of (canvas, bpp) with bpp 4 or 8. With hotspots, a cursor."""
    kind = 2 if hotspots else 1
    head = struct.pack('<HHH', 0, kind, len(images))
    entries, blobs = b'', b''
    offset = 6 + 16 * len(images)
    for i, (c, bpp) in enumerate(images):
        if bpp == 4:
            pal = VGA16
        elif bpp == 1:
            pal = [(0, 0, 0), (255, 255, 255)]
        else:
            pal = _palette256(c)
        blob = _dib(c, bpp, pal, True, 2)
        w, h = len(c[0]), len(c)
        if hotspots:
            p1, p2 = hotspots[i]
        else:
            p1, p2 = 1, bpp
        ncolors = len(pal) if len(pal) < 256 else 0
        entries += struct.pack('<BBBBHHII', w % 256, h % 256, ncolors, 0, p1, p2,
                               len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(head + entries + blobs)


def write_cur(path, c, hotspot):
    write_ico(path, [(c, 1)], hotspots=[hotspot])


def write_bmp(path, c, bpp=24, palette=None):
    if bpp == 4 and palette is None:
        palette = VGA16
    if bpp == 8 and palette is None:
        palette = _palette256(c)
    dib = _dib(c, bpp, palette if bpp <= 8 else None, False, 1)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(dib), 0, 0, 14 + 40 + (len(palette) * 4 if bpp <= 8 else 0))
    with open(path, 'wb') as f:
        f.write(head + dib)

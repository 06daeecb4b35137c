#!/usr/bin/env python3
"""Draws the applet's bitmaps, icons and cursor as small pixel pictures and writes them as
BMP, ICO and CUR files. Pure red RGB(255, 0, 0) is the transparent colour of every bitmap.
Run it again after changing a picture; the outputs are committed beside it."""
import struct, os

RED = (255, 0, 0)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (192, 192, 192)
DARK = (128, 128, 128)
NAVY = (0, 0, 128)
BLUE = (0, 64, 192)
TEAL = (0, 128, 128)
GREEN = (0, 160, 0)
YELLOW = (255, 255, 0)
AMBER = (224, 160, 0)


class Canvas:
    def __init__(self, w, h, bg=RED):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.put(x, y0, c); self.put(x, y1, c)
        for y in range(y0, y1 + 1):
            self.put(x0, y, c); self.put(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.put(ox + x, oy + y, other.px[y][x])

    def scaled(self, k):
        out = Canvas(self.w * k, self.h * k)
        for y in range(self.h):
            for x in range(self.w):
                out.rect(x * k, y * k, x * k + k - 1, y * k + k - 1, self.px[y][x])
        return out


def bmp24(c):
    row = (c.w * 3 + 3) & ~3
    data = b''
    for y in range(c.h - 1, -1, -1):
        r = b''.join(bytes((b, g, rr)) for (rr, g, b) in c.px[y])
        data += r + b'\0' * (row - len(r))
    header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + 40 + len(data), 0, 0, 54) + header + data


def bmp4(c):
    """A 16-colour bitmap; every colour used must be in the palette below."""
    pal = [BLACK, (128, 0, 0), (0, 128, 0), (128, 128, 0), NAVY, (128, 0, 128), TEAL, GREY,
           DARK, RED, (0, 255, 0), YELLOW, (0, 0, 255), (255, 0, 255), (0, 255, 255), WHITE]
    row = ((c.w + 1) // 2 + 3) & ~3
    data = b''
    for y in range(c.h - 1, -1, -1):
        idx = [pal.index(p) for p in c.px[y]] + [0]
        r = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, c.w, 2))
        data += r + b'\0' * (row - len(r))
    pal_bytes = b''.join(bytes((b, g, r, 0)) for (r, g, b) in pal)
    header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    off = 14 + 40 + len(pal_bytes)
    return b'BM' + struct.pack('<IHHI', off + len(data), 0, 0, off) + header + pal_bytes + data


def dib32_with_mask(c, transparent=RED):
    """The image part of an icon or cursor entry: 32-bit XOR bitmap plus 1-bit AND mask."""
    xor = b''
    for y in range(c.h - 1, -1, -1):
        for (r, g, b) in c.px[y]:
            a = 0 if (r, g, b) == transparent else 255
            xor += bytes((b, g, r, a)) if a else b'\0\0\0\0'
    mrow = ((c.w + 31) // 32) * 4
    mask = b''
    for y in range(c.h - 1, -1, -1):
        rowb = bytearray(mrow)
        for x, p in enumerate(c.px[y]):
            if p == transparent:
                rowb[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(rowb)
    header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def ico(images, cursor_hotspot=None):
    kind = 2 if cursor_hotspot else 1
    out = struct.pack('<HHH', 0, kind, len(images))
    blobs = [dib32_with_mask(c) for c in images]
    off = 6 + 16 * len(images)
    for c, blob in zip(images, blobs):
        a, b = (cursor_hotspot if cursor_hotspot else (1, 32))
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, a, b, len(blob), off)
        off += len(blob)
    return out + b''.join(blobs)


# --- pictures -------------------------------------------------------------------------------

def server(open_=False):
    c = Canvas(16, 16)
    c.rect(3, 1, 12, 14, GREY)
    c.frame(3, 1, 12, 14, BLACK)
    for y in (4, 7, 10):
        c.line(5, y, 10, y, DARK)
    c.put(10, 12, GREEN if open_ else YELLOW)
    c.put(9, 12, GREEN if open_ else YELLOW)
    if open_:
        c.rect(13, 5, 14, 10, BLUE)
    return c


def port_group(fill=TEAL, mark=None):
    c = Canvas(16, 16)
    c.rect(2, 5, 13, 11, fill)
    c.frame(2, 5, 13, 11, BLACK)
    for x in (4, 7, 10):
        c.rect(x, 7, x + 1, 9, WHITE)
    if mark == 'shell':
        c.rect(2, 5, 13, 11, BLACK)
        c.line(4, 7, 6, 8, WHITE); c.line(6, 8, 4, 9, WHITE); c.line(8, 9, 11, 9, WHITE)
    if mark == 'all':
        c.rect(1, 2, 12, 4, fill); c.frame(1, 2, 12, 4, BLACK)
        c.rect(0, 0, 11, 1, fill); c.frame(0, 0, 11, 1, BLACK)
    return c


def strip(images):
    c = Canvas(16 * len(images), images[0].h)
    for i, im in enumerate(images):
        c.blit(im, 16 * i, 0)
    return c


def plug(connected):
    c = Canvas(16, 16)
    colour = GREEN if connected else DARK
    c.rect(1, 6, 6, 10, colour); c.frame(1, 6, 6, 10, BLACK)
    c.line(7, 7, 8, 7, BLACK); c.line(7, 9, 8, 9, BLACK)
    if connected:
        c.line(9, 8, 15, 8, BLUE); c.line(13, 6, 15, 8, BLUE); c.line(13, 10, 15, 8, BLUE)
    else:
        c.line(10, 5, 14, 11, (128, 0, 0)); c.line(14, 5, 10, 11, (128, 0, 0))
    return c


def applet_icon(size):
    c = Canvas(16, 16)
    c.rect(1, 3, 9, 12, GREY); c.frame(1, 3, 9, 12, BLACK)
    c.rect(3, 5, 7, 7, TEAL)
    c.line(10, 8, 14, 8, BLUE); c.line(12, 6, 14, 8, BLUE); c.line(12, 10, 14, 8, BLUE)
    c.rect(2, 13, 8, 14, DARK)
    return c if size == 16 else c.scaled(size // 16)


def texture():
    c = Canvas(32, 32, GREY)
    import random
    rnd = random.Random(95)
    for _ in range(110):
        x, y = rnd.randrange(32), rnd.randrange(32)
        c.put(x, y, WHITE if rnd.random() < 0.5 else DARK)
    return c


def logo():
    c = Canvas(111, 60)
    c.rect(4, 8, 106, 51, NAVY)
    c.frame(4, 8, 106, 51, BLACK)
    # a stylised Q and a modem signal
    c.frame(14, 16, 38, 42, WHITE); c.frame(15, 17, 37, 41, WHITE)
    c.line(30, 36, 40, 46, WHITE); c.line(31, 36, 41, 46, WHITE)
    for i, x in enumerate(range(48, 100, 8)):
        h = 6 + (i % 3) * 6
        c.rect(x, 30 - h, x + 4, 30 + h, YELLOW if i % 2 else WHITE)
    return c


def logo_cursor():
    c = Canvas(32, 32)
    # a pointing hand, drawn simply
    c.rect(10, 2, 13, 16, WHITE); c.frame(10, 2, 13, 16, BLACK)
    c.rect(8, 14, 22, 26, WHITE); c.frame(8, 14, 22, 26, BLACK)
    for x in (15, 18):
        c.line(x, 14, x, 18, BLACK)
    return c


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    def write(name, data):
        with open(os.path.join(here, name), 'wb') as f:
            f.write(data)
    devices = [server(False), port_group(), server(True), port_group(BLACK, 'shell'), port_group(AMBER, 'all')]
    write('devices16.bmp', bmp24(strip(devices)))
    write('devices32.bmp', bmp24(_strip32([d.scaled(2) for d in devices])))
    write('tabs.bmp', bmp24(strip([plug(False), plug(True)])))
    write('texture.bmp', bmp24(texture()))
    write('logo.bmp', bmp4(logo()))
    write('quillet.ico', ico([applet_icon(32), applet_icon(16)]))
    write('browse.ico', ico([server(True).scaled(2), server(True)]))
    write('logo.cur', ico([logo_cursor()], cursor_hotspot=(11, 2)))


def _strip32(images):
    c = Canvas(32 * len(images), 32)
    for i, im in enumerate(images):
        c.blit(im, 32 * i, 0)
    return c


if __name__ == '__main__':
    main()

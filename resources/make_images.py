#!/usr/bin/env python3
"""Draws the program's icon, cursors and frame patterns and writes them as .ico, .cur and .bmp files.

Run from this folder after changing a drawing: ./make_images.py
The files it writes are committed, so the build needs no Python.
"""
import struct


def bitmap_header(width, height, bits, colors=0):
    # Icon and cursor images store the colour rows and the AND mask stacked: height x 2.
    return struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, bits, 0, 0, 0, 0, colors, 0)


def mask_rows(width, height, opaque):
    """1-bit AND mask, bottom-up, rows padded to 4 bytes; 1 = transparent."""
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if not opaque(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_image(size, pixel):
    """32-bit image; pixel(x, y) returns (r, g, b) or None for transparent."""
    data = bytearray(bitmap_header(size, size, 32))
    for y in reversed(range(size)):
        for x in range(size):
            c = pixel(x, y)
            data += bytes((c[2], c[1], c[0], 255)) if c else bytes(4)
    data += mask_rows(size, size, lambda x, y: pixel(x, y) is not None)
    return bytes(data)


def cursor_image(rows):
    """Monochrome 32 x 32 cursor from text rows: '#' black, 'o' white, anything else clear."""
    size = 32
    at = lambda x, y: rows[y][x] if y < len(rows) and x < len(rows[y]) else '.'
    data = bytearray(bitmap_header(size, size, 1, 2))
    data += bytes((0, 0, 0, 0, 255, 255, 255, 0))  # colour table: black, white
    for y in reversed(range(size)):
        row = bytearray(4)
        for x in range(size):
            if at(x, y) == 'o':
                row[x // 8] |= 0x80 >> (x % 8)
        data += row
    data += mask_rows(size, size, lambda x, y: at(x, y) in '#o')
    return bytes(data)


def write_directory(path, kind, images):
    """images: list of (width, height, field1, field2, data); fields are planes/bits for
    icons and the hot spot for cursors."""
    out = bytearray(struct.pack('<HHH', 0, kind, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, f1, f2, data in images:
        out += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, f1, f2, len(data), offset)
        offset += len(data)
    for image in images:
        out += image[4]
    with open(path, 'wb') as f:
        f.write(out)


def app_pixel(size):
    """A framed landscape with a quill across it."""
    s = size / 32.0

    def pixel(x, y):
        X, Y = x / s, y / s
        # The quill: a white vane with a dark spine from the top right to the bottom left.
        d = (X + Y) - 34
        if 6 <= X <= 30 and 2 <= Y <= 27 and abs(d) <= 2.2:
            return (40, 40, 40) if abs(d) <= 0.7 else (250, 250, 240)
        if 2 <= X < 30 and 5 <= Y < 28:
            if X < 4 or X >= 28 or Y < 7 or Y >= 26:
                return (120, 72, 32)                      # frame
            if (X - 21) ** 2 + (Y - 12) ** 2 <= 9:
                return (255, 214, 0)                      # sun
            if Y > 19 - 4 * ((X - 4) / 24.0) ** 2 + 3 * (X / 28.0):
                return (40, 150, 60)                      # hill
            return (110, 170, 235)                        # sky
        return None
    return pixel


def cross_hair():
    """Cross hair with a gap in the middle, hot spot at (15, 15)."""
    rows = [['.'] * 32 for _ in range(32)]
    for i in range(5, 26):
        if abs(i - 15) < 3:
            continue
        rows[15][i] = rows[i][15] = '#'
        for j in (14, 16):
            rows[j][i] = rows[i][j] = 'o'
    return [''.join(r) for r in rows]


MAIN_CURSOR = cross_hair()

PICK_CURSOR = [  # eyedropper, hot spot at its tip (bottom left)
    '.......................###',
    '......................#####',
    '.....................#######',
    '....................########',
    '.................#.#########',
    '.................###########',
    '..................#########',
    '.................##########',
    '................##oo#######',
    '...............#oooo#.####',
    '..............#oooo#...#',
    '.............#oooo#',
    '............#oooo#',
    '...........#oooo#',
    '..........#oooo#',
    '.........#oooo#',
    '........#oooo#',
    '.......#oooo#',
    '......#oooo#',
    '.....#oooo#',
    '....#oooo#',
    '...#oooo#',
    '...#ooo#',
    '..#.###',
    '.#',
    '#',
]

def frame_pattern(phase, detached):
    """8 x 8 monochrome brush of the selection frame: diagonal stripes that march with the
    phase while attached, a moving chequer of 2 x 2 blocks while detached."""
    def black(x, y):
        if detached:
            return ((x + 2 * phase) // 2 + y // 2) % 2 == 0
        return (x + y + 2 * phase) % 8 < 4
    bits = bytearray()
    for y in reversed(range(8)):  # rows bottom-up, each padded to 4 bytes
        row = 0
        for x in range(8):
            if not black(x, y):
                row |= 0x80 >> x
        bits += bytes((row, 0, 0, 0))
    info = struct.pack('<IiiHHIIiiII', 40, 8, 8, 1, 1, 0, len(bits), 0, 0, 2, 0)
    table = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    offset = 14 + len(info) + len(table)
    return struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset) + info + table + bytes(bits)


if __name__ == '__main__':
    write_directory('quilla.ico', 1,
                    [(n, n, 1, 32, icon_image(n, app_pixel(n))) for n in (32, 16)])
    write_directory('main.cur', 2, [(32, 32, 15, 15, cursor_image(MAIN_CURSOR))])
    write_directory('pick.cur', 2, [(32, 32, 0, 25, cursor_image(PICK_CURSOR))])
    for i in range(8):
        with open('frame%d.bmp' % i, 'wb') as f:
            f.write(frame_pattern(i % 4, i >= 4))

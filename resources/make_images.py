#!/usr/bin/env python3
"""Draws the program's icon, cursors, frame patterns and toolbar glyphs and writes them as .ico, .cur and .bmp files.

Run from this folder after changing a drawing: ./make_images.py
The files it writes are committed, so the build needs no Python.
"""
import math
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


# Toolbar glyphs, 16 x 15, as text rows. The light grey, dark grey and white of the palette
# are the three 3-D colours the program maps to the system's button colours when it loads
# them, so '.' is the button's face.
GLYPH_PALETTE = {
    '.': (192, 192, 192), '#': (0, 0, 0), 'w': (255, 255, 255), 'g': (128, 128, 128),
    'r': (255, 0, 0), 'R': (128, 0, 0), 'G': (0, 160, 0), 'D': (0, 96, 0),
    'b': (0, 0, 255), 'B': (0, 0, 128), 'y': (255, 255, 0), 'o': (128, 128, 0),
    'c': (0, 255, 255), 'm': (255, 0, 255), 'C': (0, 128, 128), 'M': (128, 0, 128),
}
GLYPH_WIDTH, GLYPH_HEIGHT = 16, 15

GLYPHS = [
    [  # 0 open file: an opening folder
        '................', '................', '.#####..........', '#ooyoo#.........',
        '#oyoyo########..', '#oyoyoyoyoyoy#..', '#oyoy###########', '#oyo#yyyyyyyyy#.',
        '#oy#yyyyyyyyy#..', '#o#yyyyyyyyy#...', '##yyyyyyyyy#....', '#############...',
        '................', '................', '................'],
    [  # 1 save file: a floppy disk
        '................', '.##############.', '.#B#wwwwwwww#B#.', '.#B#wwwwwwww#BB#',
        '.#B#wwwwwwww#BB#', '.#B#wwwwwwww#BB#', '.#BB########BBB#', '.#BBBBBBBBBBBBB#',
        '.#BB#########BB#', '.#BB#gg#....#BB#', '.#BB#gg#....#BB#', '.#BB#gg#....#BB#',
        '.##############.', '................', '................'],
    [  # 2 multiple open: a stack of pictures
        '......#########.', '......#wwwwwww#.', '....#########w#.', '....#wwwwwww#w#.',
        '..#########w#w#.', '..#ccccccc#w#w#.', '..#ccyycc#w#w##.', '..#cccccc#w##...',
        '..#ccGGcc#w#....', '..#cGGGGGc##....', '..#GGGGGGG#.....', '..#########.....',
        '................', '................', '................'],
    [  # 3 undo: an arrow turning back to the left
        '................', '................', '....#...........', '...##...........',
        '..#b######......', '.#bbbbbbbb##....', '..#b#######b#...', '...##......#b#..',
        '....#.......#b#.', '............#b#.', '............#b#.', '...........#b#..',
        '.........###b#..', '.........####...', '................'],
    [  # 4 cut: scissors
        '....#.....#.....', '....#.....#.....', '....#.....#.....', '....##...##.....',
        '.....#...#......', '.....##.##......', '......#.#.......', '.......#........',
        '......#.#.......', '....###.###.....', '...#..#.#..#....', '..#...#.#...#...',
        '..#...#.#...#...', '...###...###....', '................'],
    [  # 5 copy: two pages
        '#######.........', '#wwwww##........', '#w###w#w#.......', '#wwwww####......',
        '#w####wwww#.....', '#wwwwww###w#....', '#w####w#w#####..', '#wwwwww#wwwww#..',
        '#######w####w#..', '......#wwwwww#..', '......#w####w#..', '......#wwwwww#..',
        '......#w####w#..', '......#wwwwww#..', '......########..'],
    [  # 6 paste: a clipboard with a page on it
        '.....####.......', '.####gggg####...', '#oooo#ww#oooo#..', '#oo##########...',
        '#oo#wwwwwwww#...', '#oo#w#####ww#...', '#oo#wwwwwwww#...', '#oo#w######w#...',
        '#oo#wwwwwwww#...', '#oo#w######w#...', '#oo#wwwwwwww#...', '#oo#w####www#...',
        '#ooo#wwwwwww#...', '.############...', '................'],
    [  # 7 crop: the two crop marks
        '...#............', '...#............', '...#............', '#############...',
        '...#........#...', '...#........#...', '...#........#...', '...#........#...',
        '...#........#...', '...#........#...', '...#############', '............#...',
        '............#...', '............#...', '................'],
    [  # 8 resize: a frame grown to its corner
        'gggggggg........', 'g......g........', 'g......g........', 'g......g........',
        'g......g........', 'g......g.#####..', 'g......g..####..', 'gggggggg.#####..',
        '.......##..#.#..', '......#...#..#..', '...#######......', '...#.........#..',
        '...#.........#..', '...#.........#..', '...###########..'],
    [  # 9 add text: a capital A
        '.......##.......', '.......##.......', '......####......', '......#.##......',
        '.....##..##.....', '.....##..##.....', '....##....##....', '....########....',
        '...##......##...', '...##......##...', '..##........##..', '.####......####.',
        '................', '................', '................'],
    [  # 10 flip horizontal: a shape and its mirror across an upright axis
        '.......g........', '.......g........', '..#....g....#...', '.##....g....##..',
        '#b#....g....#b#.', '#bb#######.##bb#', '#bbbbbbb#g#bbbbb', '#bbbbbbb#g#bbbbb',
        '#bb#######.##bb#', '#b#....g....#b#.', '.##....g....##..', '..#....g....#...',
        '.......g........', '.......g........', '................'],
    [  # 11 flip vertical: a shape and its mirror across a level axis
        '......####......', '.....#bbbb#.....', '....#bbbbbb#....', '...##########...',
        '.....#bbbb#.....', '.....#bbbb#.....', 'gggggg#bb#gggggg', '......#bb#......',
        '.....#bbbb#.....', '.....#bbbb#.....', '...##########...', '....#bbbbbb#....',
        '.....#bbbb#.....', '......####......', '................'],
    None,  # 12 rotate left: drawn below
    None,  # 13 rotate right: drawn below
    None,  # 14 gamma correction
    [  # 15 colour balance: the three primaries in bars of different heights
        '................', '................', '..###...........', '..#r#.......###.',
        '..#r#.......#b#.', '..#r#.......#b#.', '..#r#..###..#b#.', '..#r#..#G#..#b#.',
        '..#r#..#G#..#b#.', '..#r#..#G#..#b#.', '..#r#..#G#..#b#.', '..#r#..#G#..#b#.',
        '################', '................', '................'],
    [  # 16 contrast enhance: a disc half black, half white
        '.....######.....', '...##wwww###....', '..#wwwwww####...', '.#wwwwwww#####..',
        '.#wwwwwww#####..', '#wwwwwwww######.', '#wwwwwwww######.', '#wwwwwwww######.',
        '#wwwwwwww######.', '#wwwwwwww######.', '.#wwwwwww#####..', '.#wwwwwww#####..',
        '..#wwwwww####...', '...##wwww###....', '.....######.....'],
    None,  # 17 HSV adjust: a hue wheel
    [  # 18 YCbCr adjust: a Y over the blue and red differences
        '.##.....##......', '..##...##.......', '...##.##........', '....###.........',
        '.....#.........', '.....#..........', '.....#..........', '................',
        '..bbbbbb.rrrrrr.', '..bbbbbb.rrrrrr.', '..BBBBBB.RRRRRR.', '..BBBBBB.RRRRRR.',
        '................', '................', '................'],
    None,  # 19 interactive RGB: three curves in a graph
    None,  # 20 exp enhance
    None,  # 21 log enhance
    None,  # 22 sineH enhance
    None,  # 23 grayscale: a grey ramp
    [  # 24 negative: a picture and its negative
        '################', '#cccccc##RRRRRR#', '#ccyycc##RRmmRR#', '#cccccc##RRRRRR#',
        '#cccccc##RRRRRR#', '#ccGGcc##RRMMRR#', '#cGGGGc##RMMMMR#', '#GGGGGG##MMMMMM#',
        '#GGGGGG##MMMMMM#', '################', '................', '................',
        '................', '................', '................'],
    [  # 25 image filters: the 5 x 5 matrix
        '................', '################', '#ww#ww#ww#ww#ww#', '################',
        '#ww#ww#ww#ww#ww#', '################', '#ww#ww#rr#ww#ww#', '################',
        '#ww#ww#ww#ww#ww#', '################', '#ww#ww#ww#ww#ww#', '################',
        '................', '................', '................'],
    [  # 26 palette entry: a palette with one entry picked out
        '#############...', '#rr#GG#bb#yy#...', '#rr#GG#bb#yy#...', '#############...',
        '#cc#mm#RR#DD#...', '#cc#mm#RR#DD#...', '#############...', '#BB#oo#gg#ww#...',
        '#BB#oo#gg#ww#...', '#############...', '..........#.....', '.........###....',
        '........#m###...', '.......#mmm#....', '........###.....'],
    [  # 27 full screen: a screen with arrows to its corners
        '################', '#www#######www##', '#ww#########ww##', '#w#.#######.#w##',
        '###.........####', '###.........####', '###.........####', '###.........####',
        '#w#.#######.#w##', '#ww#########ww##', '#www#######www##', '################',
        '......####......', '....########....', '................'],
    [  # 28 interface options: a window with ticked check boxes
        '################', '#BBBBBBBBBBB#w##', '################', '#wwwwwwwwwwwwww#',
        '#w####wwwwwwwww#', '#w#ww#w#######w#', '#w#w##wwwwwwwww#', '#w####wwwwwwwww#',
        '#wwwwwwwwwwwwww#', '#w####wwwwwwwww#', '#w#ww#w#####www#', '#w####wwwwwwwww#',
        '#wwwwwwwwwwwwww#', '################', '................'],
    None,  # 29 JPEG I/O options: a picture read in full
    [  # 30 about: an i in a bubble
        '....#######.....', '..##wwwwwww##...', '.#wwwwbbwwwww#..', '#wwwwwbbwwwwww#.',
        '#wwwwwwwwwwwww#.', '#wwwwbbbwwwwww#.', '#wwwwwbbwwwwww#.', '#wwwwwbbwwwwww#.',
        '#wwwwwbbwwwwww#.', '.#wwwbbbbwwww#..', '..##wwwwwww##...', '....###ww###....',
        '.......#w#......', '........##......', '................'],
    [  # 31 help: a question mark
        '.....######.....', '....##....##....', '...##......##...', '...##......##...',
        '...........##...', '..........##....', '.........##.....', '........##......',
        '.......##.......', '.......##.......', '................', '.......##.......',
        '.......##.......', '................', '................'],
    [  # 32 the caption button: the toolbar folded up
        '................', '.############...', '.#gg#wwwwwwww#..', '.############...',
        '.#ww#ww#......#.', '.#ww#ww#.......#', '.#######.......#', '.#ww#ww#.......#',
        '.#ww#ww#.......#', '.#######.......#', '.#ww#ww#......#.', '.#ww#ww#.......#',
        '.#######.......#', '................', '................'],
    [  # 33 disabled and busy: a grey hourglass
        '................', '...gggggggggg...', '....gwwwwwwg....', '....gwwwwwwg....',
        '.....gwwwwg.....', '......gwwg......', '.......gg.......', '......gwwg......',
        '.....gwwwwg.....', '....gwwwwwwg....', '....gwwwwwwg....', '...gggggggggg...',
        '................', '................', '................'],
    None,  # 34 the second glyph of the JPEG button: a picture read small, as a preview
]


def blank_glyph():
    return [['.'] * GLYPH_WIDTH for _ in range(GLYPH_HEIGHT)]


def plot_curve(rows, f, colour, frame=True):
    """A curve y = f(t), t and y in [0, 1], in a 13 x 12 graph with axes."""
    if frame:
        for y in range(1, 14):
            rows[y][1] = '#'
        for x in range(1, 15):
            rows[13][x] = '#'
    last = None
    for x in range(2, 15):
        y = 12 - round(f((x - 2) / 12.0) * 11)
        lo, hi = (y, y) if last is None else (min(y, last), max(y, last))
        for yy in range(lo, hi + 1):
            rows[yy][x] = colour
        last = y
    return rows


def arrow_circle(clockwise):
    """Three quarters of a circle from its top round the left to its right, with an arrow
    head at the top pointing the way it turns; mirrored for the other way."""
    rows = blank_glyph()
    cx, cy, r = 7.5, 7.5, 5.5
    for step in range(90, 361, 2):
        a = math.radians(step)
        for dr in (0, 0.8):
            rows[round(cy - (r - dr) * math.sin(a))][round(cx + (r - dr) * math.cos(a))] = 'b'
    for dx, height in enumerate((2, 1, 0)):
        for dy in range(-height, height + 1):
            rows[2 + dy][8 + dx] = '#'
    return rows if clockwise else [row[::-1] for row in rows]


def hue_wheel():
    rows = blank_glyph()
    for y in range(GLYPH_HEIGHT):
        for x in range(GLYPH_WIDTH):
            dx, dy = x - 7.5, y - 7
            d = math.hypot(dx, dy)
            if d <= 7:
                hue = (math.atan2(dy, dx) / (2 * math.pi)) % 1.0
                # The nearest of the six full hues in the palette.
                sector = int(hue * 6 + 0.5) % 6
                rows[y][x] = 'ryGcbm'[sector] if d > 2 else 'w'
    return rows


def grey_ramp():
    rows = blank_glyph()
    shades = 'wwww....gggg####'
    for y in range(2, 13):
        for x in range(16):
            rows[y][x] = shades[x]
    for x in range(16):
        rows[1][x] = rows[13][x] = '#'
    return rows


def picture(size):
    """A landscape in a frame of the given width (16 full, 9 as a preview)."""
    rows = blank_glyph()
    w, h = size, size * 13 // 16
    ox, oy = 0, (GLYPH_HEIGHT - h) // 2
    for y in range(h):
        for x in range(w):
            edge = x in (0, w - 1) or y in (0, h - 1)
            hill = y > h * 0.55 - (x - w / 2.0) * 0.25
            sun = (x - w * 0.7) ** 2 + (y - h * 0.3) ** 2 <= (w / 8.0) ** 2
            rows[oy + y][ox + x] = '#' if edge else 'y' if sun else 'G' if hill else 'c'
    return rows


GLYPHS[12] = arrow_circle(False)
GLYPHS[13] = arrow_circle(True)
GLYPHS[14] = plot_curve(blank_glyph(), lambda t: t ** 0.45, 'R')
GLYPHS[17] = hue_wheel()
GLYPHS[19] = plot_curve(plot_curve(plot_curve(blank_glyph(), lambda t: t ** 2, 'b'), lambda t: t, 'G', False),
                        lambda t: t ** 0.5, 'r', False)
GLYPHS[20] = plot_curve(blank_glyph(), lambda t: math.expm1(3 * t) / math.expm1(3), 'B')
GLYPHS[21] = plot_curve(blank_glyph(), lambda t: math.log1p(20 * t) / math.log1p(20), 'B')
GLYPHS[22] = plot_curve(blank_glyph(), lambda t: (1 - math.cos(t * math.pi)) / 2, 'B')
GLYPHS[23] = grey_ramp()
GLYPHS[29] = picture(16)
GLYPHS[34] = picture(9)


def glyph_bitmap(rows):
    """8-bit bitmap with the 16-colour glyph palette, rows bottom-up."""
    keys = list(GLYPH_PALETTE)
    rows = [list(r) for r in rows]
    assert len(rows) == GLYPH_HEIGHT, rows
    bits = bytearray()
    for y in reversed(range(GLYPH_HEIGHT)):
        row = rows[y] + ['.'] * (GLYPH_WIDTH - len(rows[y]))
        assert len(row) == GLYPH_WIDTH, ''.join(row)
        bits += bytes(keys.index(c) for c in row)
    info = struct.pack('<IiiHHIIiiII', 40, GLYPH_WIDTH, GLYPH_HEIGHT, 1, 8, 0, len(bits), 0, 0, len(keys), 0)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in GLYPH_PALETTE.values())
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
    for i, rows in enumerate(GLYPHS):
        with open('glyph%d.bmp' % (700 + i), 'wb') as f:
            f.write(glyph_bitmap(rows))

#!/usr/bin/env python3
"""Writes the tiny seed files of gif_reader_fuzz into fuzz/seeds/gif_reader_fuzz/."""
import os
import random
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gif_reader_fuzz")


def lzw(pixels, min_size):
    clear, end = 1 << min_size, (1 << min_size) + 1
    out, acc, nbits = bytearray(), 0, 0
    width, table, nxt = min_size + 1, {}, end + 1

    def put(code):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 255)
            acc >>= 8
            nbits -= 8

    put(clear)
    w = pixels[0]
    for c in pixels[1:]:
        if (w, c) in table:
            w = table[(w, c)]
            continue
        put(w)
        if nxt < 4096:
            table[(w, c)] = nxt
            nxt += 1
            if nxt > (1 << width) and width < 12:
                width += 1
        else:
            put(clear)
            table, nxt, width = {}, end + 1, min_size + 1
        w = c
    put(w)
    put(end)
    if nbits:
        out.append(acc & 255)
    blocks = bytearray()
    for i in range(0, len(out), 255):
        blocks += bytes([len(out[i:i + 255])]) + out[i:i + 255]
    return bytes(blocks) + b"\0"


def gif(version, width, height, pixels, bits, extension=b"", interlace=False, local=False, table=True):
    entries = 1 << bits
    colours = bytes((i * 37 % 256, 255 - i, i * 3 % 256)[k] for i in range(entries) for k in range(3))
    screen_flags = (0x80 | (bits - 1)) if table and not local else (bits - 1)
    head = b"GIF" + version + struct.pack("<HHBBB", width, height, screen_flags, 0, 0)
    if table and not local:
        head += colours
    image_flags = (0x40 if interlace else 0) | ((0x80 | (bits - 1)) if local else 0)
    head += extension + b"," + struct.pack("<HHHHB", 0, 0, width, height, image_flags)
    if local:
        head += colours
    min_size = max(bits, 2)
    return head + bytes([min_size]) + lzw(pixels, min_size) + b";"


def main():
    os.makedirs(HERE, exist_ok=True)
    rnd = random.Random(1)
    control = b"\x21\xf9\x04\x01\x00\x00\x01\x00"
    comment = b"\x21\xfe\x03abc\x00"
    seeds = {
        "two-colour-87a.gif": gif(b"87a", 4, 2, [0, 1, 1, 0, 1, 0, 0, 1], 1),
        "transparent-89a.gif": gif(b"89a", 5, 3, [i % 4 for i in range(15)], 2, control + comment),
        "interlaced.gif": gif(b"89a", 6, 9, [(i * 7) % 16 for i in range(54)], 4, interlace=True),
        "local-table.gif": gif(b"87a", 7, 4, [i % 8 for i in range(28)], 3, local=True),
        "no-table.gif": gif(b"87a", 3, 3, [i % 2 for i in range(9)], 1, table=False),
        "noisy-256.gif": gif(b"89a", 48, 40, [rnd.randrange(256) for _ in range(48 * 40)], 8),
        "runs.gif": gif(b"87a", 200, 20, [(i // 150) % 4 for i in range(4000)], 2),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()

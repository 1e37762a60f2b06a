#!/usr/bin/env python3
"""Writes the tiny seed files of bmp_reader_fuzz into fuzz/seeds/bmp_reader_fuzz/."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bmp_reader_fuzz")


def bmp(width, height, bits, os2=False, colors_used=0, top_down=False):
    entries = 0 if bits == 24 else (colors_used or (1 << bits))
    entry_bytes = 3 if os2 else 4
    header_size = 12 if os2 else 40
    stride = (width * bits + 31) // 32 * 4
    offset = 14 + header_size + entries * entry_bytes
    rows = bytes((x * 37 + y * 11) & 255 for y in range(height) for x in range(stride))
    table = b"".join(bytes((i * 5 & 255, 255 - i & 255, i * 3 & 255))[:3] + (b"" if os2 else b"\0")
                     for i in range(entries))
    if os2:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits, 0,
                           stride * height, 2835, 2835, colors_used, 0)
    data = info + table + rows
    return b"BM" + struct.pack("<IHHI", 14 + len(data), 0, 0, offset) + data


SEEDS = {
    "win1.bmp": bmp(13, 5, 1),
    "win4.bmp": bmp(9, 4, 4),
    "win8-used5.bmp": bmp(7, 3, 8, colors_used=5),
    "win24.bmp": bmp(5, 4, 24),
    "win8-topdown.bmp": bmp(6, 3, 8, top_down=True),
    "os2-4.bmp": bmp(9, 2, 4, os2=True),
    "os2-8.bmp": bmp(4, 4, 8, os2=True),
    "os2-24.bmp": bmp(3, 3, 24, os2=True),
}

if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)

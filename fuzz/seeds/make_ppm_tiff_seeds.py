#!/usr/bin/env python3
"""Writes the tiny seed files of ppm_reader_fuzz and tiff_reader_fuzz into fuzz/seeds/."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def save(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    with open(os.path.join(HERE, target, name), "wb") as f:
        f.write(data)


def ppm_seeds():
    t = "ppm_reader_fuzz"
    save(t, "p1.pbm", b"P1\n# bits\n5 2\n1 0 1 0 1\n0101 0 1 1 0\n")
    save(t, "p2.pgm", b"P2 3 2 15\n0 7 15\n20 # clipped\n 3 9\n")
    save(t, "p3.ppm", b"P3\n2 2\n255\n255 0 0  0 255 0\n0 0 255  9 9 9\n")
    save(t, "p4.pbm", b"P4\n10 2\n" + bytes([0xA0, 0x7F, 0x00, 0xFF]))
    save(t, "p5.pgm", b"P5 4 2 255\n" + bytes(range(0, 256, 32)))
    save(t, "p6.ppm", b"P6 3 2 255\n" + bytes((i * 37) & 255 for i in range(18)))
    save(t, "p6-16.ppm", b"P6 2 1 65535\n" + bytes([255, 255, 128, 0, 0, 1, 0, 0, 18, 52, 255, 0]))
    save(t, "p5-15.pgm", b"P5 3 1 15\n" + bytes([15, 7, 200]))


def tiff(entries, data, big=False):
    e = ">" if big else "<"
    out = (b"MM\0*" if big else b"II*\0") + struct.pack(e + "I", 8)
    out += struct.pack(e + "H", len(entries))
    data_at = 8 + 2 + 12 * len(entries) + 4
    for tag, typ, count, value in sorted(entries):
        value = data_at if value is None else value
        if typ == 3 and count == 1:
            out += struct.pack(e + "HHIHH", tag, typ, count, value, 0)
        else:
            out += struct.pack(e + "HHII", tag, typ, count, value)
    return out + struct.pack(e + "I", 0) + data


def strip(width, height, bits, samples, photometric, data, big=False, extra=()):
    return tiff([(256, 3, 1, width), (257, 3, 1, height), (258, 3, 1, bits), (259, 3, 1, 1),
                 (262, 3, 1, photometric), (273, 4, 1, None), (277, 3, 1, samples), (278, 3, 1, height),
                 (279, 4, 1, len(data))] + list(extra), data, big)


def tiff_seeds():
    t = "tiff_reader_fuzz"
    save(t, "rgb.tif", strip(3, 2, 8, 3, 2, bytes((i * 29) & 255 for i in range(18))))
    save(t, "rgb-be.tif", strip(3, 2, 8, 3, 2, bytes((i * 53) & 255 for i in range(18)), big=True))
    save(t, "rgba.tif", strip(2, 2, 8, 4, 2, bytes(range(16)), extra=[(338, 3, 1, 2)]))
    save(t, "grey8.tif", strip(4, 2, 8, 1, 1, bytes(range(0, 256, 32))))
    save(t, "grey4-white.tif", strip(4, 2, 4, 1, 0, bytes([0x01, 0x23, 0x45, 0xF0])))
    save(t, "bits.tif", strip(10, 2, 1, 1, 1, bytes([0xA0, 0x40, 0xFF, 0xC0])))
    # A 4-bit palette file: the colour map (3 x 16 SHORTs) follows the pixels.
    pixels = bytes([0x01, 0x23, 0x45, 0x67])
    cmap = struct.pack("<48H", *[(i * 4369 * (c + 1)) & 0xFFFF for c in range(3) for i in range(16)])
    base = 8 + 2 + 12 * 10 + 4
    save(t, "palette.tif", tiff([(256, 3, 1, 4), (257, 3, 1, 2), (258, 3, 1, 4), (259, 3, 1, 1), (262, 3, 1, 3),
                                 (273, 4, 1, base), (277, 3, 1, 1), (278, 3, 1, 2), (279, 4, 1, 4),
                                 (320, 3, 48, base + 4)], pixels + cmap))
    # One 16 x 16 tile of grey over an image of 5 x 3.
    tile = bytes(range(256))
    save(t, "tile.tif", tiff([(256, 3, 1, 5), (257, 3, 1, 3), (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 1),
                              (277, 3, 1, 1), (322, 3, 1, 16), (323, 3, 1, 16), (324, 4, 1, None),
                              (325, 4, 1, 256)], tile))


if __name__ == "__main__":
    ppm_seeds()
    tiff_seeds()

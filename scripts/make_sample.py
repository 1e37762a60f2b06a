#!/usr/bin/env python3
"""Writes the sample picture ./run.sh opens: a 24-bit Windows BMP with a sky gradient, a
sun, hills, a colour wheel of bars and a checkerboard. Deterministic: the same bytes on
every run. Usage: make_sample.py OUTPUT.bmp [WIDTH HEIGHT]"""
import math
import struct
import sys


def pixel(x, y, w, h):
    # Sky: deep blue at the top to pale orange at the horizon.
    horizon = h * 0.62
    t = min(y / horizon, 1.0)
    r, g, b = 30 + 220 * t, 60 + 150 * t, 160 - 40 * t
    # Sun with a soft halo.
    sx, sy, sr = w * 0.72, h * 0.30, h * 0.11
    d = math.hypot(x - sx, y - sy)
    if d < sr:
        r, g, b = 255, 236, 120
    elif d < sr * 1.8:
        k = (sr * 1.8 - d) / (sr * 0.8)
        r, g, b = r + (255 - r) * k * 0.6, g + (220 - g) * k * 0.6, b + (150 - b) * k * 0.6
    # Two rows of hills.
    far = horizon - h * 0.10 * (1 + math.sin(x / w * 7.0 + 1.3))
    near = horizon + h * 0.05 - h * 0.08 * math.sin(x / w * 4.0)
    if y > far:
        r, g, b = 70, 120, 90
    if y > near:
        shade = 0.75 + 0.25 * math.sin(x / 9.0) * math.sin(y / 7.0)
        r, g, b = 40 * shade, 150 * shade, 60 * shade
    # Colour bars along the bottom: the hue wheel in eight steps.
    if y > h * 0.86:
        hue = int(x * 8 / w)
        r, g, b = [(255, 0, 0), (255, 128, 0), (255, 255, 0), (0, 200, 0),
                   (0, 200, 200), (0, 0, 255), (140, 0, 200), (255, 255, 255)][hue]
    # A checkerboard tile in the top-left corner, for judging scaling.
    if x < w * 0.18 and y < h * 0.22:
        r = g = b = 230 if (x // 8 + y // 8) % 2 == 0 else 25
    return int(r), int(g), int(b)


def main():
    out = sys.argv[1]
    w = int(sys.argv[2]) if len(sys.argv) > 2 else 480
    h = int(sys.argv[3]) if len(sys.argv) > 3 else 360
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y, w, h)
            row += bytes((b, g, r))
        row += b"\0" * (stride - w * 3)
        rows.append(bytes(row))
    bits = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(bits), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    with open(out, "wb") as f:
        f.write(header + info + bits)


if __name__ == "__main__":
    main()

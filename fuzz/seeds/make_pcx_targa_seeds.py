#!/usr/bin/env python3
"""Writes tiny PCX and Targa seed files of every layout the readers accept into
fuzz/seeds/pcx_reader_fuzz and fuzz/seeds/targa_reader_fuzz."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def rle_pcx(line):
    out = bytearray()
    i = 0
    while i < len(line):
        j = i + 1
        while j < len(line) and j - i < 63 and line[j] == line[i]:
            j += 1
        if j - i > 1 or line[i] >= 0xC0:
            out.append(0xC0 | (j - i))
        out.append(line[i])
        i = j
    return out


def pcx(width, height, bits, planes, version=5, palette=False, pixel=lambda x, y, p: (x * 7 + y * 3 + p) & 255):
    bpl = ((bits * width + 15) // 16) * 2
    head = bytearray(128)
    head[0:4] = bytes([10, version, 1, bits])
    struct.pack_into('<HHHHHH', head, 4, 0, 0, width - 1, height - 1, 72, 72)
    for i in range(48):
        head[16 + i] = (i * 17) & 255
    head[65] = planes
    struct.pack_into('<HH', head, 66, bpl, 1)
    data = bytearray()
    for y in range(height):
        line = bytearray()
        for p in range(planes):
            line += bytes(pixel(x, y, p) for x in range(bpl))
        data += rle_pcx(line)
    tail = bytearray()
    if palette:
        tail.append(12)
        tail += bytes((i * 5) & 255 for i in range(768))
    return bytes(head + data + tail)


def tga(width, height, kind, bits, rle=False, top=True, cmap=0, idlen=0):
    bpp = (16 if bits == 15 else bits) // 8
    head = struct.pack('<BBBHHBHHHHBB', idlen, 1 if cmap else 0, kind + (8 if rle else 0), 0, cmap, 24 if cmap else 0,
                       0, 0, width, height, bits, 0x20 if top else 0)
    body = bytes(b'q' * idlen)
    body += bytes((i * 11) & 255 for i in range(cmap * 3))
    pixels = []
    for y in range(height):
        for x in range(width):
            v = (x // 3 + y) % (cmap if cmap else 256)
            pixels.append(bytes(((v + k * 40) & 255) for k in range(bpp)))
    if not rle:
        return head + body + b''.join(pixels)
    out = bytearray()
    i = 0
    while i < len(pixels):
        j = i + 1
        while j < len(pixels) and j - i < 128 and pixels[j] == pixels[i]:
            j += 1
        if j - i > 1:
            out.append(0x80 | (j - i - 1))
            out += pixels[i]
            i = j
        else:
            k = i + 1
            while k < len(pixels) and k - i < 128 and (k + 1 >= len(pixels) or pixels[k + 1] != pixels[k]):
                k += 1
            out.append(k - i - 1)
            out += b''.join(pixels[i:k])
            i = k
    return head + body + bytes(out)


def write(folder, name, data):
    path = os.path.join(here, folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), 'wb') as f:
        f.write(data)


write('pcx_reader_fuzz', 'mono.pcx', pcx(13, 5, 1, 1))
write('pcx_reader_fuzz', 'packed16.pcx', pcx(9, 4, 4, 1, version=3))
write('pcx_reader_fuzz', 'packed16-tail.pcx', pcx(9, 4, 4, 1, palette=True))
write('pcx_reader_fuzz', 'planar16.pcx', pcx(11, 3, 1, 4))
write('pcx_reader_fuzz', 'index256.pcx', pcx(10, 6, 8, 1, palette=True))
write('pcx_reader_fuzz', 'gray256.pcx', pcx(10, 6, 8, 1))
write('pcx_reader_fuzz', 'rgb24.pcx', pcx(7, 5, 8, 3, pixel=lambda x, y, p: (x // 2 * 60 + p * 90 + y) & 255))

write('targa_reader_fuzz', 'true24.tga', tga(6, 4, 2, 24))
write('targa_reader_fuzz', 'true24-rle-bottom.tga', tga(9, 4, 2, 24, rle=True, top=False))
write('targa_reader_fuzz', 'true32-rle.tga', tga(7, 3, 2, 32, rle=True))
write('targa_reader_fuzz', 'true16.tga', tga(5, 3, 2, 16, idlen=3))
write('targa_reader_fuzz', 'true15-rle.tga', tga(8, 2, 2, 15, rle=True))
write('targa_reader_fuzz', 'gray.tga', tga(6, 3, 3, 8))
write('targa_reader_fuzz', 'gray-rle.tga', tga(9, 3, 3, 8, rle=True))
write('targa_reader_fuzz', 'mapped.tga', tga(6, 4, 1, 8, cmap=12))
write('targa_reader_fuzz', 'mapped-rle.tga', tga(9, 4, 1, 8, rle=True, top=False, cmap=5))

#!/usr/bin/env python3
"""Draws the splash picture (480 x 272, the GBA screen doubled) as a PNG, without libraries."""
import struct, sys, zlib

W, H = 480, 272
FONT = {  # 5 x 7 glyphs, one string of 5 bits per row
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'I': ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'H': ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'Y': ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    'G': ["01111", "10000", "10000", "10011", "10001", "10001", "01111"],
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'C': ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    ' ': ["00000"] * 7, ',': ["00000", "00000", "00000", "00000", "00110", "00100", "01000"],
    '.': ["00000"] * 6 + ["00100"], '8': ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'X': ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
}
TILES = [(0x28, 0x3C, 0x6C), (0x30, 0x48, 0x80), (0x24, 0x34, 0x5C), (0x38, 0x50, 0x88)]
px = [[(0, 0, 0)] * W for _ in range(H)]
for y in range(H):
    for x in range(W):
        t = ((x // 16) * 7 + (y // 16) * 3 + (x // 16) * (y // 16)) % 4
        c = TILES[t]
        if x % 16 == 0 or y % 16 == 0:
            c = tuple(v // 2 for v in c)
        px[y][x] = c
for y in range(84, 196):
    for x in range(W):
        px[y][x] = (0x10, 0x14, 0x24)


def text(s, x0, y0, scale, colour):
    for i, ch in enumerate(s):
        glyph = FONT[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            x = x0 + (i * 6 + gx) * scale + dx
                            y = y0 + gy * scale + dy
                            if 0 <= x < W and 0 <= y < H:
                                px[y][x] = colour


def centred(s, y, scale, colour):
    text(s, (W - len(s) * 6 * scale + scale) // 2, y, scale, colour)


centred("TILESMITHERY", 100, 6, (0xF8, 0xD8, 0x58))
centred("TILES, MAPS AND PALETTES", 160, 2, (0xC8, 0xD8, 0xF8))
centred("FOR GBA AND GB", 180, 2, (0x98, 0xA8, 0xC8))

raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in px)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)) + \
    chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)

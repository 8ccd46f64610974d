#!/usr/bin/env python3
"""Writes the image files that the loader tests read (tests/convert/images): PNG files of every
colour type, bit depth, transparency and interlacing; BMP files of every header, depth and
compression; JPEG files through cjpeg (package libjpeg-turbo-progs) when it is installed.

The files are committed; run this again only to change them: scripts/make-test-images.py
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "convert", "images")
W, H = 19, 11  # odd sizes: rows with padding, partial bytes and bit fields


def colour(x, y):
    return ((x * 13 + y * 7) & 255, (x * 5 + y * 29) & 255, (x * y * 3 + 40) & 255)


def index(x, y, count):
    return (x + y * 3 + (x * y) // 4) % count


# ---------------------------------------------------------------- PNG
def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def adam7(width, height):
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    for x0, y0, dx, dy in passes:
        xs = list(range(x0, width, dx))
        ys = list(range(y0, height, dy))
        if xs and ys:
            yield xs, ys


def pack_row(samples, depth):
    if depth >= 8:
        out = bytearray()
        for s in samples:
            out += (s & ((1 << depth) - 1)).to_bytes(depth // 8, "big")
        return bytes(out)
    out = bytearray()
    acc, bits = 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def png(name, colour_type, depth, pixel, extra=b"", interlace=False, width=W, height=H):
    """pixel(x, y) gives the list of samples of one pixel."""
    raw = bytearray()
    if interlace:
        for xs, ys in adam7(width, height):
            for y in ys:
                row = []
                for x in xs:
                    row += pixel(x, y)
                raw += b"\0" + pack_row(row, depth)
    else:
        for y in range(height):
            row = []
            for x in range(width):
                row += pixel(x, y)
            # a different filter on every row
            data = pack_row(row, depth)
            raw += b"\0" + data
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 1 if interlace else 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    write("png", name + ".png", data)


def palette_chunk(count):
    return chunk(b"PLTE", b"".join(bytes(colour(i, i * 3)) for i in range(count)))


def make_png():
    for depth in (1, 2, 4, 8, 16):
        top = (1 << depth) - 1
        png("grey%d" % depth, 0, depth, lambda x, y, t=top: [index(x, y, t + 1)])
    png("grey1-trns0", 0, 1, lambda x, y: [index(x, y, 2)], chunk(b"tRNS", struct.pack(">H", 0)))
    png("grey1-trns1", 0, 1, lambda x, y: [index(x, y, 2)], chunk(b"tRNS", struct.pack(">H", 1)))
    png("grey4-trns", 0, 4, lambda x, y: [index(x, y, 16)], chunk(b"tRNS", struct.pack(">H", 5)))
    png("grey8-trns", 0, 8, lambda x, y: [index(x, y, 200)], chunk(b"tRNS", struct.pack(">H", 7)))
    png("grey16-trns", 0, 16, lambda x, y: [index(x, y, 9) * 7000], chunk(b"tRNS", struct.pack(">H", 14000)))
    png("greyalpha8", 4, 8, lambda x, y: [colour(x, y)[0], colour(x, y)[1]])
    png("greyalpha16", 4, 16, lambda x, y: [colour(x, y)[0] * 257 + x, colour(x, y)[1] * 251])
    png("rgb8", 2, 8, lambda x, y: list(colour(x, y)))
    png("rgb16", 2, 16, lambda x, y: [c * 257 + (x * 37 + y) % 256 for c in colour(x, y)])
    png("rgb8-trns", 2, 8, lambda x, y: list(colour(x % 3, y % 2)), chunk(b"tRNS", struct.pack(">HHH", *colour(1, 1))))
    png("rgb16-trns", 2, 16, lambda x, y: [c * 257 for c in colour(x % 3, y % 2)],
        chunk(b"tRNS", struct.pack(">HHH", *[c * 257 for c in colour(2, 0)])))
    png("rgba8", 6, 8, lambda x, y: list(colour(x, y)) + [(x * 20 + y) & 255])
    png("rgba16", 6, 16, lambda x, y: [c * 257 + y for c in colour(x, y)] + [(x * 5000 + y * 3) & 0xFFFF])
    for depth in (1, 2, 4, 8):
        count = min(1 << depth, 200)
        png("palette%d" % depth, 3, depth, lambda x, y, n=count: [index(x, y, n)], palette_chunk(count))
    alpha = bytes((i * 40) & 255 for i in range(5))
    png("palette8-trns", 3, 8, lambda x, y: [index(x, y, 12)], palette_chunk(12) + chunk(b"tRNS", alpha))
    png("palette4-short", 3, 4, lambda x, y: [index(x, y, 16)], palette_chunk(9))  # indices past the palette
    png("palette1-single", 3, 1, lambda x, y: [index(x, y, 2)], palette_chunk(1))
    dup = b"".join(bytes(colour(i % 4, 0)) for i in range(8))
    png("palette8-repeated", 3, 8, lambda x, y: [index(x, y, 8)], chunk(b"PLTE", dup))
    text = chunk(b"gAMA", struct.pack(">I", 45455)) + chunk(b"tEXt", b"Comment\0made for the loader tests") + \
        chunk(b"zTXt", b"Note\0\0" + zlib.compress(b"x" * 5000))
    png("rgb8-gamma-text", 2, 8, lambda x, y: list(colour(x, y)), text)
    png("rgb8-interlaced", 2, 8, lambda x, y: list(colour(x, y)), interlace=True)
    png("palette4-interlaced", 3, 4, lambda x, y: [index(x, y, 16)], palette_chunk(16), interlace=True)
    png("grey16-interlaced", 0, 16, lambda x, y: [colour(x, y)[2] * 256 + x], interlace=True)
    png("rgba16-interlaced", 6, 16, lambda x, y: [c * 257 for c in colour(x, y)] + [x * 3000], interlace=True)
    png("grey2-interlaced-tiny", 0, 2, lambda x, y: [index(x, y, 4)], interlace=True, width=3, height=2)


# ---------------------------------------------------------------- BMP
def bmp(name, bits, table, rows, header=40, compression=0, masks=None, top_down=False, data=None,
        colours_used=None, masks_after=False, width=W, height=H, offset_gap=0):
    """rows: list of row byte strings from the top, already packed (without padding)."""
    if data is None:
        stride = (width * bits + 31) // 32 * 4
        order = rows if top_down else list(reversed(rows))
        data = b"".join(r + b"\0" * (stride - len(r)) for r in order)
    entry = 3 if header == 12 else 4
    table_bytes = b"".join(bytes((b, g, r)) + (b"" if entry == 3 else b"\0") for r, g, b in table)
    mask_bytes = b"".join(struct.pack("<I", m) for m in masks[:3]) if masks_after else b""
    offset = 14 + header + len(mask_bytes) + len(table_bytes) + offset_gap
    h = -height if top_down else height
    if header == 12:
        info = struct.pack("<IhhHH", 12, width, h, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", header, width, h, 1, bits, compression, len(data), 2835, 2835,
                           len(table) if colours_used is None else colours_used, 0)
        if header >= 52:
            m = list(masks or [0, 0, 0, 0])
            info += struct.pack("<III", *m[:3])
            if header >= 56:
                info += struct.pack("<I", m[3])
        info += b"\0" * (header - len(info))
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    write("bmp", name + ".bmp", head + info + mask_bytes + table_bytes + b"\0" * offset_gap + data)


def packed_rows(bits, count, width=W, height=H):
    return [pack_row([index(x, y, count) for x in range(width)], bits) for y in range(height)]


def rle8_segment(values):
    out = bytearray()
    x = 0
    while x < len(values):
        run = 1
        while x + run < len(values) and values[x + run] == values[x] and run < 255:
            run += 1
        if run >= 2 or len(values) - x < 3:
            out += bytes((run, values[x]))
            x += run
        else:
            lit = values[x:x + 5]
            out += bytes((0, len(lit))) + bytes(lit) + (b"\0" if len(lit) & 1 else b"")
            x += len(lit)
    return out


def rle8(width, height, count, skip=False):
    out = bytearray()
    y = 0
    while y < height:
        if y == 3 and skip:
            # four pixels, then a move 2 right and 1 down: the rest of this line and the start
            # of the next are skipped
            out += bytes((4, index(0, height - 1 - y, count), 0, 2, 2, 1))
            y += 1
            out += rle8_segment([index(x, height - 1 - y, count) for x in range(6, width)])
        else:
            out += rle8_segment([index(x, height - 1 - y, count) for x in range(width)])
        out += b"\0\0"
        y += 1
    return bytes(out + b"\0\1")


def rle4(width, height):
    out = bytearray()
    for y in range(height):
        row = [index(x, height - 1 - y, 16) for x in range(width)]  # lines from the bottom
        x = 0
        while x < len(row):
            if len(row) - x < 3:  # too few for literal pixels (their counts start at 3)
                rest = row[x:]
                out += bytes((len(rest), rest[0] << 4 | (rest[1] if len(rest) > 1 else 0)))
                x = len(row)
            elif y % 2 == 0:  # runs of two nibbles
                run = 2
                while x + run < len(row) and row[x + run] == row[x + run - 2] and run < 255:
                    run += 1
                out += bytes((run, row[x] << 4 | row[x + 1]))
                x += run
            else:
                lit = row[x:x + 7] if len(row) - x - 7 not in (1, 2) else row[x:x + 5]
                packed = pack_row(lit, 4)
                out += bytes((0, len(lit))) + packed + (b"\0" if len(packed) & 1 else b"")
                x += len(lit)
        out += b"\0\0"
    return bytes(out + b"\0\1")


def make_bmp():
    table = lambda n: [colour(i * 3, i) for i in range(n)]
    bmp("bits1-dark-first", 1, [(0, 0, 0), (255, 255, 255)], packed_rows(1, 2))
    bmp("bits1-light-first", 1, [(250, 240, 230), (10, 20, 30)], packed_rows(1, 2))
    bmp("bits1-single", 1, [(90, 80, 70)], packed_rows(1, 2))
    bmp("bits4", 4, table(16), packed_rows(4, 16))
    bmp("bits4-short-table", 4, table(6), packed_rows(4, 16))
    bmp("bits8", 8, table(256), packed_rows(8, 256))
    bmp("bits8-used-40", 8, table(40), packed_rows(8, 40))
    bmp("bits8-short-table", 8, table(20), packed_rows(8, 30))
    bmp("bits8-topdown", 8, table(64), packed_rows(8, 64), top_down=True)
    bmp("bits8-gap-before-pixels", 8, table(32), packed_rows(8, 32), offset_gap=6)
    bmp("rle8", 8, table(48), None, compression=1, data=rle8(W, H, 48))
    bmp("rle8-skip", 8, table(48), None, compression=1, data=rle8(W, H, 48, skip=True))
    bmp("rle4", 4, table(16), None, compression=2, data=rle4(W, H))
    pixels = [[colour(x, y) for x in range(W)] for y in range(H)]
    rgb555 = [b"".join(struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | b >> 3) for r, g, b in row) for row in pixels]
    rgb565 = [b"".join(struct.pack("<H", (r >> 3) << 11 | (g >> 2) << 5 | b >> 3) for r, g, b in row) for row in pixels]
    rgb24 = [b"".join(bytes((b, g, r)) for r, g, b in row) for row in pixels]
    rgb32 = [b"".join(bytes((b, g, r, 77)) for r, g, b in row) for row in pixels]
    argb = [b"".join(bytes((b, g, r, (x * 13) & 255)) for x, (r, g, b) in enumerate(row)) for row in pixels]
    bmp("bits16", 16, [], rgb555)
    bmp("bits16-565", 16, [], rgb565, compression=3, masks=[0xF800, 0x07E0, 0x001F], masks_after=True)
    bmp("bits24", 24, [], rgb24)
    bmp("bits24-topdown", 24, [], rgb24, top_down=True)
    bmp("bits32", 32, [], rgb32)
    bmp("bits32-fields", 32, [], rgb32, compression=3, masks=[0xFF0000, 0xFF00, 0xFF], masks_after=True)
    bmp("bits32-v4-alpha", 32, [], argb, header=108, compression=3, masks=[0xFF0000, 0xFF00, 0xFF, 0xFF000000])
    bmp("bits24-v5", 24, [], rgb24, header=124)
    bmp("bits8-v5", 8, table(100), packed_rows(8, 100), header=124)
    bmp("os2-bits8", 8, table(256), packed_rows(8, 256), header=12)
    bmp("os2-bits24", 24, [], rgb24, header=12)
    bmp("bits8-width-5", 8, table(16), packed_rows(8, 16, 5, 4), width=5, height=4)


# ---------------------------------------------------------------- JPEG
def make_jpeg():
    try:
        subprocess.run(["cjpeg", "-version"], capture_output=True, check=False)
    except FileNotFoundError:
        print("cjpeg not found (package libjpeg-turbo-progs): JPEG files left as they are", file=sys.stderr)
        return
    width, height = 48, 40
    ppm = b"P6\n%d %d\n255\n" % (width, height) + b"".join(
        bytes(colour(x, y)) for y in range(height) for x in range(width))
    pgm = b"P5\n%d %d\n255\n" % (width, height) + bytes(colour(x, y)[1] for y in range(height) for x in range(width))
    with tempfile.TemporaryDirectory() as tmp:
        for name, data in (("in.ppm", ppm), ("in.pgm", pgm)):
            with open(os.path.join(tmp, name), "wb") as f:
                f.write(data)
        cases = {
            "baseline": ["-quality", "80"],
            "subsampling-444": ["-sample", "1x1"],
            "subsampling-422": ["-sample", "2x1"],
            "progressive": ["-progressive"],
            "restart": ["-restart", "2"],
            "optimized": ["-optimize", "-quality", "95"],
            "arithmetic": ["-arithmetic"],
        }
        for name, options in cases.items():
            out = subprocess.run(["cjpeg"] + options + [os.path.join(tmp, "in.ppm")], capture_output=True, check=True)
            write("jpeg", name + ".jpg", out.stdout)
        out = subprocess.run(["cjpeg", "-grayscale", os.path.join(tmp, "in.pgm")], capture_output=True, check=True)
        write("jpeg", "grey.jpg", out.stdout)


def write(folder, name, data):
    path = os.path.join(OUT, folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    make_png()
    make_bmp()
    make_jpeg()

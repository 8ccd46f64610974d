#!/usr/bin/env python3
"""Draws the program's icon: a 4 x 4 sheet of 8 x 8 tiles in a 15-bit palette on a rounded
slate square, with a hammer-like pixel 'T'. Writes the SVG and PNGs of 48, 128 and 256 pixels
(the PNGs are drawn from the same shapes, without any image library).

    python3 scripts/draw-icon.py src/resources/desktop
"""
import os
import struct
import sys
import zlib

# Shapes on a 256-unit canvas: (x, y, w, h, (r, g, b), corner radius).
BACK = (12, 12, 232, 232, (0x27, 0x2f, 0x45), 36)
PALETTE = [(0xf8, 0x58, 0x38), (0xf8, 0xb8, 0x00), (0x58, 0xd8, 0x54), (0x3c, 0xbc, 0xfc),
           (0x68, 0x44, 0xfc), (0xd8, 0x00, 0xcc), (0xf8, 0x78, 0x58), (0xb8, 0xf8, 0x18)]


def shapes():
    out = [BACK]
    # The tile sheet: 4 x 4 tiles of 48 units with 4-unit gutters, each tile one palette colour
    # and a lighter 8-pixel checker in its corner, as a converted tileset looks.
    for ty in range(4):
        for tx in range(4):
            x, y = 30 + tx * 50, 30 + ty * 50
            colour = PALETTE[(tx + 3 * ty) % len(PALETTE)]
            out.append((x, y, 46, 46, colour, 4))
            light = tuple(min(255, c + 60) for c in colour)
            out.append((x + 6, y + 6, 12, 12, light, 0))
            out.append((x + 18, y + 18, 12, 12, light, 0))
    # The 'T' of Tilesmithery, in white pixels over the sheet.
    white = (0xf8, 0xf8, 0xf8)
    out.append((54, 62, 148, 30, white, 6))
    out.append((113, 62, 30, 136, white, 6))
    return out


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
             '<title>Tilesmithery</title>']
    for x, y, w, h, (r, g, b), rad in shapes():
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="#%02x%02x%02x"/>' % (x, y, w, h, rad, r, g, b))
    parts.append('</svg>')
    return '\n'.join(parts) + '\n'


def inside(px, py, x, y, w, h, rad):
    if px < x or py < y or px >= x + w or py >= y + h:
        return False
    cx = min(max(px, x + rad), x + w - rad)
    cy = min(max(py, y + rad), y + h - rad)
    return (px - cx) ** 2 + (py - cy) ** 2 <= rad * rad


def png(size):
    # 4 x 4 samples per pixel for smooth corners.
    scale = 256.0 / size
    rows = []
    all_shapes = shapes()
    for j in range(size):
        row = bytearray([0])
        for i in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(4):
                for sx in range(4):
                    px, py = (i + (sx + 0.5) / 4) * scale, (j + (sy + 0.5) / 4) * scale
                    colour = None
                    for x, y, w, h, c, rad in all_shapes:
                        if inside(px, py, x, y, w, h, rad):
                            colour = c
                    if colour:
                        acc[0] += colour[0]; acc[1] += colour[1]; acc[2] += colour[2]; acc[3] += 255
            alpha = acc[3] // 16
            if alpha:
                n = acc[3] // 255
                row += bytes([acc[0] // n, acc[1] // n, acc[2] // n, alpha])
            else:
                row += bytes(4)
        rows.append(bytes(row))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b''))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else '.'
    with open(os.path.join(folder, 'tilesmithery.svg'), 'w') as f:
        f.write(svg())
    for size in (48, 128, 256):
        with open(os.path.join(folder, 'tilesmithery-%d.png' % size), 'wb') as f:
            f.write(png(size))


if __name__ == '__main__':
    main()

#!/usr/bin/env python3
"""Writes the demo project's pictures (deterministic RGB PNG files, standard library only)."""
import os, struct, zlib

def png(path, w, h, pixel):
    rows = b''.join(b'\x00' + b''.join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
    data += chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(data)

out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'examples', 'demo')

# ship.png: a small sprite sheet of repeated 8x8 tiles, a few dozen colours.
def ship(x, y):
    tx, ty, px, py = x // 8, y // 8, x % 8, y % 8
    kind = (tx * 3 + ty * 5) % 4
    if kind == 0:
        return (0, 0, 0)
    if kind == 1:
        return (40 + 20 * px, 40 + 20 * py, 200)
    if kind == 2:
        return (255 - 16 * py, 128, 16 * px) if (px + py) % 3 else (255, 255, 255)
    return (60, 180 - 10 * ((px * py) % 8), 60)
png(os.path.join(out, 'ship.png'), 64, 64, ship)

# level.png: tiles drawn from four disjoint groups of 15 colours (one sub-palette each).
def level(x, y):
    tx, ty, px, py = x // 8, y // 8, x % 8, y % 8
    group = (tx // 4 + ty // 2) % 4
    shade = (px * 7 + py * 3 + tx + ty) % 15
    base = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)][group]
    f = 40 + shade * 14
    return tuple(c * f // 255 for c in base)
png(os.path.join(out, 'level.png'), 128, 64, level)

# title.png: a smooth picture with many colours, converted as a bitmap.
def title(x, y):
    return ((x * 255) // 95, (y * 255) // 63, ((x + y) * 255) // 158)
png(os.path.join(out, 'title.png'), 96, 64, title)

# gbtiles.png: four shades of grey for the Game Boy.
def gbtiles(x, y):
    shades = [(255, 255, 255), (170, 170, 170), (85, 85, 85), (0, 0, 0)]
    return shades[((x // 4) + (y // 4) + (x * y) % 3) % 4]
png(os.path.join(out, 'gbtiles.png'), 32, 32, gbtiles)

#!/usr/bin/env python3
"""Draws the program icon: a blue rounded tile holding a 3 x 3 grid of buttons, the
middle one lit. Writes res/quimbrel.ico with 16, 24, 32 and 48 pixel images."""
import struct
import sys


def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0
    radius = 6 * s

    def inside_rounded(x, y, x0, y0, x1, y1, r):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    for y in range(size):
        for x in range(size):
            fx, fy = x + 0.5, y + 0.5
            if inside_rounded(fx, fy, 0.5, 0.5, size - 0.5, size - 0.5, radius):
                t = y / max(size - 1, 1)
                # frame colour RGB(123,158,189) at the rim, deeper blue inside
                rim = not inside_rounded(fx, fy, 1.5 * s + 0.5, 1.5 * s + 0.5,
                                         size - 1.5 * s - 0.5, size - 1.5 * s - 0.5, radius - 1.5 * s)
                if rim:
                    px[y][x] = (123, 158, 189, 255)
                else:
                    px[y][x] = (int(40 + 30 * (1 - t)), int(90 + 40 * (1 - t)), int(170 + 40 * (1 - t)), 255)
    cell = 8 * s
    gap = max(1.0, 1.5 * s)
    origin = 4 * s
    for row in range(3):
        for col in range(3):
            x0 = origin + col * cell + gap / 2
            y0 = origin + row * cell + gap / 2
            x1 = x0 + cell - gap
            y1 = y0 + cell - gap
            lit = row == 1 and col == 1
            for y in range(size):
                for x in range(size):
                    if x0 <= x + 0.5 < x1 and y0 <= y + 0.5 < y1:
                        if lit:
                            px[y][x] = (255, 200, 60, 255)
                        else:
                            top = (y + 0.5 - y0) < (y1 - y0) / 2
                            v = 250 if top else 225
                            px[y][x] = (v, v, 255 if top else 240, 255)
    return px


def bitmap(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes(c for r, g, b, a in px[y] for c in (b, g, r, a)) for y in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for y in reversed(range(size)):
        bits = 0
        row = bytearray(mask_row)
        for x in range(size):
            if px[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + rows + mask


def main(path):
    sizes = [16, 24, 32, 48]
    images = [bitmap(draw(n)) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/quimbrel.ico')

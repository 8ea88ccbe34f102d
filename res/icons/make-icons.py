#!/usr/bin/env python3
"""Draws the program's icons and the link cursor and writes them as .ico/.cur files.

varokint.ico (id 105): a key cap with a remapping arrow, 48x48, 32x32 and 16x16; the
              program's icon in Explorer, its window class and its dialogs.
small.ico    (id 112): the same key cap drawn on the pixel grid at 16, 20, 24 and 32 px (the
              small-icon size at 100, 125, 150 and 200 %), used by the tray and the window
              class, which then show the picture made for their size rather than one scaled.
hand.cur     (id 121): a pointing hand, 32x32, hot spot on the fingertip.
Run from anywhere; the files are written next to this script.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def rounded_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)))
    qx, qy = ax + t * dx, ay + t * dy
    return ((px - qx) ** 2 + (py - qy) ** 2) ** 0.5


def key_cap_colour(x, y):
    """Colour (r, g, b, a) of the key cap at a point of the unit square, or None."""
    # Base of the cap (the side walls), then its top face raised towards the upper left.
    if not rounded_rect(x, y, 0.04, 0.06, 0.96, 0.96, 0.16):
        return None
    if rounded_rect(x, y, 0.04, 0.06, 0.96, 0.96, 0.16) and not rounded_rect(x, y, 0.09, 0.10, 0.91, 0.93, 0.14):
        return (20, 38, 70, 255)                      # outline
    if not rounded_rect(x, y, 0.14, 0.12, 0.86, 0.78, 0.10):
        return (58, 92, 150, 255)                     # side walls, darker
    # Top face: a light vertical gradient.
    shade = int(255 - 40 * (y - 0.12) / 0.66)
    face = (shade, shade, min(255, shade + 8), 255)
    # The remapping arrow: a shaft with a head, pointing right.
    width = 0.055
    if (segment_distance(x, y, 0.28, 0.45, 0.68, 0.45) <= width
            or segment_distance(x, y, 0.70, 0.45, 0.55, 0.30) <= width
            or segment_distance(x, y, 0.70, 0.45, 0.55, 0.60) <= width):
        return (200, 60, 20, 255)
    return face


def small_key_cap(size):
    """The key cap for one small size: outline, side walls and arrow in whole pixels, so that
    straight edges stay sharp and the arrow is never thinner than two pixels."""
    px = 1.0 / size
    wall = max(2, round(size * 0.16)) * px          # bottom side wall
    outline = px
    radius = max(2, round(size * 0.16)) * px
    shaft = (2 if size < 28 else 3) * px             # stroke of the arrow
    face_top, face_bottom = outline, 1.0 - outline - wall
    middle = (round((face_top + face_bottom) / 2 / px - shaft / px / 2) * px) + shaft / 2
    left, tip = 4 * px if size < 24 else 6 * px, 1.0 - (4 if size < 24 else 6) * px
    head = round(size * 0.2) * px

    def shade(x, y):
        if not rounded_rect(x, y, 0.0, 0.0, 1.0, 1.0, radius):
            return None
        if not rounded_rect(x, y, outline, outline, 1.0 - outline, 1.0 - outline, radius - outline):
            return (20, 38, 70, 255)                  # outline
        if y > face_bottom:
            return (58, 92, 150, 255)                 # side wall
        if (abs(y - middle) <= shaft / 2 and left <= x <= tip - shaft / 2
                or segment_distance(x, y, tip - shaft / 2, middle, tip - shaft / 2 - head, middle - head) <= shaft / 2
                or segment_distance(x, y, tip - shaft / 2, middle, tip - shaft / 2 - head, middle + head) <= shaft / 2):
            return (200, 60, 20, 255)
        level = int(255 - 40 * (y - face_top) / (face_bottom - face_top))
        return (level, level, min(255, level + 8), 255)
    return shade


def render(size, shader, samples=4):
    """Supersampled picture, rows top to bottom, each pixel (r, g, b, a)."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = shader((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c is not None:
                        for i in range(3):
                            acc[i] += c[i] * c[3]
                        acc[3] += c[3]
            n = samples * samples
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(acc[i] / acc[3]) for i in range(3)) + (int(acc[3] / n),))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit BITMAPINFOHEADER image with its AND mask, as stored in .ico and .cur files."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def write_icon_file(name, images, kind=1, hotspot=(0, 0)):
    """images: list of pixel rows; kind 1 = icon, 2 = cursor (then hotspot is used)."""
    blobs = [dib(rows) for rows in images]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, blobs):
        size = len(rows)
        planes, bits = (1, 32) if kind == 1 else hotspot
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, planes, bits, len(blob), offset)
        offset += len(blob)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out + b''.join(blobs))


HAND = [
    "                                ",
    "      ##                        ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..###                     ",
    "     #..#..###                  ",
    "     #..#..#..##                ",
    "     #..#..#..#.#               ",
    " ### #..#..#..#..#              ",
    " #..##..........#               ",
    " #...#..........#               ",
    "  #..#..........#               ",
    "   #.#..........#               ",
    "   #............#               ",
    "    #...........#               ",
    "    #..........#                ",
    "     #.........#                ",
    "     #........#                 ",
    "      #.......#                 ",
    "      #.......#                 ",
    "      #########                 ",
]


def hand_rows():
    rows = []
    for y in range(32):
        line = HAND[y] if y < len(HAND) else ""
        row = []
        for x in range(32):
            c = line[x] if x < len(line) else ' '
            row.append({'#': (0, 0, 0, 255), '.': (255, 255, 255, 255)}.get(c, (0, 0, 0, 0)))
        rows.append(row)
    return rows


if __name__ == '__main__':
    write_icon_file('varokint.ico', [render(size, key_cap_colour) for size in (48, 32, 16)])
    write_icon_file('small.ico', [render(size, small_key_cap(size)) for size in (16, 20, 24, 32)])
    write_icon_file('hand.cur', [hand_rows()], kind=2, hotspot=(6, 1))

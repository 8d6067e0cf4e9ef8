#!/usr/bin/env python3
"""Draws KorvelConfig's artwork and writes it next to this script.

Outputs:
  symbols.bmp            bitmap 134, the symbol table picture of the chooser
  korvel.ico             icon 142, the program icon (16 to 256 pixels)
  korvelconfig.png       256 x 256 icon for the Linux desktop entry
  korvelconfig-48.png    48 x 48 icon for the Linux desktop entry

The pixel maps are in artwork_pixels.txt; the grid comes from the C++ header
through artwork_layout.py.  Only the Python standard library is used, and the
output is deterministic: check_artwork.py relies on byte-identical files.

Usage: python3 make_artwork.py [output-directory]
"""

import math
import os
import struct
import sys
import zlib

from artwork_layout import (BLACK, COLUMNS, FIRST_CODE, HEIGHT, MARK_X0,
                            MARK_X1, MARK_Y, PALETTE, PITCH, RED, ROWS, WHITE,
                            WIDTH)

HERE = os.path.dirname(os.path.abspath(__file__))
ICON = PITCH - 1                   # pixels inside the lines
SYMBOL_CELLS = 94                  # '!' .. '~'


def read_pixels(path):
    """The sections of the pixel file: name -> its lines, notes dropped."""
    sections, lines = {}, None
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip()
            if line.startswith('== '):
                kind, *rest = line[3:].split()
                name = kind + ' ' + rest[0] if kind == 'icon' else kind
                lines = sections.setdefault(name, [])
            elif line and lines is not None:
                lines.append(line)
    return sections


PIXELS = read_pixels(os.path.join(HERE, 'artwork_pixels.txt'))
_key = ' '.join(PIXELS['key']).split()
KEY = dict(zip(_key[::2], map(int, _key[1::2])))
FONT = {line[0]: line[2:].split() for line in PIXELS['font']}
ICONS = {name[5:]: rows for name, rows in PIXELS.items()
         if name.startswith('icon ')}

# ---------------------------------------------------------------------------
# The symbol table picture.

def text_map(ch, scale, ink):
    """The glyph of ch as an icon map, scaled up and trimmed to its ink."""
    rows = FONT[ch]
    used = [y for y, row in enumerate(rows) if '#' in row]
    cols = [x for x in range(5) if any(row[x] == '#' for row in rows)]
    out = []
    for y in range(used[0], used[-1] + 1):
        line = ''.join((ink if rows[y][x] == '#' else '.') * scale
                       for x in range(cols[0], cols[-1] + 1))
        out.extend([line] * scale)
    return out


def disc_map(digit):
    """A numbered circle: how the digit symbols are usually shown."""
    grid = [list(row) for row in PIXELS['disc']]
    for y, row in enumerate(FONT[digit]):
        for x, bit in enumerate(row):
            if bit == '#':
                # Two pixels wide so that the digit holds up on green.
                grid[5 + y][6 + x] = 'w'
                grid[5 + y][7 + x] = 'w'
    return [''.join(r) for r in grid]


def filler_map():
    # Light diagonal hatching: clearly "nothing here", unlike any symbol.
    return [''.join('s' if (x + y) % 4 == 0 or (x - y) % 4 == 0 else '.'
                    for x in range(ICON))
            for y in range(ICON)]


def cell_map(index):
    if index >= SYMBOL_CELLS:
        return filler_map()
    ch = chr(FIRST_CODE + index)
    if ch in ICONS:
        return ICONS[ch]
    if ch.isdigit():
        return disc_map(ch)
    # Doubled, or the character is hard to read in a 20-pixel cell.
    return text_map(ch, 2, 'n')


def check_map(name, rows):
    widths = {len(r) for r in rows}
    if len(widths) != 1 or max(widths) > ICON or len(rows) > ICON:
        raise ValueError('icon %r is not a rectangle within %d x %d'
                         % (name, ICON, ICON))
    bad = set(''.join(rows)) - set(KEY)
    if bad:
        raise ValueError('icon %r uses unknown colours %r' % (name, bad))


def draw_symbol_table():
    """Returns the picture as rows (top row first) of palette indices."""
    px = [[WHITE] * WIDTH for _ in range(HEIGHT)]
    for index in range(COLUMNS * ROWS):
        rows = cell_map(index)
        check_map(index, rows)
        h, w = len(rows), len(rows[0])
        left = (index % COLUMNS) * PITCH + 1 + (ICON - w) // 2
        top = (index // COLUMNS) * PITCH + 1 + (ICON - h) // 2
        for y, line in enumerate(rows):
            for x, key in enumerate(line):
                px[top + y][left + x] = KEY[key]
    for k in range(COLUMNS + 1):
        for y in range(HEIGHT):
            px[y][k * PITCH] = BLACK
    for k in range(ROWS + 1):
        for x in range(WIDTH):
            px[k * PITCH][x] = BLACK
    for x in range(MARK_X0, MARK_X1 + 1):
        px[MARK_Y][x] = RED
    return px


def bmp4_bytes(px):
    """A 4-bit, 16-colour, uncompressed bottom-up BMP of the picture."""
    height, width = len(px), len(px[0])
    stride = ((width * 4 + 31) // 32) * 4
    body = bytearray()
    for row in reversed(px):
        line = bytearray(stride)
        for x, value in enumerate(row):
            if x % 2 == 0:
                line[x // 2] = value << 4
            else:
                line[x // 2] |= value
        body += line
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    # 3780 pixels per metre is 96 dpi, the usual screen resolution.
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0,
                       len(body), 3780, 3780, 16, 0)
    return header + info + palette + bytes(body)

# ---------------------------------------------------------------------------
# The program icon: a red map pin carrying an antenna that sends radio waves,
# i.e. a position beacon.  Drawn as shapes in a unit square and sampled at
# each size, so that the small sizes are not blurred copies of the big one.

PIN_RED = (214, 38, 30, 255)
PIN_DARK = (120, 16, 12, 255)
MAST = (40, 40, 48, 255)
WAVE = (24, 96, 204, 255)
SHADOW = (0, 0, 0, 70)
HOLE = (255, 255, 255, 255)

PIN_CENTRE = (0.5, 0.55)
PIN_RADIUS = 0.24
PIN_TIP = (0.5, 0.965)
ANTENNA_TIP = (0.5, 0.23)


def in_pin(x, y, grow):
    """Inside the pin: its round head and the cone tangent to it."""
    cx, cy = PIN_CENTRE
    r = PIN_RADIUS + grow
    if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
        return True
    tx, ty = PIN_TIP
    ty += grow * 1.8
    dist = ty - cy
    vx, vy = x - tx, ty - y
    # The cone ends where its sides touch the head, or it would stick out.
    if vy <= 0 or vy > (dist * dist - r * r) / dist:
        return False
    return math.atan2(abs(vx), vy) <= math.asin(r / dist)


def icon_colour(x, y, px):
    """Colour of the icon at unit position x, y; px is one pixel in units."""
    # Strokes never get thinner than about a pixel, or they vanish at 16 x 16.
    stroke = max(0.05, 1.1 * px)
    outline = max(0.028, 0.9 * px)
    if in_pin(x, y, 0):
        cx, cy = PIN_CENTRE
        if math.hypot(x - cx, y - cy) <= max(0.1, 1.6 * px):
            return HOLE
        if not in_pin(x, y, -outline):
            return PIN_DARK
        return PIN_RED
    ax, ay = ANTENNA_TIP
    if abs(x - ax) <= stroke / 2 and ay <= y <= PIN_CENTRE[1] - PIN_RADIUS + 0.02:
        return MAST
    if math.hypot(x - ax, y - ay) <= max(0.045, 1.2 * px):
        return MAST
    dx, dy = x - ax, y - ay
    d = math.hypot(dx, dy)
    # Waves to both sides, tilted upwards, clear of the pin's head.
    if dx and -0.9 * abs(dx) <= dy <= 0.45 * abs(dx):
        for radius in ((0.3,) if px > 0.05 else (0.15, 0.27)):
            if abs(d - radius) <= stroke / 2:
                return WAVE
    sx, sy = PIN_TIP
    if ((x - sx) / 0.2) ** 2 + ((y - sy + 0.005) / 0.03) ** 2 <= 1:
        return SHADOW
    return None


def draw_icon(size, samples=4):
    """RGBA rows of the icon at size x size pixels, antialiased."""
    px = 1.0 / size
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            r = g = b = a = 0
            for sj in range(samples):
                for si in range(samples):
                    x = (i + (si + 0.5) / samples) * px
                    y = (j + (sj + 0.5) / samples) * px
                    c = icon_colour(x, y, px)
                    if c:
                        w = c[3]
                        r += c[0] * w
                        g += c[1] * w
                        b += c[2] * w
                        a += w
            n = samples * samples
            if a:
                row.append((round(r / a), round(g / a), round(b / a),
                            round(a / n)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


# At 16 x 16 the sampled drawing turns to mush, so that size is drawn by
# hand in the same colours.
ICON_16_KEY = {'.': (0, 0, 0, 0), 'b': WAVE, 'k': MAST, 'm': PIN_DARK,
               'r': PIN_RED, 'w': HOLE, 's': SHADOW}


def draw_icon_16():
    return [[ICON_16_KEY[c] for c in row]
            for row in PIXELS['program-icon-16']]


def png_bytes(rows):
    height, width = len(rows), len(rows[0])

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)
    ihdr = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr)
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def ico_dib_bytes(rows):
    """An icon image as a 32-bit DIB with its AND mask, for the .ico file."""
    height, width = len(rows), len(rows[0])
    info = struct.pack('<IiiHHIIiiII', 40, width, 2 * height, 1, 32, 0,
                       0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return info + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """A .ico file; images maps size to RGBA rows.  256 goes in as PNG."""
    sizes = sorted(images)
    blobs = [png_bytes(images[s]) if s >= 256 else ico_dib_bytes(images[s])
             for s in sizes]
    offset = 6 + 16 * len(sizes)
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    for s, blob in zip(sizes, blobs):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# ---------------------------------------------------------------------------

def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)
    print('wrote %s (%d bytes)' % (path, len(data)))


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else HERE
    write(os.path.join(out_dir, 'symbols.bmp'), bmp4_bytes(draw_symbol_table()))
    images = {s: draw_icon(s) for s in (24, 32, 48, 256)}
    images[16] = draw_icon_16()
    write(os.path.join(out_dir, 'korvel.ico'), ico_bytes(images))
    write(os.path.join(out_dir, 'korvelconfig.png'), png_bytes(images[256]))
    write(os.path.join(out_dir, 'korvelconfig-48.png'), png_bytes(images[48]))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

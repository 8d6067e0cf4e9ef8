#!/usr/bin/env python3
"""Checks the committed artwork against the layout the program relies on.

The symbol chooser maps a click to a cell purely by arithmetic, so the
picture must have exactly the size, colour format and grid that arithmetic
assumes.  The icons are checked only for being well-formed files of the
expected sizes.  Then make_artwork.py draws everything anew, and each file
must be what is committed, so that neither is edited without the other.

Usage: python3 check_artwork.py [resources-directory]
Exits with 1 if any check fails.
"""

import os
import struct
import subprocess
import sys
import tempfile

from artwork_layout import (BLACK, COLUMNS, HEIGHT, MARK_X0, MARK_X1, MARK_Y,
                            PALETTE, PITCH, RED, ROWS, WHITE, WIDTH)

HERE = os.path.dirname(os.path.abspath(__file__))


def read(path):
    with open(path, 'rb') as f:
        return f.read()


class Checker:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print('FAIL: ' + what)
        return ok


def read_bmp(data, c):
    """Checks the headers; returns a pixel accessor px(x, y), y from the top."""
    c.check(data[:2] == b'BM', 'symbols.bmp does not start with BM')
    size, _, _, offset = struct.unpack_from('<IHHI', data, 2)
    c.check(size == len(data),
            'file size field %d, file has %d bytes' % (size, len(data)))
    (hsize, width, height, planes, bpp, compression, image_size,
     _, _, used, _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    c.check(hsize == 40, 'info header is %d bytes, not 40' % hsize)
    c.check((width, height) == (WIDTH, HEIGHT),
            'size %d x %d, not %d x %d (a negative height would be top-down)'
            % (width, height, WIDTH, HEIGHT))
    c.check(planes == 1, 'planes %d, not 1' % planes)
    c.check(bpp == 4, '%d bits per pixel, not 4' % bpp)
    c.check(compression == 0, 'compression %d, not BI_RGB' % compression)
    c.check(used in (0, 16), '%d colours used, not 16' % used)
    palette = [struct.unpack_from('<BBBB', data, 54 + 4 * i) for i in range(16)]
    c.check([(r, g, b) for b, g, r, _ in palette] == PALETTE,
            'palette is not the 16 standard colours in order')
    c.check(offset == 54 + 64, 'pixel data at %d, not right after the palette'
            % offset)
    stride = ((WIDTH * 4 + 31) // 32) * 4
    c.check(len(data) - offset == stride * HEIGHT and
            image_size in (0, stride * HEIGHT),
            'pixel data is not %d rows of %d bytes' % (HEIGHT, stride))

    def px(x, y):
        row = offset + (HEIGHT - 1 - y) * stride
        byte = data[row + x // 2]
        return byte >> 4 if x % 2 == 0 else byte & 0x0F
    return px


def check_grid(px, c):
    expected_red = {(x, MARK_Y) for x in range(MARK_X0, MARK_X1 + 1)}
    wrong = []
    for k in range(WIDTH // PITCH + 1):
        for y in range(HEIGHT):
            wrong.append((k * PITCH, y))
    for k in range(HEIGHT // PITCH + 1):
        for x in range(WIDTH):
            wrong.append((x, k * PITCH))
    bad = sorted({(x, y) for x, y in wrong
                  if px(x, y) != (RED if (x, y) in expected_red else BLACK)})
    c.check(not bad, 'grid line pixels of the wrong colour, e.g. %s' % bad[:5])
    c.check(all(px(x, MARK_Y) == RED for x in range(MARK_X0, MARK_X1 + 1)),
            'the red mark under the car is not x %d..%d at y %d'
            % (MARK_X0, MARK_X1, MARK_Y))
    c.check(px(MARK_X0 - 1, MARK_Y) == BLACK and px(MARK_X1 + 1, MARK_Y) == BLACK,
            'the red mark is longer than %d pixels' % PITCH)
    empty = []
    for cell in range(COLUMNS * ROWS):
        left = (cell % COLUMNS) * PITCH + 1
        top = (cell // COLUMNS) * PITCH + 1
        if all(px(x, y) == WHITE for y in range(top, top + PITCH - 1)
               for x in range(left, left + PITCH - 1)):
            empty.append(cell)
    c.check(not empty, 'cells with nothing drawn in them: %s' % empty)


def png_size(data):
    if data[:8] != b'\x89PNG\r\n\x1a\n' or data[12:16] != b'IHDR':
        return None
    return struct.unpack_from('>II', data, 16)


def check_icons(folder, c):
    ico = read(os.path.join(folder, 'korvel.ico'))
    reserved, kind, count = struct.unpack_from('<HHH', ico, 0)
    c.check(reserved == 0 and kind == 1 and count > 0,
            'korvel.ico has no icon directory')
    sizes = set()
    for i in range(count):
        w, h, _, _, _, bpp, length, offset = struct.unpack_from(
            '<BBBBHHII', ico, 6 + 16 * i)
        w, h = w or 256, h or 256
        blob = ico[offset:offset + length]
        if png_size(blob):
            ok = png_size(blob) == (w, h)
        else:
            hsize, bw, bh = struct.unpack_from('<Iii', blob, 0)
            ok = hsize == 40 and (bw, bh) == (w, 2 * h) and bpp == 32
        c.check(ok and offset + length <= len(ico),
                'korvel.ico entry %d (%d x %d) is malformed' % (i, w, h))
        sizes.add((w, h))
    c.check({(16, 16), (32, 32), (48, 48)} <= sizes,
            'korvel.ico lacks 16, 32 or 48 pixels: has %s' % sorted(sizes))
    for name, size in (('korvelconfig.png', (256, 256)),
                       ('korvelconfig-48.png', (48, 48))):
        c.check(png_size(read(os.path.join(folder, name))) == size,
                '%s is not a %d x %d PNG' % ((name,) + size))


def check_rebuilt(folder, c):
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([sys.executable,
                              os.path.join(HERE, 'make_artwork.py'), out],
                             capture_output=True, text=True)
        if not c.check(run.returncode == 0, 'make_artwork.py failed:\n'
                       + run.stdout + run.stderr):
            return
        for name in sorted(os.listdir(out)):
            path = os.path.join(folder, name)
            committed = read(path) if os.path.exists(path) else None
            c.check(read(os.path.join(out, name)) == committed,
                    '%s is not what make_artwork.py draws: run it and commit'
                    ' the result' % name)


def main(argv):
    folder = argv[1] if len(argv) > 1 else HERE
    c = Checker()
    data = read(os.path.join(folder, 'symbols.bmp'))
    if c.check(len(data) >= 118, 'symbols.bmp is too short'):
        check_grid(read_bmp(data, c), c)
    check_icons(folder, c)
    check_rebuilt(folder, c)
    print('check_artwork: %d passed, %d failed' % (c.passed, c.failed))
    return 1 if c.failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

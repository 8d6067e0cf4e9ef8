"""What make_artwork.py and check_artwork.py both rely on.

The grid comes from the C++ header, so the picture cannot drift from the
arithmetic the chooser's hit test uses.
"""

import os
import re

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GRID_HEADER = 'dialog/symbol_grid.h'
OLD_GRID_HEADER = 'symbols/symbol_grid.h'  # until the header has moved


def read_grid():
    """Columns, rows, cell pitch, picture width and height from the header."""
    path = os.path.join(ROOT, GRID_HEADER)
    if not os.path.exists(path):
        path = os.path.join(ROOT, OLD_GRID_HEADER)
    try:
        with open(path, encoding='utf-8') as f:
            found = dict(re.findall(
                r'constexpr\s+int\s+kSymbol(\w+)\s*=\s*(\d+)\s*;', f.read()))
        grid = [int(found[name]) for name in (
            'Columns', 'Rows', 'CellPitch', 'PictureWidth', 'PictureHeight')]
    except OSError as e:
        raise SystemExit('artwork: grid header: %s' % e)
    except KeyError as e:
        raise SystemExit('artwork: %s lacks kSymbol%s' % (path, e.args[0]))
    columns, rows, pitch, width, height = grid
    # One closing line after the last cell on the right and at the bottom.
    if (width, height) != (columns * pitch + 1, rows * pitch + 1):
        raise SystemExit('artwork: picture size in %s does not fit the grid'
                         % path)
    return grid


COLUMNS, ROWS, PITCH, WIDTH, HEIGHT = read_grid()

FIRST_CODE = ord('!')                   # cell 0
DEFAULT_CELL = ord('>') - FIRST_CODE    # the car
# The default symbol is underlined in red on the grid line below its cell,
# from after the cell's left line to the next vertical line.  The hit test
# does not depend on it.
MARK_Y = (DEFAULT_CELL // COLUMNS + 1) * PITCH
MARK_X0 = (DEFAULT_CELL % COLUMNS) * PITCH + 1
MARK_X1 = MARK_X0 + PITCH - 1

# The 16 colours of a 4-bit Windows bitmap, in palette order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00),
    (0x80, 0x80, 0x00), (0x00, 0x00, 0x80), (0x80, 0x00, 0x80),
    (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80),
    (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF),
    (0xFF, 0xFF, 0xFF),
]
BLACK, RED, WHITE = 0, 9, 15

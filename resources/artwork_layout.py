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
    """The kSymbol* constants of the header, as a name -> int dict."""
    path = os.path.join(ROOT, GRID_HEADER)
    if not os.path.exists(path):
        path = os.path.join(ROOT, OLD_GRID_HEADER)
    try:
        with open(path, encoding='utf-8') as f:
            text = f.read()
    except OSError as e:
        raise SystemExit('artwork: cannot read the grid header: %s' % e)
    found = dict((name, int(value)) for name, value in re.findall(
        r'constexpr\s+int\s+kSymbol(\w+)\s*=\s*(\d+)\s*;', text))
    names = ('Columns', 'Rows', 'CellPitch', 'PictureWidth', 'PictureHeight')
    missing = [n for n in names if n not in found]
    if missing:
        raise SystemExit('artwork: %s lacks kSymbol%s' % (path, missing[0]))
    # One closing line after the last cell on the right and at the bottom.
    if (found['PictureWidth'], found['PictureHeight']) != (
            found['Columns'] * found['CellPitch'] + 1,
            found['Rows'] * found['CellPitch'] + 1):
        raise SystemExit('artwork: picture size in %s does not fit the grid'
                         % path)
    return found


_grid = read_grid()
COLUMNS, ROWS, PITCH = _grid['Columns'], _grid['Rows'], _grid['CellPitch']
WIDTH, HEIGHT = _grid['PictureWidth'], _grid['PictureHeight']

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

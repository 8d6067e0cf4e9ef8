#!/usr/bin/env python3
"""Draws KorvelConfig's artwork and writes it next to this script.

Outputs:
  symbols.bmp            bitmap 134, the symbol table picture of the chooser
  korvel.ico             icon 142, the program icon (16 to 256 pixels)
  korvelconfig.png       256 x 256 icon for the Linux desktop entry
  korvelconfig-48.png    48 x 48 icon for the Linux desktop entry

Only the Python standard library is used, so the artwork can be rebuilt on
any machine that has a Python 3 interpreter.  The output is deterministic:
running the script twice gives byte-identical files.

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

# One character per pixel in the icon maps below.  '.' is the cell
# background, which is white like 'w' but reads better in the maps.
KEY = {
    '.': 15, 'k': 0, 'm': 1, 'g': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6,
    's': 7, 'd': 8, 'r': 9, 'l': 10, 'y': 11, 'b': 12, 'f': 13, 'a': 14,
    'w': 15,
}
ICON = PITCH - 1                   # pixels inside the lines
SYMBOL_CELLS = 94                  # '!' .. '~'

# ---------------------------------------------------------------------------
# A 5 x 7 pixel font (two more rows below the baseline for descenders).
# Symbols without a pictogram of their own show their character in it, at
# double size so that it stays legible in a 20-pixel cell.

FONT = {
    '!': '..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..',
    '"': '.#.#. .#.#. .#.#. ..... ..... ..... .....',
    '#': '.#.#. .#.#. ##### .#.#. ##### .#.#. .#.#.',
    '$': '..#.. .#### #.#.. .###. ..#.# ####. ..#..',
    '%': '##... ##..# ...#. ..#.. .#... #..## ...##',
    '&': '.##.. #..#. #.#.. .#... #.#.# #..#. .##.#',
    "'": '..#.. ..#.. .#... ..... ..... ..... .....',
    '(': '...#. ..#.. .#... .#... .#... ..#.. ...#.',
    ')': '.#... ..#.. ...#. ...#. ...#. ..#.. .#...',
    '*': '..... ..#.. #.#.# .###. #.#.# ..#.. .....',
    '+': '..... ..#.. ..#.. ##### ..#.. ..#.. .....',
    ',': '..... ..... ..... ..... .##.. ..#.. .#...',
    '-': '..... ..... ..... ##### ..... ..... .....',
    '.': '..... ..... ..... ..... ..... .##.. .##..',
    '/': '..... ....# ...#. ..#.. .#... #.... .....',
    '0': '.###. #...# #...# #...# #...# #...# .###.',
    '1': '..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.',
    '2': '.###. #...# ....# ...#. ..#.. .#... #####',
    '3': '##### ...#. ..#.. ...#. ....# #...# .###.',
    '4': '...#. ..##. .#.#. #..#. ##### ...#. ...#.',
    '5': '##### #.... ####. ....# ....# #...# .###.',
    '6': '..##. .#... #.... ####. #...# #...# .###.',
    '7': '##### ....# ...#. ..#.. .#... .#... .#...',
    '8': '.###. #...# #...# .###. #...# #...# .###.',
    '9': '.###. #...# #...# .#### ....# ...#. .##..',
    ':': '..... .##.. .##.. ..... .##.. .##.. .....',
    ';': '..... .##.. .##.. ..... .##.. ..#.. .#...',
    '<': '...#. ..#.. .#... #.... .#... ..#.. ...#.',
    '=': '..... ..... ##### ..... ##### ..... .....',
    '>': '.#... ..#.. ...#. ....# ...#. ..#.. .#...',
    '?': '.###. #...# ....# ...#. ..#.. ..... ..#..',
    '@': '.###. #...# ....# .##.# #.#.# #.#.# .###.',
    'A': '.###. #...# #...# ##### #...# #...# #...#',
    'B': '####. #...# #...# ####. #...# #...# ####.',
    'C': '.###. #...# #.... #.... #.... #...# .###.',
    'D': '###.. #..#. #...# #...# #...# #..#. ###..',
    'E': '##### #.... #.... ####. #.... #.... #####',
    'F': '##### #.... #.... ####. #.... #.... #....',
    'G': '.###. #...# #.... #.### #...# #...# .####',
    'H': '#...# #...# #...# ##### #...# #...# #...#',
    'I': '.###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.',
    'J': '..### ...#. ...#. ...#. ...#. #..#. .##..',
    'K': '#...# #..#. #.#.. ##... #.#.. #..#. #...#',
    'L': '#.... #.... #.... #.... #.... #.... #####',
    'M': '#...# ##.## #.#.# #.#.# #...# #...# #...#',
    'N': '#...# #...# ##..# #.#.# #..## #...# #...#',
    'O': '.###. #...# #...# #...# #...# #...# .###.',
    'P': '####. #...# #...# ####. #.... #.... #....',
    'Q': '.###. #...# #...# #...# #.#.# #..#. .##.#',
    'R': '####. #...# #...# ####. #.#.. #..#. #...#',
    'S': '.#### #.... #.... .###. ....# ....# ####.',
    'T': '##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..',
    'U': '#...# #...# #...# #...# #...# #...# .###.',
    'V': '#...# #...# #...# #...# #...# .#.#. ..#..',
    'W': '#...# #...# #...# #.#.# #.#.# #.#.# .#.#.',
    'X': '#...# #...# .#.#. ..#.. .#.#. #...# #...#',
    'Y': '#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..',
    'Z': '##### ....# ...#. ..#.. .#... #.... #####',
    '[': '.###. .#... .#... .#... .#... .#... .###.',
    '\\': '..... #.... .#... ..#.. ...#. ....# .....',
    ']': '.###. ...#. ...#. ...#. ...#. ...#. .###.',
    '^': '..#.. .#.#. #...# ..... ..... ..... .....',
    '_': '..... ..... ..... ..... ..... ..... #####',
    '`': '.#... ..#.. ...#. ..... ..... ..... .....',
    'a': '..... ..... .###. ....# .#### #...# .####',
    'b': '#.... #.... #.##. ##..# #...# #...# ####.',
    'c': '..... ..... .###. #.... #.... #...# .###.',
    'd': '....# ....# .##.# #..## #...# #...# .####',
    'e': '..... ..... .###. #...# ##### #.... .###.',
    'f': '..##. .#..# .#... ###.. .#... .#... .#...',
    'g': '..... ..... .#### #...# #...# #...# .#### ....# .###.',
    'h': '#.... #.... #.##. ##..# #...# #...# #...#',
    'i': '..#.. ..... .##.. ..#.. ..#.. ..#.. .###.',
    'j': '...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##..',
    'k': '#.... #.... #..#. #.#.. ##... #.#.. #..#.',
    'l': '.##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.',
    'm': '..... ..... ##.#. #.#.# #.#.# #...# #...#',
    'n': '..... ..... #.##. ##..# #...# #...# #...#',
    'o': '..... ..... .###. #...# #...# #...# .###.',
    'p': '..... ..... ####. #...# #...# #...# ####. #.... #....',
    'q': '..... ..... .#### #...# #...# #...# .#### ....# ....#',
    'r': '..... ..... #.##. ##..# #.... #.... #....',
    's': '..... ..... .#### #.... .###. ....# ####.',
    't': '.#... .#... ###.. .#... .#... .#..# ..##.',
    'u': '..... ..... #...# #...# #...# #..## .##.#',
    'v': '..... ..... #...# #...# #...# .#.#. ..#..',
    'w': '..... ..... #...# #...# #.#.# #.#.# .#.#.',
    'x': '..... ..... #...# .#.#. ..#.. .#.#. #...#',
    'y': '..... ..... #...# #...# #...# #...# .#### ....# .###.',
    'z': '..... ..... ##### ...#. ..#.. .#... #####',
    '{': '...## ..#.. ..#.. .#... ..#.. ..#.. ...##',
    '|': '..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#..',
    '}': '##... ..#.. ..#.. ...#. ..#.. ..#.. ##...',
    '~': '..... ..... .#... #.#.# ...#. ..... .....',
}

# ---------------------------------------------------------------------------
# Pictograms, one per symbol code.  Each map may be smaller than the 20 x 20
# icon area; it is centred in the cell.  Keys: see KEY above.

ICONS = {
    # Police, sheriff: an emergency beacon.
    '!': [
        '........yy........',
        '.y......yy......y.',
        '..y............y..',
        '...y..........y...',
        '.......rrrr.......',
        '......rwwrrr......',
        '.....rwwrrrrr.....',
        'yy..rrwrrrrrrr..yy',
        '....rrrrrrrrrr....',
        '....rrrrrrrrrm....',
        '....rrrrrrrrrm....',
        '..kkkkkkkkkkkkkk..',
        '..kddddddddddddk..',
        '..kkkkkkkkkkkkkk..',
    ],
    # Digipeater: the green star.
    '#': [
        '.........g.........',
        '........ggg........',
        '........ggg........',
        '.......ggggg.......',
        '.......ggggg.......',
        '......ggggggg......',
        'ggggggggwgwgggggggg',
        '.gggggggwgwggggggg.',
        '...ggggwwwwwgggg...',
        '....ggggwgwgggg....',
        '.....ggwwwwwgg.....',
        '.....gggwgwggg.....',
        '....ggggwgwgggg....',
        '....ggggggggggg....',
        '...gggggg.gggggg...',
        '...gggg.....gggg...',
        '..ggg.........ggg..',
        '..g.............g..',
    ],
    # Telephone.
    '$': [
        '..kkkkkkkkkkkkkk..',
        '.kkkkkkkkkkkkkkkk.',
        'kkkkkk......kkkkkk',
        'kkkkk........kkkkk',
        '.kkk..........kkk.',
        '.......kkkk.......',
        '......kkkkkk......',
        '.....kkkwwkkk.....',
        '....kkkwkkwkkk....',
        '....kkwkkkkwkk....',
        '...kkkwkkkkwkkk...',
        '...kkkkwkkwkkkk...',
        '..kkkkkkwwkkkkkk..',
        '..kkkkkkkkkkkkkk..',
        '.kkkkkkkkkkkkkkkk.',
        '.kkkkkkkkkkkkkkkk.',
    ],
    # Gateway: the black diamond.
    '&': [
        '.........k.........',
        '........kkk........',
        '.......kkkkk.......',
        '......kkkkkkk......',
        '.....kkkkkkkkk.....',
        '....kkkkkkkkkkk....',
        '...kkkkkwwkkkkkk...',
        '..kkkkkwkkwkkkkkk..',
        '.kkkkkkwkwkkkkkkkk.',
        'kkkkkkkkwkkkkkkkkkk',
        '.kkkkkkwkwkwkkkkkk.',
        '..kkkkkwkkwkkkkkk..',
        '...kkkkkwwkwkkkk...',
        '....kkkkkkkkkkk....',
        '.....kkkkkkkkk.....',
        '......kkkkkkk......',
        '.......kkkkk.......',
        '........kkk........',
        '.........k.........',
    ],
    # Small aircraft, seen from above.
    "'": [
        '......ddddddd......',
        '.........r.........',
        '........rrr........',
        '........rar........',
        '.rrrrrrrrrrrrrrrrr.',
        'rrrrrrrrrrrrrrrrrrr',
        '.mmmmmmmrrrmmmmmmm.',
        '........rrr........',
        '........rrr........',
        '.........r.........',
        '.........r.........',
        '.........r.........',
        '.........r.........',
        '......rrrrrrr......',
        '......mmmmmmm......',
    ],
    # Red cross.
    '+': [
        '.....rrrrrr.....',
        '.....rrrrrr.....',
        '.....rrrrrr.....',
        '.....rrrrrr.....',
        '.....rrrrrr.....',
        'rrrrrrrrrrrrrrrr',
        'rrrrrrrrrrrrrrrr',
        'rrrrrrrrrrrrrrrr',
        'rrrrrrrrrrrrrrrr',
        'rrrrrrrrrrrrrrrr',
        'rrrrrrrrrrrrrrrr',
        '.....rrrrrr.....',
        '.....rrrrrr.....',
        '.....rrrrrr.....',
        '.....rrrrrr.....',
        '.....rrrrrr.....',
    ],
    # House (QTH).
    '-': [
        '........kk........',
        '.......krrk...kk..',
        '......krrrrk..kk..',
        '.....krrrrrrk.kk..',
        '....krrrrrrrrkkk..',
        '...krrrrrrrrrrk...',
        '..krrrrrrrrrrrrk..',
        '.krrrrrrrrrrrrrrk.',
        'krrrrrrrrrrrrrrrrk',
        'kkkkkkkkkkkkkkkkkk',
        '.kwwwwwwwwwwwwwwk.',
        '.kwaawwwwwwkkkwwk.',
        '.kwaawwwwwwkmkwwk.',
        '.kwwwwwwwwwkmkwwk.',
        '.kwwwwwwwwwkmkwwk.',
        '.kkkkkkkkkkkkkkkk.',
    ],
    # Red dot.
    '/': [
        '..rrrrrr..',
        '.rrrrrrrr.',
        'rrwwrrrrrr',
        'rrwrrrrrrr',
        'rrrrrrrrrr',
        'rrrrrrrrrr',
        'rrrrrrrrrr',
        'rrrrrrrrrr',
        '.rrrrrrrr.',
        '..rrrrrr..',
    ],
    # Campground: a tent.
    ';': [
        '.........k.........',
        '........kgk........',
        '.......kgggk.......',
        '......kgggggk......',
        '.....kgggggggk.....',
        '....kgggggggggk....',
        '...kggggkykggggk...',
        '..kggggkyyykggggk..',
        '.kggggkyyyyykggggk.',
        'kggggkyyyyyyykggggk',
        'ooooooooooooooooooo',
    ],
    # Motorcycle.
    '<': [
        '.............kk.....',
        '..............k.....',
        '..kkkk.rrrrr..k.....',
        '..kkkkrrrrrrrkky....',
        '....kkkkkkkkkk.k....',
        '..kkkk.ddddd..kkkk..',
        '.kk..kkdsdsd.kkk.kk.',
        'kk....kkddd.kk.k..kk',
        'k..kkkkkk...k..kk..k',
        'k..kk..k....k..kk..k',
        'kk....kk....kk....kk',
        '.kk..kk......kk..kk.',
        '..kkkk........kkkk..',
    ],
    # Railroad engine.
    '=': [
        '...kk...............',
        '..kkkk.......kkkkkkk',
        '...kk....kk...kaaakk',
        '.kkkkkkkkkkkkkkaaakk',
        'ykddddddddddddkkkkkk',
        '.kddddddddddddkkkkkk',
        'kkkkkkkkkkkkkkkkkkkk',
        'k..rr...rr...rr.....',
        '.krkkrdrkkrdrkkr.kk.',
        '..rkkr.rkkr.rkkr.kk.',
        '...rr...rr...rr.....',
    ],
    # Car.
    '>': [
        '.....kkkkkkkk.....',
        '....kaaaakaaak....',
        '...kaaaaakaaaak...',
        '.kkkkkkkkkkkkkkkk.',
        'krrrrrrrrmrrrrrrrk',
        'kmrrrrrrrmrrrrrryk',
        'krrrrrrrrmrrrrrrrk',
        'krrkkkrrrmrrkkkrrk',
        'krkdsdkrrrrkdsdkrk',
        '.kkssskkkkkkssskk.',
        '..kdsdk....kdsdk..',
        '...kkk......kkk...',
    ],
    # Hotel: a bed.
    'H': [
        'kk................',
        'kk................',
        'kk................',
        'kk................',
        'kk.kkk............',
        'kkskkkbbbbbbbbbbb.',
        'kkssssbbbbbbbbbbbb',
        'kkssssbbbbbbbbbbbb',
        'kkkkkkkkkkkkkkkkkk',
        'kkkkkkkkkkkkkkkkkk',
        'kk..............kk',
        'kk..............kk',
    ],
    # School house with bell and flag.
    'K': [
        '.........krr........',
        '.........krr........',
        '.........k..........',
        '........kkk.........',
        '.......kkkkk........',
        '.......kryrk........',
        '.......krrrk........',
        '...kkkkkkkkkkkkk....',
        '..kdddddddddddddk...',
        '.kdddddddddddddddk..',
        '.kkkkkkkkkkkkkkkkk..',
        '.krrrrrrrrrrrrrrrk..',
        '.krraarrkkkrraarrk..',
        '.krraarrkkkrraarrk..',
        '.krrrrrrkkkrrrrrrk..',
        '.kkkkkkkkkkkkkkkkk..',
    ],
    # Balloon.
    'O': [
        '.....rrrrrr.....',
        '...rrryyyyrrr...',
        '..rrryyyyyyrrr..',
        '.rrrryyyyyyrrrr.',
        '.rrryyyyyyyyrrr.',
        'rrrryyyyyyyyrrrr',
        'rrrryyyyyyyyrrrr',
        'rrrryyyyyyyyrrrr',
        'rrrryyyyyyyyrrrr',
        '.rrryyyyyyyyrrr.',
        '.rrrryyyyyyrrrr.',
        '..rrrryyyyrrrr..',
        '...rrrryyrrrr...',
        '....rrrrrrrr....',
        '.....k....k.....',
        '.....k....k.....',
        '......mmmm......',
        '......mmmm......',
    ],
    # Police car.
    'P': [
        '.......rrbb.......',
        '.....kkkkkkkk.....',
        '....kaaaakaaak....',
        '...kaaaaakaaaak...',
        '.kkkkkkkkkkkkkkkk.',
        'kwwwwwwwwkwwwwwwwk',
        'knnnnnnnnnnnnnnnnk',
        'kwwwwwwwwkwwwwwwwk',
        'kwwkkkwwwkwwkkkwwk',
        'kwkdsdkwwwwkdsdkwk',
        '.kkssskkkkkkssskk.',
        '..kdsdk....kdsdk..',
        '...kkk......kkk...',
    ],
    # Recreational vehicle.
    'R': [
        'kkkkkkkkkkkkkkkkk.',
        'kwwwwwwwwwwwwwwwk.',
        'kwaaawwaaawwwwwwk.',
        'kwaaawwaaawwwkkkk.',
        'kwwwwwwwwwwwwwkaak',
        'kbbbbbbbbbbbbbkaak',
        'kwwwwwwwwwwwwwwwwk',
        'kwwkkkwwwwwwkkkwyk',
        'kwkdsdkkkkkkdsdkkk',
        '..ksssk....ksssk..',
        '..kdsdk....kdsdk..',
        '...kkk......kkk...',
    ],
    # Bus.
    'U': [
        '.kkkkkkkkkkkkkkkk.',
        'kyyyyyyyyyyyyyyyyk',
        'kyaayaayaayykkyaak',
        'kyaayaayaayyaayaak',
        'kyyyyyyyyyyyaayaak',
        'kyyyyyyyyyyykkyyyk',
        'kkkkkkkkkkkkkkkkkk',
        'kyyyyyyyyyyykkyywk',
        'kyykkkyyyyyyykkkyk',
        'kykdsdkkkkkkkdsdkk',
        '..ksssk.....ksssk.',
        '..kdsdk.....kdsdk.',
        '...kkk.......kkk..',
    ],
    # National Weather Service site.
    'W': [
        '......nnnnnn......',
        '....nnnnnnnnnn....',
        '...nnnnnnnnnnnn...',
        '..nnnnnnnnnnnnnn..',
        '.nnnnnnnnnnnnnnnn.',
        '.nnnnnnnnnnnnnnnn.',
        'nnnnnnnnnnnnnnnnnn',
        'nnwnnwnwnnnwnnwwnn',
        'nnwwnwnwnnnwnwnnnn',
        'nnwnwwnwnwnwnnwnnn',
        'nnwnnwnwnwnwnnnwnn',
        'nnwnnwnnwnwnnwwnnn',
        '.nnnnnnnnnnnnnnnn.',
        '.nnnnnnnnnnnnnnnn.',
        '..nnnnnnnnnnnnnn..',
        '...nnnnnnnnnnnn...',
        '....nnnnnnnnnn....',
        '......nnnnnn......',
    ],
    # Helicopter.
    'X': [
        'kkkkkkkkkkkkkkk...',
        '.......kk.........',
        '.....bbbbbb.......',
        '....baaabbbb....k.',
        '...baaaabbbbb...k.',
        '..baaaaabbbbbbbbkk',
        '..bbbbbbbbbbbbbbkk',
        '...bbbbbbbbbb...k.',
        '....bbbbbbbb....k.',
        '.....k....k.......',
        '..kkkkkkkkkkkk....',
    ],
    # Yacht.
    'Y': [
        '........k.........',
        '........ks........',
        '........kss.......',
        '.......skss.......',
        '.......sksss......',
        '......sskssss.....',
        '......sskssss.....',
        '.....ssskssssss...',
        '....sssskssssss...',
        '....sssskssssss...',
        '...ssssskssssssss.',
        '..sssssskssssssss.',
        '........k.........',
        'kkkkkkkkkkkkkkkkkk',
        'knnnnnnnnnnnnnnnnk',
        '.kkkkkkkkkkkkkkkk.',
        '..bb..bb..bb..bb..',
    ],
    # Human, jogger.
    '[': [
        '..........kkk.......',
        '..........kkk.......',
        '...........k........',
        '........rrrrr..kk...',
        '......rrrrrrrrrk....',
        '.....rr..rrr........',
        '....kk...rrr........',
        '.........rrr........',
        '.........nnnn.......',
        '........nnnnnn......',
        '.......nnn..nnn.....',
        '......nnn....nnn....',
        '.....nnn......nn....',
        '....nn........nn....',
        '..nnn.........nn....',
        '..kk..........kkk...',
    ],
    # Large aircraft.
    '^': [
        '.........b.........',
        '........bbb........',
        '........bab........',
        '........bbb........',
        '........bbb........',
        '.......bbbbb.......',
        '......bbbbbbb......',
        '....bbbbbbbbbbb....',
        '..bbbbbbbbbbbbbbb..',
        'bbbbbbbbbbbbbbbbbbb',
        'bbbbbb..bbb..bbbbbb',
        'bbb.....bbb.....bbb',
        '........bbb........',
        '........bbb........',
        '.........b.........',
        '.......bbbbb.......',
        '.....bbbbbbbbb.....',
        '....bbb..b..bbb....',
    ],
    # Weather station.
    '_': [
        '.....y..............',
        '..y..y..y...........',
        '...yyyyy............',
        '..yyyyyyy...........',
        'yyyyyyyyy...........',
        '..yyyyy.kkkk........',
        '...yyykkwwwwkk......',
        '..y..kwwwwwwwwk.....',
        '.....kwwwwwwwwwkkk..',
        '...kkwwwwwwwwwwwwwk.',
        '..kwwwwwwwwwwwwwwwwk',
        '..kwwwwwwwwwwwwwwwwk',
        '...kkkkkkkkkkkkkkkk.',
        '....b...b...b...b...',
        '...b...b...b...b....',
        '..b...b...b...b.....',
    ],
    # Dish antenna.
    '`': [
        '...kk.......ddd.....',
        '...kk....ddddddk....',
        '.....k..ddsssssk....',
        '......kdsssssssk....',
        '......dksssssssk....',
        '.....dssksssssdk....',
        '....dsssskssssk.....',
        '...ddssssssssd......',
        '...dssssssssd.......',
        '...dsssssssk........',
        '...dsssssdkk........',
        '...dkdddkkkk........',
        '....kkk...kk........',
        '..........kk........',
        '..........kk........',
        '.......kkkkkkkk.....',
        '.......kkkkkkkk.....',
    ],
    # Ambulance.
    'a': [
        'kkkkkkkkkkkk......',
        'kwwwwrrwwwwkk.....',
        'kwwwwrrwwwwkaak...',
        'kwwrrrrrrwwkaaak..',
        'kwwrrrrrrwwkaaaak.',
        'kwwwwrrwwwwkwwwwwk',
        'kwwwwrrwwwwkwwwwyk',
        'krrrrrrrrrrrrrrrrk',
        'kwwkkkwwwwwwkkkwwk',
        'kwkdsdkkkkkkdsdkwk',
        '..ksssk....ksssk..',
        '..kdsdk....kdsdk..',
        '...kkk......kkk...',
    ],
    # Bicycle.
    'b': [
        '....................',
        '............kkk.....',
        '.....kkk.....k......',
        '......rrrrrrrr......',
        '......r.....rk......',
        '..kkkr.r...r..kkkk..',
        '.k...rkr..r..kk...k.',
        'k...r..r..r.k..k...k',
        'k..ddrrkrr..k..dd..k',
        'k..dd..kk...k..dd..k',
        'k......k.k..k......k',
        '.k....k..kk..k....k.',
        '..kkkk........kkkk..',
    ],
    # Incident command post: its flag.
    'c': [
        '.y..................',
        '.kkkkkkkkkkkkkkkkkk.',
        '.kwwwwwwwwwwwwwwwwk.',
        '.kwwgggwwggwggwwwwk.',
        '.kwwwgwwgwwwgwgwwwk.',
        '.kwwwgwwgwwwggwwwwk.',
        '.kwwwgwwgwwwgwwwwwk.',
        '.kwwgggwwggwgwwwwwk.',
        '.kwwwwwwwwwwwwwwwwk.',
        '.kkkkkkkkkkkkkkkkkk.',
        '.k..................',
        '.k..................',
        '.k..................',
        '.k..................',
        '.k..................',
        '.k..................',
        '.k..................',
        'kkk.................',
    ],
    # Fire department: the Maltese cross.
    'd': [
        '....rrr....rrr....',
        '.....rrr..rrr.....',
        '.....rrrrrrrr.....',
        '......rrrrrr......',
        'r.....rrrrrr.....r',
        'rrr....rrrr....rrr',
        'rrrrr..rrrr..rrrrr',
        '.rrrrrrrrrrrrrrrr.',
        '..rrrrrrwwrrrrrr..',
        '..rrrrrrwwrrrrrr..',
        '.rrrrrrrrrrrrrrrr.',
        'rrrrr..rrrr..rrrrr',
        'rrr....rrrr....rrr',
        'r.....rrrrrr.....r',
        '......rrrrrr......',
        '.....rrrrrrrr.....',
        '.....rrr..rrr.....',
        '....rrr....rrr....',
    ],
    # Horse.
    'e': [
        '....m.m...........',
        '....mmmm..........',
        '...mmkmmm.........',
        '..mmmmmmmm........',
        '.mmmmmmmmmk.......',
        'mmmm..mmmmmk......',
        'mmm....mmmmmk.....',
        '.......mmmmmmmmmk.',
        '.......mmmmmmmmmmk',
        '........mmmmmmmmmk',
        '........mmmmmmmm.k',
        '........mm.m..mm.k',
        '........m..m..m.m.',
        '........m..m..m.m.',
        '........m..m..m.m.',
        '........k..k..k.k.',
    ],
    # Fire truck.
    'f': [
        'dddddddddddd......',
        'd.d.d.d.d.dd......',
        'dddddddddddd......',
        'kkkkkkkkkkkkkkkkk.',
        'krrrrrrrrrrrkaaaak',
        'krrrrrrrrrrrkaaaak',
        'kwwwwwwwwwwwwwwwwk',
        'krrkkkrrrrrrkkkryk',
        'krkdsdkkkkkkdsdkrk',
        '..ksssk....ksssk..',
        '..kdsdk....kdsdk..',
        '...kkk......kkk...',
    ],
    # Glider.
    'g': [
        '.........k.........',
        '........kak........',
        '........kak........',
        'kkkkkkkkkkkkkkkkkkk',
        'ksssssssskssssssssk',
        '.kkkkkkkkkkkkkkkkk.',
        '.........k.........',
        '.........k.........',
        '.........k.........',
        '.........k.........',
        '.........k.........',
        '.......kkkkk.......',
    ],
    # Hospital.
    'h': [
        '.bbbbbbbbbbbbbbbb.',
        'bbbbbbbbbbbbbbbbbb',
        'bbbbbbbbbbbbbbbbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwwwwwwwwwwbbb',
        'bbbwwwwwwwwwwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbwwwbbbbbbwwwbbb',
        'bbbbbbbbbbbbbbbbbb',
        'bbbbbbbbbbbbbbbbbb',
        '.bbbbbbbbbbbbbbbb.',
    ],
    # Jeep.
    'j': [
        '...........kk.....',
        '...........ka.....',
        '....kk.....ka.....',
        '....kk.....ka.....',
        '..kkkkkkkkkkkkkkkk',
        'kkoooooooooooooook',
        'kdooooooooooooooyk',
        'kkookkkooooookkkok',
        '..kkdsdkkkkkdsdkkk',
        '...ksssk...ksssk..',
        '...kdsdk...kdsdk..',
        '....kkk.....kkk...',
    ],
    # Truck (pickup).
    'k': [
        '........kkkkk.....',
        '........kaaabk....',
        '........kaaaabk...',
        'kkkkkkkkkbbbbbbkk.',
        'kbbbbbbbkbbbbbbbbk',
        'kbbbbbbbkbbbbbbbyk',
        'kbbbbbbbkbbbbbbbbk',
        'kbbkkkbbkbbbkkkbbk',
        'kbkdsdkbbbbkdsdkbk',
        '.kkssskkkkkkssskk.',
        '..kdsdk....kdsdk..',
        '...kkk......kkk...',
    ],
    # Laptop.
    'l': [
        '..kkkkkkkkkkkkkk..',
        '..kaaaaaaaaaaaak..',
        '..katttttaaaaaak..',
        '..kaaaaaaaaaaaak..',
        '..kattttttttaaak..',
        '..kaaaaaaaaaaaak..',
        '..katttaaaaaaaak..',
        '..kaaaaaaaaaaaak..',
        '..kkkkkkkkkkkkkk..',
        '.kdsdsdsdsdsdsdsk.',
        'kssssssddddsssssk.',
        'kkkkkkkkkkkkkkkkkk',
    ],
    # Node.
    'n': [
        '..bb............bb..',
        '.bbbb..........bbbb.',
        '.bbbbk........kbbbb.',
        '..bb..k......k..bb..',
        '.......k....k.......',
        '........rrrr........',
        '.......rwrrrrr......',
        '.......rrrrrrr......',
        '.......rrrrrrr......',
        '.......rrrrrrr......',
        '........rrrr........',
        '.......k....k.......',
        '..bb..k......k..bb..',
        '.bbbbk........kbbbb.',
        '.bbbb..........bbbb.',
        '..bb............bb..',
    ],
    # Emergency operations centre.
    'o': [
        '........rr........',
        '.......rrrr.......',
        'kkkkkkkkkkkkkkkkkk',
        'knnnnnnnnnnnnnnnnk',
        'knnwwwnnwnnnwwnnnk',
        'knnwnnnwnwnwnnnnnk',
        'knnwwnnwnwnwnnnnnk',
        'knnwnnnwnwnwnnnnnk',
        'knnwwwnnwnnnwwnnnk',
        'knnnnnnnnnnnnnnnnk',
        'kkkkkkkkkkkkkkkkkk',
    ],
    # Rover: a dog.
    'p': [
        '..k...............',
        '.kkk............k.',
        'kkwkk..........k..',
        'kkkkkk........k...',
        '..kkkkk......k....',
        '...kkkkkkkkkkk....',
        '...kkkkkkkkkkk....',
        '...kkkkkkkkkkk....',
        '...kkkkkkkkkkk....',
        '...kk.kk..kk.kk...',
        '...kk.kk..kk.kk...',
        '...kk.kk..kk.kk...',
    ],
    # Repeater tower.
    'r': [
        '.........rr.........',
        '..b..b...kk...b..b..',
        '.b..b....kk....b..b.',
        '.b..b....kk....b..b.',
        '..b..b..kkkk..b..b..',
        '........k..k........',
        '........kkkk........',
        '.......k.kk.k.......',
        '.......kk..kk.......',
        '.......kkkkkk.......',
        '......k.k..k.k......',
        '......k..kk..k......',
        '......kkkkkkkk......',
        '.....k.k....k.k.....',
        '.....k..k..k..k.....',
        '.....k...kk...k.....',
        '....kkkkkkkkkkkk....',
        '....k.k......k.k....',
        '....k...k..k...k....',
        '...kkkkkkkkkkkkkk...',
    ],
    # Ship (power boat).
    's': [
        '.......kk.........',
        '.......rr.........',
        '....kkkrrkkkk.....',
        '....kwawawawk.....',
        '..kkkkkkkkkkkkk...',
        '..kwawawawawawk...',
        'kkkkkkkkkkkkkkkkkk',
        'knnnnnnnnnnnnnnnk.',
        'krrrrrrrrrrrrrrk..',
        '.kkkkkkkkkkkkkk...',
        '.bb..bb..bb..bbbb.',
        'b..bb..bb..bb....b',
    ],
    # Truck, 18-wheeler.
    'u': [
        'kkkkkkkkkkk.......',
        'ksssssssssk.......',
        'ksssssssssk..kkk..',
        'ksssssssssk.krrak.',
        'ksssssssssk.krraak',
        'ksssssssssk.krrrrk',
        'ksssssssssk.krrrrk',
        'kkkkkkkkkkkkkrrrrk',
        '.kkk.kkk..kkk..kkk',
        '.ksk.ksk..ksk..ksk',
        '.kkk.kkk..kkk..kkk',
    ],
    # Van.
    'v': [
        '.kkkkkkkkkkkk.....',
        'kttttttttttttkk...',
        'ktaaaataaattkaak..',
        'ktaaaataaattkaaak.',
        'ktttttttttttkttttk',
        'kttttttttttttttttk',
        'kmttttttttttttttyk',
        'kttkkkttttttkkkttk',
        'ktkdsdkttttkdsdktk',
        '.kkssskkkkkkssskk.',
        '..kdsdk....kdsdk..',
        '...kkk......kkk...',
    ],
    # Water station: a drop.
    'w': [
        '.........b.........',
        '.........b.........',
        '........bbb........',
        '........bbb........',
        '.......bbbbb.......',
        '.......bbbbb.......',
        '......bbbbbbb......',
        '.....bbbbbbbbb.....',
        '....bbbbbbbbbbb....',
        '....bwbbbbbbbbb....',
        '...bbwbbbbbbbbbb...',
        '...bbwbbbbbbbbbb...',
        '...bbbwbbbbbbbbb...',
        '...bbbbbbbbbbbbb...',
        '....bbbbbbbbbbb....',
        '.....bbbbbbbbb.....',
        '.......bbbbb.......',
    ],
    # House with a yagi.
    'y': [
        '..........k.k.k.k.',
        '..........k.k.k.k.',
        '.........kkkkkkkkk',
        '..........k.k.k.k.',
        '..........k.k.k.k.',
        '.............k....',
        '.............k....',
        '....k........k....',
        '...krk.......k....',
        '..krrrk......k....',
        '.krrrrrk.....k....',
        'krrrrrrrk....k....',
        'kkkkkkkkkk...k....',
        'kwwwwwwwk....k....',
        'kwaawkkwk....k....',
        'kwaawkmwk....k....',
        'kwwwwkmwk...kkk...',
        'kkkkkkkkk..k.k.k..',
    ],
    # Wheelchair.
    ')': [
        '......bb........',
        '.....bbbb.......',
        '.....bbbb.......',
        '......bb........',
        '.....bb.........',
        '.....bb.........',
        '.....bbbbbbb....',
        '..b..bb.........',
        '.bb..bb.........',
        '.b...bbbbbbb....',
        'bb...bbbbbbbb...',
        'bb.........bb...',
        'bb.........bbb..',
        'bb..........bb..',
        '.bb.......b.bb..',
        '..bb.....bb.bbb.',
        '...bbbbbbb...bbb',
    ],
    # A red X.
    '.': [
        'rr..........rr',
        'rrr........rrr',
        '.rrr......rrr.',
        '..rrr....rrr..',
        '...rrr..rrr...',
        '....rrrrrr....',
        '.....rrrr.....',
        '.....rrrr.....',
        '....rrrrrr....',
        '...rrr..rrr...',
        '..rrr....rrr..',
        '.rrr......rrr.',
        'rrr........rrr',
        'rr..........rr',
    ],
    # Fire.
    ':': [
        '.......r........',
        '.......rr.......',
        '......rrr.......',
        '......rrrr......',
        '.....rrrrr...r..',
        '.....rrrrrr..rr.',
        '.r..rrrrrrr..rr.',
        '.rr.rrryrrrr.rrr',
        '.rrrrrryyrrrrrrr',
        'rrrrrryyyrrrrrrr',
        'rrrrryyyyyrrrrrr',
        'rrrryyyyyyyrrrrr',
        'rrrryyyyyyyyrrrr',
        'rrrryyyyyyyyrrrr',
        '.rrryyyyyyyyrrr.',
        '.rrrryyyyyyrrrr.',
        '..rrrryyyyrrrr..',
        '....rrrrrrrr....',
    ],
    # Hurricane.
    '@': [
        '......rrrrrrr...',
        '....rrrr........',
        '...rrr..........',
        '...rr...........',
        '...rrrrrrrr.....',
        '....rrrrrrrr....',
        '....rrr..rrr....',
        '....rr....rr....',
        '....rr....rr....',
        '....rrr..rrr....',
        '....rrrrrrrr....',
        '.....rrrrrrrr...',
        '...........rr...',
        '..........rrr...',
        '........rrrr....',
        '...rrrrrrr......',
    ],
    # Canoe.
    'C': [
        '..............k...',
        '.............k....',
        '............k.....',
        '...........k......',
        'o.........k......o',
        'oo.......k......oo',
        'ooooooookooooooooo',
        '.mmmmmmkmmmmmmmmm.',
        '..mmmmkmmmmmmmmm..',
        '...kkk............',
        'bb.bb.bb.bb.bb.bb.',
    ],
    # Eyeball.
    'E': [
        '......kkkkkk......',
        '...kkkwwwwwwkkk...',
        '..kwwwwbbbbwwwwk..',
        '.kwwwwbbwkbbwwwwk.',
        'kwwwwwbkkkkbwwwwwk',
        'kwwwwwbkkkkbwwwwwk',
        '.kwwwwbbkkbbwwwwk.',
        '..kwwwwbbbbwwwwk..',
        '...kkkwwwwwwkkk...',
        '......kkkkkk......',
    ],
    # Farm vehicle: a tractor.
    'F': [
        '...........d......',
        '.kkkkkk....d......',
        '.kaaaak....d......',
        '.kaaaak....d......',
        '.kaaaakgggggggggk.',
        '.kggggggggggggggk.',
        '..kkk.gggggggggyk.',
        '.kkkkk.gggggggggk.',
        'kkkdkkkkkkkk.kkk..',
        'kkdddkk.....kdsdk.',
        'kkkdkkk.....ksssk.',
        '.kkkkk......kdsdk.',
        '..kkk.........kkk.',
    ],
    # PC user.
    'L': [
        '..kkkkkkkkkkkkkk..',
        '..kaaaaaaaaaaaak..',
        '..katttttaaaaaak..',
        '..kaaaaaaaaaaaak..',
        '..kattttttttaaak..',
        '..kaaaaaaaaaaaak..',
        '..kkkkkkkkkkkkkk..',
        '.......kkkk.......',
        '.....kkkkkkkk.....',
        '..................',
        '.kkkkkkkkkkkkkkkk.',
        '.kdsdsdsdsdsdsdsk.',
        '.kkkkkkkkkkkkkkkk.',
    ],
    # Slow-scan television.
    'T': [
        '....k.......k.....',
        '.....k.....k......',
        '......k...k.......',
        '.......k.k........',
        'kkkkkkkkkkkkkkkkkk',
        'kaaaaaaaaaaaakdddk',
        'kaaaaaaaayyaakdkdk',
        'kaaaaaaaayyaakdddk',
        'kaaagggaaaaaakdkdk',
        'kaggggggggaaakdddk',
        'kkkkkkkkkkkkkkkkkk',
        '.kk............kk.',
    ],
    # Direction-finding station: the triangle.
    '\\': [
        '........rr........',
        '........rr........',
        '.......rrrr.......',
        '......rrrrrr......',
        '......rr..rr......',
        '.....rrr..rrr.....',
        '.....rr....rr.....',
        '....rrr....rrr....',
        '....rr......rr....',
        '...rrr......rrr...',
        '...rr........rr...',
        '..rrr........rrr..',
        '..rr..........rr..',
        '.rrrrrrrrrrrrrrrr.',
        'rrrrrrrrrrrrrrrrrr',
    ],
    # Mail, post office.
    ']': [
        'kkkkkkkkkkkkkkkkkk',
        'kkwwwwwwwwwwwwwwkk',
        'kwkwwwwwwwwwwwwkwk',
        'kwwkwwwwwwwwwwkwwk',
        'kwwwkwwwwwwwwkwwwk',
        'kwwwwkwwwwwwkwwwwk',
        'kwwwwwkwwwwkwwwwwk',
        'kwwwwwwkkkkwwwwwwk',
        'kwwwwwwwwwwwwwwwwk',
        'kwwwwwwwwwwwwwwwwk',
        'kwwwwwwwwwwwwwwwwk',
        'kkkkkkkkkkkkkkkkkk',
    ],
}

# ---------------------------------------------------------------------------
# The symbol table picture.

def glyph_rows(ch):
    return FONT[ch].split()


def text_map(ch, scale, ink):
    """The glyph of ch as an icon map, scaled up and trimmed to its ink."""
    rows = glyph_rows(ch)
    used = [y for y, row in enumerate(rows) if '#' in row]
    cols = [x for x in range(5) if any(row[x] == '#' for row in rows)]
    out = []
    for y in range(used[0], used[-1] + 1):
        line = ''.join((ink if rows[y][x] == '#' else '.') * scale
                       for x in range(cols[0], cols[-1] + 1))
        out.extend([line] * scale)
    return out


DISC = [
    '......kkkkkk......',
    '....kkggggggkk....',
    '...kggggggggggk...',
    '..kggggggggggggk..',
    '.kggggggggggggggk.',
    '.kggggggggggggggk.',
    'kggggggggggggggggk',
    'kggggggggggggggggk',
    'kggggggggggggggggk',
    'kggggggggggggggggk',
    'kggggggggggggggggk',
    'kggggggggggggggggk',
    '.kggggggggggggggk.',
    '.kggggggggggggggk.',
    '..kggggggggggggk..',
    '...kggggggggggk...',
    '....kkggggggkk....',
    '......kkkkkk......',
]


def disc_map(digit):
    """A numbered circle: how the digit symbols are usually shown."""
    grid = [list(row) for row in DISC]
    for y, row in enumerate(glyph_rows(digit)):
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
ICON_16 = [
    '..b..b...b..b...',
    '.b..b..k..b..b..',
    '.b..b.kkk.b..b..',
    '.b..b..k..b..b..',
    '..b....k....b...',
    '.....mmmmm......',
    '....mrrrrrm.....',
    '...mrrwwwrrm....',
    '...mrrwwwrrm....',
    '...mrrwwwrrm....',
    '...mrrrrrrrm....',
    '....mrrrrrm.....',
    '.....mrrrm......',
    '......mrm.......',
    '.......m........',
    '.....sssss......',
]
ICON_16_KEY = {'.': (0, 0, 0, 0), 'b': WAVE, 'k': MAST, 'm': PIN_DARK,
               'r': PIN_RED, 'w': HOLE, 's': SHADOW}


def draw_icon_16():
    return [[ICON_16_KEY[c] for c in row] for row in ICON_16]


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
    out_dir = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write(os.path.join(out_dir, 'symbols.bmp'), bmp4_bytes(draw_symbol_table()))
    images = {s: draw_icon(s) for s in (24, 32, 48, 256)}
    images[16] = draw_icon_16()
    write(os.path.join(out_dir, 'korvel.ico'), ico_bytes(images))
    write(os.path.join(out_dir, 'korvelconfig.png'), png_bytes(images[256]))
    write(os.path.join(out_dir, 'korvelconfig-48.png'), png_bytes(images[48]))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

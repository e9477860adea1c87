"""The notification-area pictures: the two 16 x 16 state icons (the card reader in green for
an open port, in red for one that is not open), the 32 x 32 grey device shown until the
port's state is known, and the 128 x 32 strip of tray-menu pictures on light grey, whose
bottom-left pixel names the colour the menu leaves transparent.

usage: tray_pictures.py OUTPUT_DIR"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pixmap import Picture, write_bmp, write_ico  # noqa: E402

# The reader at 16 x 16: a card in the top slot, a display and a lamp. H is the lit edge,
# B the body and D its shade; the state picks the colours.
READER_16 = [
    "................",
    "...kkkkkkkkkk...",
    "...kwwwwwwwwk...",
    "...kwnnnnnnwk...",
    "...kwwwwwwwwk...",
    ".kkkkkkkkkkkkkk.",
    ".kHHHkkkkkkHHHk.",
    ".kHBBBBBBBBBBDk.",
    ".kHBkkkkkkkkBDk.",
    ".kHBkccccccdBDk.",
    ".kHBkddddddwBDk.",
    ".kHBBBBBBBBBBDk.",
    ".kHByBBBBBwwBDk.",
    ".kHDDDDDDDDDDDk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]


def state_icon(lit, body, shade):
    pic = Picture(16, 16, '.')
    rows = [r.replace('H', lit).replace('B', body).replace('D', shade) for r in READER_16]
    pic.put(0, 0, rows)
    return pic


def fill(pic, x0, y0, x1, y1, ch):
    """Fills the box from x0, y0 to x1, y1, both corners included."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            pic.pixels[y][x] = ch


def raised_box(pic, x0, y0, x1, y1, face, lit, shade):
    fill(pic, x0, y0, x1, y1, 'k')
    fill(pic, x0 + 1, y0 + 1, x1 - 1, y1 - 1, shade)
    fill(pic, x0 + 1, y0 + 1, x1 - 2, y1 - 2, lit)
    fill(pic, x0 + 2, y0 + 2, x1 - 2, y1 - 2, face)


def draw_reader(pic, ox, oy, face, lit, shade, lamp):
    """The card reader, 26 pixels wide: a card half in its slot above a body with a
    display and a lamp."""
    fill(pic, ox + 7, oy + 1, ox + 18, oy + 11, 'k')          # the card
    fill(pic, ox + 8, oy + 2, ox + 17, oy + 11, 'w')
    fill(pic, ox + 8, oy + 4, ox + 17, oy + 5, 'n')
    fill(pic, ox + 9, oy + 7, ox + 12, oy + 8, 'y')           # its chip
    raised_box(pic, ox, oy + 10, ox + 25, oy + 28, face, lit, shade)
    fill(pic, ox + 5, oy + 10, ox + 20, oy + 11, 'k')         # the slot
    fill(pic, ox + 4, oy + 14, ox + 21, oy + 20, 'k')         # the display
    fill(pic, ox + 5, oy + 15, ox + 20, oy + 19, 'g')
    pic.put(ox + 6, oy + 16, ["G.G.GG.G.GGG.G",
                              "G.G..G.G...G.G",
                              "GGG.GG.GGG.G.G"])
    for y in range(oy + 16, oy + 19):
        for x in range(ox + 6, ox + 20):
            if pic.pixels[y][x] == '.':
                pic.pixels[y][x] = 'g'
    fill(pic, ox + 4, oy + 23, ox + 6, oy + 25, lamp)         # the lamp
    fill(pic, ox + 10, oy + 24, ox + 21, oy + 24, shade)      # grille
    fill(pic, ox + 10, oy + 26, ox + 21, oy + 26, shade)


def device_icon():
    pic = Picture(32, 32, '.')
    draw_reader(pic, 3, 1, 's', 'w', 'd', 'd')
    return pic


def hammer_rows(size):
    """A hammer lying across a size x size square: the handle along the falling diagonal,
    the head across its upper end."""
    kinds = {}
    cx = cy = size * 0.3
    for y in range(size):
        for x in range(size):
            u = ((x - cx) - (y - cy)) / 2 ** 0.5   # along the head
            v = ((x - cx) + (y - cy)) / 2 ** 0.5   # along the handle
            if abs(u) <= size * 0.3 and abs(v) <= size * 0.14:
                kinds[x, y] = 'w' if v < -size * 0.06 else 'd' if v > size * 0.06 else 's'
            elif abs(u) <= 1.3 and size * 0.14 < v <= size * 0.95:
                kinds[x, y] = 'y' if u < -0.4 else 'o'
    rows = []
    for y in range(size):
        row = ''
        for x in range(size):
            if (x, y) in kinds:
                row += kinds[x, y]
            elif any((x + dx, y + dy) in kinds for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                row += 'k'
            else:
                row += ' '
        rows.append(row)
    return rows


def draw_tools_cell(pic, ox):
    """A window with a chart, a hammer over it: the settings."""
    fill(pic, ox + 1, 5, ox + 26, 29, 'k')
    fill(pic, ox + 2, 6, ox + 25, 9, 'n')                     # caption bar
    fill(pic, ox + 22, 7, ox + 24, 8, 's')
    fill(pic, ox + 2, 10, ox + 25, 28, 'w')
    fill(pic, ox + 4, 12, ox + 4, 26, 'k')                    # chart axes
    fill(pic, ox + 4, 26, ox + 23, 26, 'k')
    for left, top, ch in ((6, 20, 'r'), (10, 15, 'G'), (14, 18, 'b'), (18, 13, 'y')):
        fill(pic, ox + left, top, ox + left + 2, 25, ch)
    pic.put(ox + 12, 0, hammer_rows(20))


def draw_help_cell(pic, ox):
    """A question mark in a speech bubble: help."""
    bubble = [
        "....kkkkkkkkkkkkkkkk....",
        "..kkwwwwwwwwwwwwwwwwkk..",
        ".kwwwwwwwwwwwwwwwwwwwwk.",
        "kwwwwwwwwwwwwwwwwwwwwwwk",
    ]
    pic.put(ox + 4, 2, bubble)
    for y in range(6, 18):
        pic.put(ox + 4, y, ["k" + "w" * 22 + "k"])
    pic.put(ox + 4, 18, list(reversed(bubble[1:])))
    pic.put(ox + 4, 21, ["....kkkkkkkkkkkkkkkk...."])
    pic.put(ox + 7, 21, ["kwwwk", ".kwk.", ".kwk.", "..kk.", "..k..", ".k..."])
    pic.put(ox + 7, 21, ["kwww"])
    pic.put(ox + 11, 4, [
        "...nnnnnn...",
        "..nnbbbbnnd.",
        ".nnbd..nnbd.",
        ".nnd...nnbd.",
        "..d...nnbd..",
        ".....nnbd...",
        "....nnbd....",
        "....nnd.....",
        "....nnd.....",
        ".....d......",
        "....nn......",
        "....nnd.....",
        ".....dd.....",
    ])
    for y in range(4, 17):
        for x in range(ox + 11, ox + 23):
            if pic.pixels[y][x] == '.':
                pic.pixels[y][x] = 'w'


def draw_exit_cell(pic, ox):
    """An arrow entering an open door: exit."""
    fill(pic, ox + 14, 2, ox + 29, 29, 'k')                   # the door frame
    fill(pic, ox + 15, 3, ox + 28, 29, 'k')
    fill(pic, ox + 16, 4, ox + 27, 29, 'k')                   # the dark room beyond
    for i in range(9):                                        # the door, swung open
        fill(pic, ox + 18 + i // 3, 5 + i, ox + 18 + i // 3, 5 + i, 'k')
    door = []
    for y in range(4, 30):
        slant = max(0, 3 - (y - 4) // 3) if y < 13 else 0
        door.append((y, slant))
    for y, slant in door:
        fill(pic, ox + 22 + slant, y, ox + 27, y, 'o')
        fill(pic, ox + 22 + slant, y, ox + 22 + slant, y, 'y')
    fill(pic, ox + 24, 16, ox + 25, 17, 'y')                  # the handle
    fill(pic, ox + 12, 29, ox + 30, 29, 'd')                  # the threshold
    pic.put(ox + 1, 9, [
        "..........kk.......",
        "..........kGk......",
        "..........kGGk.....",
        "kkkkkkkkkkkGwGk....",
        "kGGGGGGGGGGGwwGk...",
        "kGwwwwwwwwwwwwwGk..",
        "kGGGGGGGGGGGGGgk...",
        "kkkkkkkkkkkGGgk....",
        "..........kGgk.....",
        "..........kgk......",
        "..........kk.......",
    ])


def menu_strip():
    pic = Picture(128, 32, 's')
    draw_reader(pic, 3, 1, 'b', 'c', 'n', 'G')
    draw_tools_cell(pic, 32)
    draw_help_cell(pic, 64)
    draw_exit_cell(pic, 96)
    for y in range(32):
        for x in range(128):
            if pic.pixels[y][x] == '.':
                pic.pixels[y][x] = 's'
    assert pic.pixels[31][0] == 's', "the strip's bottom-left pixel names its transparent grey"
    return pic


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico([state_icon('w', 'G', 'g')], os.path.join(out, 'tray_green.ico'))
    write_ico([state_icon('w', 'r', 'm')], os.path.join(out, 'tray_red.ico'))
    write_ico([device_icon()], os.path.join(out, 'tray_device.ico'))
    write_bmp(menu_strip(), os.path.join(out, 'tray_menu_strip.bmp'))


if __name__ == '__main__':
    main()

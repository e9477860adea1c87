"""The notification-area pictures: the two state icons (the card reader in green for an open
port, in red for one that is not open), the grey device shown until the port's state is
known (also the program's own icon), and the 160 x 32 strip of tray-menu pictures on light
grey, whose bottom-left pixel names the colour the menu leaves transparent.

Each icon file holds the reader at every size Windows asks for from 100 % to 200 %
scaling (16, 20, 24, 32 and 48 pixels), drawn for that size with one-pixel outlines, so
the system never has to stretch one.

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


# The display is cyan on teal, as in the 16-pixel drawing, so that neither state's colour
# shows in the other's icon.
DIGITS = ["c.c.cc.c.ccc.c",
          "c.c..c.c...c.c",
          "ccc.cc.ccc.c.c"]


def draw_reader(pic, ox, oy, face, lit, shade, lamp, scale=1.0):
    """The card reader, 26 pixels wide at scale 1: a card half in its slot above a body
    with a display and a lamp. At another scale every box keeps its one-pixel outline and
    the display's digits show only where there is room for them."""
    def box(x0, y0, x1, y1, ch):
        fill(pic, ox + round(x0 * scale), oy + round(y0 * scale),
             ox + round((x1 + 1) * scale) - 1, oy + round((y1 + 1) * scale) - 1, ch)

    def edge(x0, y0, x1, y1):
        return (ox + round(x0 * scale), oy + round(y0 * scale),
                ox + round((x1 + 1) * scale) - 1, oy + round((y1 + 1) * scale) - 1)

    box(7, 1, 18, 11, 'k')                                    # the card
    x0, y0, x1, y1 = edge(7, 1, 18, 11)
    fill(pic, x0 + 1, y0 + 1, x1 - 1, y1, 'w')
    box(8, 4, 17, 5, 'n')
    box(9, 7, 12, 8, 'y')                                     # its chip
    raised_box(pic, *edge(0, 10, 25, 28), face, lit, shade)
    box(5, 10, 20, 11, 'k')                                   # the slot
    x0, y0, x1, y1 = edge(4, 14, 21, 20)                      # the display
    fill(pic, x0, y0, x1, y1, 'k')
    fill(pic, x0 + 1, y0 + 1, x1 - 1, y1 - 1, 't')
    if scale >= 1:
        step = max(1, int(scale))
        rows = [''.join(ch * step for ch in row) for row in DIGITS for _ in range(step)]
        left = (x0 + x1 + 1 - len(rows[0])) // 2
        top = (y0 + y1 + 1 - len(rows)) // 2
        pic.put(left, top, [row.replace('.', ' ') for row in rows])
    box(4, 23, 6, 25, lamp)                                   # the lamp
    box(10, 24, 21, 24, shade)                                # grille
    box(10, 26, 21, 26, shade)


# The sizes an icon file holds: 100 %, 125 %, 150 % and 200 % of the small icon, and the
# large icon at 100 % and 150 %.
ICON_SIZES = (16, 20, 24, 32, 48)


def reader_icon(size, face, lit, shade, lamp):
    """The reader at one size: the hand-drawn 16-pixel picture, or the drawing scaled from
    its 32-pixel design."""
    pic = Picture(size, size, '.')
    if size == 16:
        rows = [r.replace('H', lit).replace('B', face).replace('D', shade) for r in READER_16]
        pic.put(0, 0, rows)
    else:
        scale = size / 32
        draw_reader(pic, round(3 * scale), round(1 * scale), face, lit, shade, lamp, scale)
    return pic


def reader_icons(face, lit, shade, lamp):
    return [reader_icon(size, face, lit, shade, lamp) for size in ICON_SIZES]


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


def draw_journal_cell(pic, ox):
    """A ruled page with a card laid on it: the journal of cards."""
    fill(pic, ox + 3, 2, ox + 22, 29, 'k')                    # the page
    fill(pic, ox + 4, 3, ox + 21, 28, 'w')
    for y in range(6, 28, 4):                                 # its lines
        fill(pic, ox + 6, y, ox + 19, y, 'n')
    fill(pic, ox + 13, 15, ox + 29, 27, 'k')                  # the card
    fill(pic, ox + 14, 16, ox + 28, 26, 'y')
    fill(pic, ox + 14, 16, ox + 28, 16, 'w')
    fill(pic, ox + 16, 19, ox + 20, 22, 'o')                  # its chip
    fill(pic, ox + 17, 20, ox + 19, 21, 'd')
    fill(pic, ox + 22, 24, ox + 26, 24, 'd')


def menu_strip():
    pic = Picture(160, 32, 's')
    draw_reader(pic, 3, 1, 'b', 'c', 'n', 'G')
    draw_tools_cell(pic, 32)
    draw_help_cell(pic, 64)
    draw_exit_cell(pic, 96)
    draw_journal_cell(pic, 128)
    for y in range(32):
        for x in range(160):
            if pic.pixels[y][x] == '.':
                pic.pixels[y][x] = 's'
    assert pic.pixels[31][0] == 's', "the strip's bottom-left pixel names its transparent grey"
    return pic


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_ico(reader_icons('G', 'w', 'g', 'y'), os.path.join(out, 'tray_green.ico'))
    write_ico(reader_icons('r', 'w', 'm', 'y'), os.path.join(out, 'tray_red.ico'))
    write_ico(reader_icons('s', 'w', 'd', 'd'), os.path.join(out, 'tray_device.ico'))
    write_bmp(menu_strip(), os.path.join(out, 'tray_menu_strip.bmp'))


if __name__ == '__main__':
    main()

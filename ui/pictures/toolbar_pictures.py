"""The main window's toolbar pictures: three 32 x 32 button glyphs on magenta (the glyphs'
transparent colour, taken from their bottom-left pixel) and the wallpaper tile.

usage: toolbar_pictures.py OUTPUT_DIR"""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
import pixmap  # noqa: E402

SETUP = [  # a screwdriver and a spanner crossed over a panel with sliders
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMddMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMdssdMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMdswsdMMM",
    "MMMMkkkkkkkkkkkkkkkkkkkdswsdkkMM",
    "MMMMkwwwwwwwwwwwwwwwwwdswsdwwkMM",
    "MMMMkwssssssssssssssdswsdssskdMM",
    "MMMMkwsnnnnnnnnnnnndswsdnnnskdMM",
    "MMMMkwsnbbbbbbbbbbdswsdbbbnskdMM",
    "MMMMkwsnbbkkkkkbbdswsdbbbbnskdMM",
    "MMMMkwsnbbkyyykbbkdsdbbbbbnskdMM",
    "MMMMkwsnbbkkkkkbkdkdbbbbbbnskdMM",
    "MMMMkwsnbbbbbbbkdkbbbbbbbbnskdMM",
    "MMMMkwsnbbbbbbkdkbbbbkkkkbnskdMM",
    "MMMMkwsnbbbbbkdkbbbbbkyyykbnskdM",
    "MMMMkwsnbbbbkdkbbbbbbkkkkbnskdMM",
    "MMMMkwsnbbbkdkbbbbbbbbbbbbnskdMM",
    "MMMMkwsnbbkdkbbbbbbbbbbbbbnskdMM",
    "MMMMkwsnbkdkbbbbbkkkkkbbbbnskdMM",
    "MMMMkwsnkokbbbbbbkyyykbbbbnskdMM",
    "MMMMkwskookbbbbbbkkkkkbbbbnskdMM",
    "MMMMkwkookkbbbbbbbbbbbbbbbnskdMM",
    "MMMMkkoookbbbbbbbbbbbbbbbbnskdMM",
    "MMMMkmoooknnnnnnnnnnnnnnnnnskdMM",
    "MMMkmmookssssssssssssssssssskdMM",
    "MMkmmmkkkkkkkkkkkkkkkkkkkkkkkdMM",
    "MkmmmkMddddddddddddddddddddddMMM",
    "kmmmkMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "kmmkMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MkkMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
]

HELP = [  # a blue book with a yellow question mark
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMkkkkkkkkkkkkkkkkkkkkkMMMMM",
    "MMMMMkbbbbbbbbbbbbbbbbbbbbnkMMMM",
    "MMMMkbbbbbbbbbbbbbbbbbbbbnnkMMMM",
    "MMMkcbbbbbbbbbbbbbbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbkkkkkbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbkyyyyykbbbbbnnnkMMMM",
    "MMMkcbbbbbbkyykkkyykbbbbnnnkMMMM",
    "MMMkcbbbbbbkyykbkyykbbbbnnnkMMMM",
    "MMMkcbbbbbbbkkbbkyykbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbbkyykbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbkyykbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbkyykbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbbkkbbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbkyykbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbkyykbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbbkkbbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbbbbbbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbbbbbbbbbbbnnnkMMMM",
    "MMMkcbbbbbbbbbbbbbbbbbbbnnkMMMMM",
    "MMMkcnnnnnnnnnnnnnnnnnnnnkwkMMMM",
    "MMMkcnkkkkkkkkkkkkkkkkkkkwwkMMMM",
    "MMMkcnkwwwwwwwwwwwwwwwwwwwkdMMMM",
    "MMMkcnkwsssssssssssssssswkdMMMMM",
    "MMMkcnkwwwwwwwwwwwwwwwwwwkdMMMMM",
    "MMMMkckkkkkkkkkkkkkkkkkkkkdMMMMM",
    "MMMMMkkkkkkkkkkkkkkkkkkkkdMMMMMM",
    "MMMMMMMddddddddddddddddddMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
]

EXIT = [  # an open brown door with a red arrow leaving through it
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
    "MMMMMMMMMMMkkkkkkkkkkkkkkkkkkMMM",
    "MMMMMMMMMMMkssssssssssssssssskMMM",
    "MMMMMMMMMMMksmmkkkkkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmmkkkkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmmmkkkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmmmmkkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmomm kkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmoommkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmoomm kkkkkkkkskMMM",
    "MMMMrMMMMMMksmmoommmkkkkkkkkskMMM",
    "MMMMrrMMMMMksmmoommmkkkkkkkkskMMM",
    "MMMMrrrMMMMksmmoommmkkkkkkkkskMMM",
    "rrrrrrrrMMMksmmoommmkkkkkkkkskMMM",
    "rrrrrrrrrMMksmmoommmkkkkkkkkskMMM",
    "rrrrrrrrrrMksmmmmmmmkkkkkkkkskMMM",
    "rrrrrrrrrMMksmmyymmmkkkkkkkkskMMM",
    "rrrrrrrrMMMksmmyymmmkkkkkkkkskMMM",
    "MMMMrrrMMMMksmmmmmmmkkkkkkkkskMMM",
    "MMMMrrMMMMMksmmoommmkkkkkkkkskMMM",
    "MMMMrMMMMMMksmmoommmkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmoommmkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmoommkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmoommkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmommkkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmmmkkkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmmkkkkkkkkkkkkskMMM",
    "MMMMMMMMMMMksmmkkkkkkkkkkkkkskMMM",
    "MMMMMMMMMMMkkkkkkkkkkkkkkkkkkkMMM",
    "MMMMMMMMMMddddddddddddddddddddMMM",
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM",
]


def glyph(rows):
    pic = pixmap.Picture(32, 32, 'M')
    pic.put(0, 0, [row[:32].replace(' ', 'm') for row in rows])
    return pic


def wallpaper():
    """A 32 x 32 tile of soft diagonal weave in button-face greys."""
    pic = pixmap.Picture(32, 32, 's')
    for y in range(32):
        for x in range(32):
            if (x + y) % 16 == 0 or (x - y) % 16 == 0:
                pic.pixels[y][x] = 'w'
            elif (x + y) % 16 == 8 and (x - y) % 16 == 8:
                pic.pixels[y][x] = 'd'
    return pic


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name, rows in (("setup", SETUP), ("help", HELP), ("exit", EXIT)):
        pixmap.write_bmp(glyph(rows), os.path.join(out_dir, f"glyph_{name}.bmp"))
    pixmap.write_bmp(wallpaper(), os.path.join(out_dir, "wallpaper.bmp"))


if __name__ == "__main__":
    main(sys.argv[1])

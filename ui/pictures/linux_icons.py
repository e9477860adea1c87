"""The Linux edition's application icon for the desktop's hicolor theme: the grey device of
the notification area, as PNG files of each size the menus and panels ask for: drawn for
each small size, and the 32-pixel drawing scaled pixel by pixel for the large ones, so the
pixel art stays sharp.

usage: linux_icons.py OUTPUT_DIR  (writes OUTPUT_DIR/<size>x<size>/apps/lintavo.png)"""

import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pixmap import PALETTE  # noqa: E402
from tray_pictures import reader_icon  # noqa: E402

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
LARGEST_DRAWN = 48


def device_icon(size):
    return reader_icon(size if size <= LARGEST_DRAWN else 32, 's', 'w', 'd', 'd')


def rgba_rows(pic, size):
    """The picture at size x size, each pixel taken from the one it falls on."""
    rows = []
    for y in range(size):
        row = bytearray([0])  # PNG filter: none
        for x in range(size):
            sx, sy = x * pic.width // size, y * pic.height // size
            if pic.transparent(sx, sy):
                row += bytes(4)
            else:
                row += bytes(PALETTE[pic.index(sx, sy)]) + b'\xff'
        rows.append(bytes(row))
    return b''.join(rows)


def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)


def write_png(pic, size, path):
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    data = zlib.compress(rgba_rows(pic, size), 9)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', data) + chunk(b'IEND', b''))


def main(out_dir):
    for size in SIZES:
        pic = device_icon(size)
        folder = os.path.join(out_dir, f'{size}x{size}', 'apps')
        os.makedirs(folder, exist_ok=True)
        write_png(pic, size, os.path.join(folder, 'lintavo.png'))


if __name__ == '__main__':
    main(sys.argv[1])

"""Pixel art for the program's pictures: pictures are drawn as rows of characters, each
character naming a colour of the classic 16-colour palette, and written as BMP or ICO."""

import struct

# The 16-colour Windows palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# One character per palette entry; '.' is "transparent" where a picture has a mask.
CHARS = {
    'k': 0, 'm': 1, 'g': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6, 's': 7,
    'd': 8, 'r': 9, 'G': 10, 'y': 11, 'b': 12, 'M': 13, 'c': 14, 'w': 15,
}


class Picture:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, rows):
        """Draws character rows with their top-left corner at x, y; ' ' leaves a pixel."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != ' ':
                    self.pixels[y + dy][x + dx] = ch

    def index(self, x, y):
        ch = self.pixels[y][x]
        return CHARS.get(ch, 0)

    def transparent(self, x, y):
        return self.pixels[y][x] == '.'


def _rows_4bit(pic):
    stride = ((pic.width + 1) // 2 + 3) & ~3
    out = bytearray()
    for y in reversed(range(pic.height)):
        row = bytearray(stride)
        for x in range(pic.width):
            v = pic.index(x, y)
            row[x // 2] |= v << 4 if x % 2 == 0 else v
        out += row
    return bytes(out)


def _mask(pic):
    stride = ((pic.width + 7) // 8 + 3) & ~3
    out = bytearray()
    for y in reversed(range(pic.height)):
        row = bytearray(stride)
        for x in range(pic.width):
            if pic.transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def _palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def _info_header(width, height, bits, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, image_size, 0, 0, 16, 0)


def write_bmp(pic, path):
    """A 16-colour bitmap; '.' pixels take palette entry 0 unless the caller drew them."""
    pixels = _rows_4bit(pic)
    header = _info_header(pic.width, pic.height, 4, len(pixels))
    offset = 14 + len(header) + 64
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset))
        f.write(header + _palette_bytes() + pixels)


def write_ico(pictures, path):
    """An icon file with one 16-colour image per picture; '.' pixels are transparent."""
    images = []
    for pic in pictures:
        pixels, mask = _rows_4bit(pic), _mask(pic)
        header = _info_header(pic.width, pic.height * 2, 4, len(pixels) + len(mask))
        images.append(header + _palette_bytes() + pixels + mask)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)))
        offset = 6 + 16 * len(images)
        for pic, data in zip(pictures, images):
            f.write(struct.pack('<BBBBHHII', pic.width % 256, pic.height % 256, 16, 0, 1, 4,
                                len(data), offset))
            offset += len(data)
        for data in images:
            f.write(data)

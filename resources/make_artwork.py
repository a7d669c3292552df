#!/usr/bin/env python3
"""Draws the editor's two pictures and writes them as PNG files beside this script.

  bg.png       450 x 500, indexed colour: the panel the editor draws on. It carries the row
               captions, the grooves the handles run in, the meter box with its bar channels,
               ticks, scale and light sockets, and the product strip.
  knob_sm.png  32 x 32, RGBA: the handle, a light-grey disc on a transparent ground.

Each is also drawn for high-density screens at 1.5, 2 and 3 times the size (bg@2x.png,
knob_sm@2x.png, ...): from the same shapes at the finer grid, not scaled up from the small
pictures (edges that fall inside a pixel at 1.5 times are blended by the pixel's coverage).

The editor draws its handles, value texts, meter bars and lights at fixed positions; the
coordinates below are those positions (in the editor's 450 x 500 units), so the picture and the
drawing line up. Text is drawn with the 5 x 7 pixel font defined here (no system font is used),
so the output is the same on every machine. Only the Python 3 standard library is needed.

Usage: make_artwork.py [--check]   (--check: fail if the committed PNGs differ from the drawing)
"""

import pathlib
import struct
import sys
import zlib

HERE = pathlib.Path(__file__).resolve().parent
SCALES = (1, 1.5, 2, 3)


def picture_path(name, scale):
    """bg.png at 1, bg@1.5x.png, bg@2x.png, bg@3x.png at the larger scales."""
    suffix = '' if scale == 1 else f'@{scale:g}x'
    return HERE / f'{name}{suffix}.png'

WIDTH, HEIGHT = 450, 500

# Rows of the editor (top of each track's mouse area) and their captions; a track is 20 pixels
# high, so its centre line is at y + 10.
ROWS = [
    (39, 'ATTACK'), (69, 'RELEASE LO'), (99, 'RELEASE HI'),
    (139, 'THRESH LO'), (169, 'THRESH HI'),
    (209, 'CROSSOVER'), (239, 'BAND LINK'), (269, 'EXP / GATE'),
    (309, 'MONITOR'), (339, 'PRE-GATE'),
]
CAPTION_RIGHT = 112          # captions end here
GROOVE_LEFT, GROOVE_RIGHT = 135, 353   # darkest line of a groove, inclusive
GROUP_LINES = [129, 199, 299]          # faint lines between the row groups

METER_BOX = (91, 372, 359, 441)        # left, top, right, bottom (inclusive)
CHANNEL_LEFT, CHANNEL_RIGHT = 123, 326
CHANNEL_LO = (396, 407)                # low band bar channel, rows inclusive (bar drawn 399-406)
CHANNEL_HI = (409, 421)                # high band bar channel (bar drawn 411-418)
TICKS = [145, 189, 237]                # g = 0.01, 0.1, 0.316 light the bar from here
SCALE = [('C', 125), ('40', 145), ('20', 188), ('10', 237), ('0', 322)]
SOCKETS = [(109, 402), (109, 414), (341, 402), (341, 414)]  # centres of the indicator lights
STRIP_TOP = 457                        # product strip from here to the bottom border

# Colours (red, green, blue).
PANEL_TOP = (52, 60, 73)
PANEL_BOTTOM = (40, 47, 58)
BORDER = (14, 17, 22)
CAPTION = (176, 186, 200)
GROOVE_DARK = (11, 13, 17)
GROOVE_EDGE = (28, 33, 41)
GROOVE_SHADOW = (24, 28, 35)
GROOVE_LIGHT = (72, 82, 97)
GROUP_LINE = (58, 67, 80)
BOX_OUTER = (18, 21, 27)
BOX_INNER = (66, 76, 91)
BOX_FILL = (33, 39, 48)
CHANNEL = (9, 11, 14)
CHANNEL_RULE = (33, 39, 48)
TICK = (150, 160, 175)
SOCKET = (6, 7, 9)
SOCKET_RIM = (60, 69, 83)
STRIP = (27, 31, 39)
STRIP_LINE = (66, 76, 91)
PRODUCT = (214, 220, 230)
MAKER = (140, 150, 165)
HANDLE_FACE = (202, 206, 212)
HANDLE_RIM = (122, 128, 137)

# 5 x 7 pixel font: '#' set, '.' clear.
GLYPHS = {
    'A': '.###. #...# #...# ##### #...# #...# #...#',
    'B': '####. #...# #...# ####. #...# #...# ####.',
    'C': '.###. #...# #.... #.... #.... #...# .###.',
    'D': '####. #...# #...# #...# #...# #...# ####.',
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
    'a': '..... ..... .###. ....# .#### #...# .####',
    'd': '....# ....# .##.# #..## #...# #...# .####',
    'e': '..... ..... .###. #...# ##### #.... .###.',
    'i': '..#.. ..... .##.. ..#.. ..#.. ..#.. .###.',
    'n': '..... ..... #.##. ##..# #...# #...# #...#',
    'o': '..... ..... .###. #...# #...# #...# .###.',
    'r': '..... ..... #.##. ##..# #.... #.... #....',
    't': '.#... .#... ###.. .#... .#... .#..# ..##.',
    'u': '..... ..... #...# #...# #...# #..## .##.#',
    '0': '.###. #...# #..## #.#.# ##..# #...# .###.',
    '1': '..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.',
    '2': '.###. #...# ....# ...#. ..#.. .#... #####',
    '3': '####. ....# ....# .###. ....# ....# ####.',
    '4': '...#. ..##. .#.#. #..#. ##### ...#. ...#.',
    '5': '##### #.... ####. ....# ....# #...# .###.',
    '6': '..##. .#... #.... ####. #...# #...# .###.',
    '7': '##### ....# ...#. ..#.. .#... .#... .#...',
    '8': '.###. #...# #...# .###. #...# #...# .###.',
    '9': '.###. #...# #...# .#### ....# ...#. .##..',
    '-': '..... ..... ..... .###. ..... ..... .....',
    '/': '....# ....# ...#. ..#.. .#... #.... #....',
}
GLYPH_WIDTH, GLYPH_HEIGHT = 5, 7
SPACE_ADVANCE = 4


def coverage(pixel, start, end):
    """How much of pixel [pixel, pixel + 1) lies in [start, end)."""
    return max(0.0, min(pixel + 1, end) - max(pixel, start))


class Canvas:
    """An RGB picture with the few drawing operations the artwork needs. Coordinates are the
    editor's units; the picture has `scale` pixels per unit."""

    def __init__(self, width, height, colour, scale=1):
        self.scale = scale
        self.width, self.height = round(width * scale), round(height * scale)
        self.pixels = [[colour] * self.width for _ in range(self.height)]

    def put(self, x, y, colour):
        """Sets one pixel of the picture (pixel coordinates)."""
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        """Fills the rectangle of units, edges inclusive; a pixel the rectangle covers only in
        part takes the colour in proportion."""
        s = self.scale
        x0, x1, y0, y1 = left * s, (right + 1) * s, top * s, (bottom + 1) * s
        for y in range(int(y0), min(self.height, int(-(-y1 // 1)))):
            cy = coverage(y, y0, y1)
            for x in range(int(x0), min(self.width, int(-(-x1 // 1)))):
                part = cy * coverage(x, x0, x1)
                if part >= 1.0:
                    self.put(x, y, colour)
                elif part > 0.0 and 0 <= x < self.width and 0 <= y < self.height:
                    self.pixels[y][x] = mix(self.pixels[y][x], colour, part)

    def frame(self, left, top, right, bottom, colour):
        """A one-pixel outline, edges inclusive."""
        self.fill(left, top, right, top, colour)
        self.fill(left, bottom, right, bottom, colour)
        self.fill(left, top, left, bottom, colour)
        self.fill(right, top, right, bottom, colour)

    def disc(self, cx, cy, radius, colour):
        """Pixels whose centres lie within `radius` of (cx, cy) (continuous coordinates)."""
        s = self.scale
        for y in range(int((cy - radius) * s) - 1, int((cy + radius) * s) + 2):
            for x in range(int((cx - radius) * s) - 1, int((cx + radius) * s) + 2):
                if ((x + 0.5) / s - cx) ** 2 + ((y + 0.5) / s - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)


def text_width(text, scale=1):
    width = 0
    for i, ch in enumerate(text):
        advance = SPACE_ADVANCE if ch == ' ' else GLYPH_WIDTH + 1
        width += advance * scale
    return width - scale  # no spacing after the last character


def draw_text(canvas, text, left, top, colour, scale=1):
    x = left
    for ch in text:
        if ch == ' ':
            x += SPACE_ADVANCE * scale
            continue
        if ch not in GLYPHS:
            raise SystemExit(f'make_artwork.py: no glyph for {ch!r}')
        rows = GLYPHS[ch].split()
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == '#':
                    canvas.fill(x + gx * scale, top + gy * scale,
                                x + gx * scale + scale - 1, top + gy * scale + scale - 1, colour)
        x += (GLYPH_WIDTH + 1) * scale


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def draw_background(scale=1):
    c = Canvas(WIDTH, HEIGHT, PANEL_TOP, scale)
    # Panel: a gentle fall of brightness from top to bottom, in a few bands.
    for y in range(HEIGHT):
        band = (y * 12) // HEIGHT
        c.fill(0, y, WIDTH - 1, y, mix(PANEL_TOP, PANEL_BOTTOM, band / 11))

    for y in GROUP_LINES:
        c.fill(24, y, WIDTH - 25, y, GROUP_LINE)

    for row_top, caption in ROWS:
        centre = row_top + 10
        draw_text(c, caption, CAPTION_RIGHT - text_width(caption), centre - 3, CAPTION)
        # Groove: its darkest four lines centred on the row, a shadow above, a light edge below.
        c.fill(GROOVE_LEFT - 1, centre - 3, GROOVE_RIGHT + 1, centre - 3, GROOVE_SHADOW)
        c.fill(GROOVE_LEFT - 1, centre - 2, GROOVE_RIGHT + 1, centre + 1, GROOVE_EDGE)
        c.fill(GROOVE_LEFT, centre - 2, GROOVE_RIGHT, centre + 1, GROOVE_DARK)
        c.fill(GROOVE_LEFT - 1, centre + 2, GROOVE_RIGHT + 1, centre + 2, GROOVE_LIGHT)

    left, top, right, bottom = METER_BOX
    c.fill(left, top, right, bottom, BOX_FILL)
    c.frame(left, top, right, bottom, BOX_OUTER)
    c.frame(left + 1, top + 1, right - 1, bottom - 1, BOX_INNER)
    title = 'LO/HI BAND'
    draw_text(c, title, (left + right + 1) // 2 - text_width(title) // 2, top + 7, CAPTION)
    c.fill(CHANNEL_LEFT, CHANNEL_LO[0], CHANNEL_RIGHT, CHANNEL_HI[1], CHANNEL)
    c.fill(CHANNEL_LEFT, CHANNEL_LO[1] + 1, CHANNEL_RIGHT, CHANNEL_HI[0] - 1, CHANNEL_RULE)
    for x in TICKS:
        c.fill(x, CHANNEL_HI[1] + 1, x, CHANNEL_HI[1] + 4, TICK)
    for label, centre in SCALE:
        draw_text(c, label, centre - text_width(label) // 2, CHANNEL_HI[1] + 7, TICK)
    for cx, cy in SOCKETS:
        c.disc(cx, cy, 4.6, SOCKET_RIM)
        c.disc(cx, cy, 3.6, SOCKET)

    c.fill(1, STRIP_TOP, WIDTH - 2, HEIGHT - 2, STRIP)
    c.fill(1, STRIP_TOP, WIDTH - 2, STRIP_TOP, STRIP_LINE)
    strip_middle = (STRIP_TOP + HEIGHT - 1) // 2
    draw_text(c, 'VARNE Gate', 16, strip_middle - 7, PRODUCT, scale=2)
    maker = 'Quorrin Sound'
    draw_text(c, maker, WIDTH - 16 - text_width(maker), strip_middle, MAKER)

    c.frame(0, 0, WIDTH - 1, HEIGHT - 1, BORDER)
    return c


def draw_handle(scale=1):
    """RGBA rows: a disc 16 units across centred in 32 x 32 units, edges anti-aliased (4 x 4
    samples per pixel), a darker rim and light from the top left."""
    size, cx, cy, radius = 32, 16.0, 16.0, 8.0
    rows = []
    for y in range(round(size * scale)):
        row = []
        for x in range(round(size * scale)):
            inside = 0
            for sy in range(4):
                for sx in range(4):
                    px, py = (x + (sx + 0.5) / 4) / scale, (y + (sy + 0.5) / 4) / scale
                    if (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius:
                        inside += 1
            if inside == 0:
                row.append((0, 0, 0, 0))
                continue
            dx, dy = (x + 0.5) / scale - cx, (y + 0.5) / scale - cy
            distance = (dx * dx + dy * dy) ** 0.5
            light = max(0.0, min(1.0, 0.5 - (dx + dy) / (4 * radius)))
            colour = mix(HANDLE_FACE, (236, 239, 243), light * 0.6)
            if distance > radius - 1.5:
                colour = mix(colour, HANDLE_RIM, min(1.0, (distance - radius + 1.5) / 1.5))
            row.append(colour + (int(round(inside * 255 / 16)),))
        rows.append(row)
    return rows


# --- PNG files (every row with filter 0, so the decompressed data are the raw rows)

def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)


def indexed_png(canvas):
    """Indexed colour where the colours fit a palette, else plain RGB."""
    palette = sorted({colour for row in canvas.pixels for colour in row})
    if len(palette) > 256:
        raw = b''.join(b'\0' + b''.join(bytes(colour) for colour in row) for row in canvas.pixels)
        return png(struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 2, 0, 0, 0), [], raw)
    index = {colour: i for i, colour in enumerate(palette)}
    raw = b''.join(b'\0' + bytes(index[colour] for colour in row) for row in canvas.pixels)
    header = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 3, 0, 0, 0)
    plte = b''.join(bytes(colour) for colour in palette)
    return png(header, [(b'PLTE', plte)], raw)


def rgba_png(rows):
    raw = b''.join(b'\0' + b''.join(bytes(pixel) for pixel in row) for row in rows)
    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return png(header, [], raw)


def png(header, extra_chunks, raw):
    out = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
    for kind, data in extra_chunks:
        out += chunk(kind, data)
    return out + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def contents(data):
    """What a PNG shows: every chunk but IDAT as is, the IDAT data decompressed (so that another
    zlib build's different but equivalent compression does not count as a difference)."""
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        return None
    position, chunks, idat = 8, [], b''
    while position + 8 <= len(data):
        length, kind = struct.unpack('>I4s', data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        position += 12 + length
        if kind == b'IDAT':
            idat += body
        else:
            chunks.append((kind, body))
    try:
        return chunks, zlib.decompress(idat)
    except zlib.error:
        return None


def main():
    check = sys.argv[1:] == ['--check']
    if sys.argv[1:] and not check:
        raise SystemExit(__doc__)
    pictures = {}
    for scale in SCALES:
        pictures[picture_path('bg', scale)] = indexed_png(draw_background(scale))
        pictures[picture_path('knob_sm', scale)] = rgba_png(draw_handle(scale))
    stale = []
    for path, data in pictures.items():
        if check:
            committed = path.read_bytes() if path.exists() else b''
            if contents(committed) != contents(data):
                stale.append(path.name)
        else:
            path.write_bytes(data)
            print(f'wrote {path.relative_to(HERE.parent)} ({len(data)} bytes)')
    if stale:
        print('make_artwork.py: out of date: ' + ', '.join(stale) +
              ' (run python3 resources/make_artwork.py)', file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())

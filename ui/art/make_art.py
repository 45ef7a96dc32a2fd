#!/usr/bin/env python3
"""Draws the program's pictures into ui/res/: the countdown banner
(280 x 102) and the settings banner (406 x 74) as 16-colour BMPs on a
white ground, and the program icon (32 x 32, 256 colours). Run from anywhere."""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "res")

WHITE = (255, 255, 255)
INK = (32, 56, 104)        # dark blue
ACCENT = (224, 120, 32)    # kestrel orange
GREY = (200, 204, 210)

# 5 x 7 capitals and a few small letters, one string per row.
GLYPHS = {
    "K": ["X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"],
    "E": ["XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"],
    "S": [".XXXX", "X....", "X....", ".XXX.", "....X", "....X", "XXXX."],
    "T": ["XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X.."],
    "R": ["XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"],
    "U": ["X...X", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."],
    "P": ["XXXX.", "X...X", "X...X", "XXXX.", "X....", "X....", "X...."],
    "v": [".....", ".....", "X...X", "X...X", "X...X", ".X.X.", "..X.."],
    "a": [".....", ".....", ".XXX.", "....X", ".XXXX", "X...X", ".XXXX"],
    "x": [".....", ".....", "X...X", ".X.X.", "..X..", ".X.X.", "X...X"],
    "o": [".....", ".....", ".XXX.", "X...X", "X...X", "X...X", ".XXX."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


class Picture:
    def __init__(self, width, height, ground=WHITE):
        self.width, self.height = width, height
        self.pixels = [[ground] * width for _ in range(height)]

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.pixels[y]
            for x in range(max(0, x0), min(self.width, x1)):
                row[x] = colour

    def text(self, x, y, text, scale, colour):
        for ch in text:
            for gy, line in enumerate(GLYPHS[ch]):
                for gx, cell in enumerate(line):
                    if cell == "X":
                        self.fill(x + gx * scale, y + gy * scale,
                                  x + (gx + 1) * scale, y + (gy + 1) * scale, colour)
            x += 6 * scale
        return x

    def wing(self, x, y, size, colour):
        """A kestrel's swept wing: a stack of shrinking slanted bars."""
        for i in range(size):
            self.fill(x + i, y + i // 2, x + i + 1 + (size - i) // 2, y + i // 2 + 2, colour)

    def save_bmp(self, name):
        """As a 16-colour run-length encoded BMP: the pictures have a few
        colours, each kept exactly, in long runs."""
        palette = []
        for row in self.pixels:
            for colour in row:
                if colour not in palette:
                    palette.append(colour)
        assert len(palette) <= 16, name + " has more than 16 colours"
        palette += [(0, 0, 0)] * (16 - len(palette))
        # Run-length encoded (BI_RLE4): a run of one colour takes two bytes.
        data = bytearray()
        for row in reversed(self.pixels):
            x = 0
            while x < self.width:
                run = 1
                while x + run < self.width and run < 255 and row[x + run] == row[x]:
                    run += 1
                index = palette.index(row[x])
                data += bytes((run, index << 4 | index))
                x += run
            data += b"\0\0"
        data += b"\0\1"
        colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
        offset = 14 + 40 + len(colours)
        header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 4, 2,
                           len(data), 2835, 2835, 16, 0)
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(header + info + colours + data)


def wait_banner():
    p = Picture(280, 102)
    p.wing(26, 22, 34, ACCENT)
    p.wing(40, 30, 26, INK)
    p.text(84, 18, "vaxo", 2, ACCENT)
    p.text(84, 40, "KESTRUP", 4, INK)
    p.fill(20, 84, 260, 86, GREY)
    p.save_bmp("wait-banner.bmp")


def settings_banner():
    p = Picture(406, 74)
    p.fill(0, 30, 406, 44, GREY)
    p.wing(22, 14, 40, ACCENT)
    p.wing(38, 24, 30, INK)
    p.text(90, 10, "vaxo", 2, ACCENT)
    p.text(90, 28, "KESTRUP", 4, INK)
    p.save_bmp("settings-banner.bmp")


def icon():
    """32 x 32, 8 bits per pixel with a 256-entry palette, fully opaque."""
    p = Picture(32, 32)
    p.fill(0, 0, 32, 32, INK)
    p.fill(2, 2, 30, 30, WHITE)
    p.wing(5, 8, 22, ACCENT)
    p.wing(9, 13, 16, INK)
    palette = []
    for row in p.pixels:
        for colour in row:
            if colour not in palette:
                palette.append(colour)
    palette += [(0, 0, 0)] * (256 - len(palette))
    pixels = bytearray()
    for row in reversed(p.pixels):
        pixels += bytes(palette.index(c) for c in row)
    mask = b"\0" * (4 * 32)
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 8, 0, len(pixels) + len(mask), 0, 0, 256, 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    image = info + colours + pixels + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 8, len(image), 6 + 16)
    with open(os.path.join(OUT, "kestrup.ico"), "wb") as f:
        f.write(header + entry + image)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    wait_banner()
    settings_banner()
    icon()

#!/usr/bin/env python3
"""Draws the program's pictures: the countdown banner (280 x 102) as a
24-bit BMP on a white ground. Run from anywhere; writes into ui/res/."""

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
        stride = (self.width * 3 + 3) & ~3
        data = bytearray()
        for row in reversed(self.pixels):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            line += b"\0" * (stride - len(line))
            data += line
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0,
                           len(data), 2835, 2835, 0, 0)
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(header + info + data)


def wait_banner():
    p = Picture(280, 102)
    p.wing(26, 22, 34, ACCENT)
    p.wing(40, 30, 26, INK)
    p.text(84, 18, "vaxo", 2, ACCENT)
    p.text(84, 40, "KESTRUP", 4, INK)
    p.fill(20, 84, 260, 86, GREY)
    p.save_bmp("wait-banner.bmp")


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    wait_banner()

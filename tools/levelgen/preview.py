#!/usr/bin/env python3
"""Draws level files as a contact sheet of small pictures, for looking at shapes.

    preview.py OUT.png LEVEL.xml...

Each stone is drawn as the game places it (centre from the file, 7 pixels up and right per
layer), lighter the higher its layer; locks are red, keys gold, jokers white.
"""

import re
import struct
import sys
import zlib

SCALE = 4  # one preview pixel for 4 screen pixels
TILE_W, TILE_H = 800 // SCALE, 600 // SCALE
COLUMNS = 5
LAYER_COLOURS = [(70, 90, 140), (90, 130, 170), (120, 170, 190), (160, 200, 200),
                 (200, 225, 210), (235, 240, 220)]


def read_stones(path):
    text = open(path, encoding="utf-8").read()
    shift_x = int(re.search(r'ShiftX="(-?\d+)"', text).group(1))
    shift_y = int(re.search(r'ShiftY="(-?\d+)"', text).group(1))
    stones = []
    for layer, body in enumerate(re.findall(r"<Layer>(.*?)</Layer>", text, re.S)):
        for row, line in enumerate(re.findall(r"<l>(.*?)</l>", body)):
            for column, char in enumerate(line):
                if char == "[":
                    stones.append((layer, 20 * column + 40 + shift_x, 25 * row + 25 + shift_y,
                                   line[column + 1]))
    return stones


def draw_tile(pixels, width, origin_x, origin_y, stones):
    def fill(x0, y0, x1, y1, colour):
        for y in range(max(y0, 0), min(y1, TILE_H)):
            base = ((origin_y + y) * width + origin_x) * 3
            for x in range(max(x0, 0), min(x1, TILE_W)):
                pixels[base + 3 * x:base + 3 * x + 3] = bytes(colour)

    fill(0, 0, TILE_W, TILE_H, (30, 40, 30))
    fill(0, 520 // SCALE, TILE_W, TILE_H, (90, 60, 40))
    for layer, x, y, marker in sorted(stones, key=lambda s: s[0]):
        left = (x - 40 + 7 * layer) // SCALE
        top = (y - 25 - 7 * layer) // SCALE
        fill(left, top, left + 80 // SCALE, top + 50 // SCALE, (10, 10, 10))
        colour = LAYER_COLOURS[min(layer, len(LAYER_COLOURS) - 1)]
        colour = {"L": (200, 50, 40), "K": (230, 190, 40), "J": (250, 250, 250)}.get(marker,
                                                                                   colour)
        fill(left + 1, top + 1, left + 80 // SCALE - 1, top + 50 // SCALE - 1, colour)


def write_png(path, width, height, pixels):
    rows = b"".join(b"\0" + bytes(pixels[y * width * 3:(y + 1) * width * 3])
                    for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 6)))
        f.write(chunk(b"IEND", b""))


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    files = sys.argv[2:]
    rows = (len(files) + COLUMNS - 1) // COLUMNS
    width, height = COLUMNS * (TILE_W + 4), rows * (TILE_H + 4)
    pixels = bytearray(width * height * 3)
    for n, path in enumerate(files):
        draw_tile(pixels, width, (n % COLUMNS) * (TILE_W + 4), (n // COLUMNS) * (TILE_H + 4),
                  read_stones(path))
    write_png(sys.argv[1], width, height, pixels)
    return 0


if __name__ == "__main__":
    sys.exit(main())

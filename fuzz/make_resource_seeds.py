#!/usr/bin/env python3
"""Writes the seeds of fuzz_resource_loading: a group body, then files after "@@ name" lines."""

import pathlib
import struct
import zlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus" / "fuzz_resource_loading"


def tga(width, height, pixels, grey=False):
    """A TGA of 32-bit pixels, top row first; pixels are (r, g, b) or grey levels (alpha masks)."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 32, 0x28)
    if grey:
        pixels = [(v, v, v) for v in pixels]
    return header + b"".join(bytes((b, g, r, 255)) for r, g, b in pixels)


def png(width, height, pixels):
    """An 8-bit RGBA PNG."""

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    rows = b"".join(
        b"\0" + b"".join(bytes(p) for p in pixels[y * width:(y + 1) * width]) for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def seed(name, body, files):
    data = body.encode()
    for file_name, content in files:
        data += b"\n@@ " + file_name.encode() + b"\n" + content
    (CORPUS / name).write_bytes(data)


def main():
    CORPUS.mkdir(parents=True, exist_ok=True)
    colours = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)] * 2
    seed("alpha_image.bin",
         '<Image path="body.tga" id="BODY" alphaimage="mask.tga" nopal="" a8r8g8b8=""/>',
         [("body.tga", tga(4, 2, colours)), ("mask.tga", tga(4, 2, range(0, 256, 32), grey=True))])
    seed("alpha_grid.bin",
         '<Image path="cells.png" cols="2" alphagrid="cell.tga" anim="loop" framedelay="2"/>\n'
         '<Image path="plain" nobits=""/>',
         [("cells.png", png(4, 2, [c + (255,) for c in colours])),
          ("cell.tga", tga(2, 2, [0, 85, 170, 255], grey=True)),
          ("plain.tga", tga(2, 1, colours[:2])), ("_plain.tga", tga(2, 1, [40, 200], grey=True))])
    seed("font.bin",
         '<Font path="font.txt" id="MAIN" tags="bold, big"/>\n'
         '<Font path="!ref:MAIN" id="SMALL" tags="small"/>',
         [("font.txt", b"Define Letters ('A', 'B');\n"
                       b"CreateHorzSpanRectList Cells (0, 0, 0, 4) (2, 2);\n"
                       b"CreateLayer Main;\nLayerSetImage Main 'glyphs.tga';\n"
                       b"LayerSetImageMap Main Letters Cells;\n"
                       b"LayerSetCharWidths Main Letters (3, 3);\nLayerSetAscent Main 3;\n"),
          ("glyphs.tga", tga(4, 4, [255, 0] * 8, grey=True))])


if __name__ == "__main__":
    main()

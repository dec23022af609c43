#!/usr/bin/env python3
"""Writes the seed demo files of fuzz_demo_file (product version "1.0") into its corpus."""

import pathlib
import struct

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus" / "fuzz_demo_file"


class Bits:
    """A bit stream filled from each byte's least significant bit upward."""

    def __init__(self):
        self.bits = []

    def put(self, value, count):
        self.bits += [(value >> i) & 1 for i in range(count)]

    def put_bytes(self, data):
        for byte in data:
            self.put(byte, 8)

    def header(self, delta, pointer, kind_or_type):
        while delta > 15:
            self.put(15, 4)
            self.put(0, 1)
            self.put(31, 5)
            delta -= 15
        self.put(delta, 4)
        self.put(pointer, 1)
        self.put(kind_or_type, 1 if pointer else 5)

    def data(self):
        padded = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(sum(bit << i for i, bit in enumerate(padded[n:n + 8]))
                     for n in range(0, len(padded), 8))


def display(stream, windowed=1, refresh=60):
    stream.header(0, 0, 23)
    stream.put(windowed, 8)
    stream.put(refresh, 8)


def demo_file(events, markers=(), version=2, total=100):
    text = b"1.0"
    out = struct.pack("<IiIH", 0x42BEEF78, version, 12345, len(text)) + text
    if version >= 2:
        block = struct.pack("<i", len(markers))
        for name, update in markers:
            block += struct.pack("<h", len(name)) + name + struct.pack("<i", update)
        out += struct.pack("<i", len(block)) + block
    return out + struct.pack("<i", total) + events


def minimal():
    stream = Bits()
    display(stream)
    return demo_file(stream.data())


def busy():
    stream = Bits()
    display(stream, 0, 75)
    stream.header(2, 0, 0)  # absolute pointer position
    stream.put(400, 12)
    stream.put(300, 12)
    stream.header(1, 1, 0)  # relative move
    stream.put(-31 & 0x3F, 6)
    stream.put(5, 6)
    stream.header(0, 1, 1)  # left press, then release
    stream.put(1, 1)
    stream.put(1, 3)
    stream.header(40, 1, 1)
    stream.put(0, 1)
    stream.put(1, 3)
    for kind, value in ((3, 65), (5, ord("a")), (4, 65), (21, -2 & 0xFF)):
        stream.header(1, 0, kind)
        stream.put(value, 8)
    stream.header(0, 0, 11)  # settings read: a string value
    stream.put(1, 1)
    stream.put_bytes(struct.pack("<ii", 1, 3) + b"on\0")
    stream.header(0, 0, 15)  # file read
    stream.put(1, 1)
    stream.put_bytes(struct.pack("<i", 4) + b"\x01\x02\x03\x04")
    stream.header(0, 0, 18)  # clipboard text
    stream.put_bytes(struct.pack("<i", 2) + b"hi")
    stream.header(1, 0, 9)  # loading done
    for kind in (12, 14, 16, 1):
        stream.header(1, 0, kind)
        stream.put(1, 1)
    stream.header(3, 0, 6)  # close
    markers = ((b"One-Side Level 7", 3), (b"Two-Side Level 1", 44))
    return demo_file(stream.data(), markers, total=60)


def version_one():
    stream = Bits()
    display(stream)
    stream.header(5, 0, 7)  # pointer entered
    stream.header(0, 0, 2)  # minimised
    stream.put(1, 8)
    return demo_file(stream.data(), version=1, total=6)


def main():
    CORPUS.mkdir(parents=True, exist_ok=True)
    for name, contents in (("minimal.dmo", minimal()), ("busy.dmo", busy()),
                           ("version1.dmo", version_one())):
        (CORPUS / name).write_bytes(contents)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes a tiny XM module with the song writer of tools/xmsong into fuzz_module_loader's
corpus: two looped instruments with an envelope, one short pattern with a few effects."""

import math
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tools" / "xmsong"))

from xmfile import NOTE_OFF, Cell, Envelope, Instrument, Module, Pattern, Sample, module_bytes  # noqa: E402,E501

OUTPUT = ROOT / "fuzz" / "corpus" / "fuzz_module_loader" / "tiny.xm"


def main():
    sine = [round(12000 * math.sin(2 * math.pi * i / 64)) for i in range(64)]
    square = [9000 if i < 16 else -9000 for i in range(32)]
    lead = Instrument("lead", Sample(sine, loop_start=0, loop_length=64, relative_note=12),
                      volume_envelope=Envelope([(0, 64), (4, 40), (20, 0)], sustain=1),
                      fadeout=512, vibrato_type=0, vibrato_depth=4, vibrato_rate=8)
    bass = Instrument("bass", Sample(square, loop_start=0, loop_length=32, panning=96))
    pattern = Pattern(rows=16, channels=2)
    for row, note in enumerate([49, 52, 56, 54]):
        pattern.set(row * 4, 0, Cell(note=note, instrument=1, volume=0x40))
        pattern.set(row * 4 + 2, 0, Cell(effect=0x4, parameter=0x46))  # vibrato
    pattern.set(14, 0, Cell(note=NOTE_OFF))
    pattern.set(0, 1, Cell(note=25, instrument=2, effect=0xA, parameter=0x02))  # volume slide
    pattern.set(8, 1, Cell(note=32, instrument=2, effect=0x3, parameter=0x10))  # portamento
    pattern.set(15, 1, Cell(effect=0xB, parameter=0x00))  # jump back to the first order
    module = Module("tiny", channels=2, speed=3, bpm=140, orders=[0, 0], restart=0,
                    patterns=[pattern], instruments=[lead, bass])
    OUTPUT.write_bytes(module_bytes(module))


if __name__ == "__main__":
    main()

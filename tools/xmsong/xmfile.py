"""Writes FastTracker 2 Extended Modules (XM 1.04): header, order list, packed patterns and
instruments with delta-encoded 16-bit samples."""

import struct
from dataclasses import dataclass, field

NOTE_OFF = 97
MAX_CHANNELS = 32
MAX_ROWS = 256
MAX_ORDERS = 256
ENVELOPE_POINTS = 12

_HEADER_SIZE = 276  # from the header size field to the end of the order table
_INSTRUMENT_HEADER_SIZE = 263
_SAMPLE_HEADER_SIZE = 40


class XmError(ValueError):
    pass


@dataclass
class Cell:
    """One channel of one row. None leaves a field empty."""

    note: int = None  # 1..96 (C-0..B-7) or NOTE_OFF
    instrument: int = None  # 1..128
    volume: int = None  # volume column byte, 0x10..0x50 sets volume 0..64
    effect: int = None
    parameter: int = None

    def is_empty(self):
        return all(v is None for v in (self.note, self.instrument, self.volume, self.effect,
                                       self.parameter))


@dataclass
class Pattern:
    rows: int
    channels: int
    cells: dict = field(default_factory=dict)  # (row, channel) -> Cell

    def set(self, row, channel, cell):
        if not 0 <= row < self.rows or not 0 <= channel < self.channels:
            raise XmError(f"cell {row},{channel} lies outside the pattern")
        self.cells[(row, channel)] = cell

    def get(self, row, channel):
        return self.cells.get((row, channel))


@dataclass
class Envelope:
    """Points of (tick, value 0..64); sustain is a point index or None."""

    points: list = field(default_factory=list)
    sustain: int = None


@dataclass
class Sample:
    data: list  # signed 16-bit values
    name: str = ""
    volume: int = 64
    finetune: int = 0  # -128..127
    relative_note: int = 0  # -96..95
    panning: int = 128
    loop_start: int = 0  # in sample frames
    loop_length: int = 0  # 0 for no loop


@dataclass
class Instrument:
    name: str
    sample: Sample
    volume_envelope: Envelope = None
    fadeout: int = 0  # 0..4095, per tick after the note is released
    vibrato_type: int = 0
    vibrato_sweep: int = 0
    vibrato_depth: int = 0
    vibrato_rate: int = 0


@dataclass
class Module:
    name: str
    channels: int
    speed: int  # ticks per row
    bpm: int
    orders: list = field(default_factory=list)  # pattern indices
    restart: int = 0
    patterns: list = field(default_factory=list)
    instruments: list = field(default_factory=list)


def _text(value, size):
    raw = value.encode("ascii", "replace")[:size]
    return raw + b"\0" * (size - len(raw))


def pack_cell(cell):
    """The packed bytes of one cell: five plain bytes when every field is set, else a mask
    byte with the high bit set followed by the fields present."""
    fields = (cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter)
    if all(v is not None for v in fields):
        return bytes(fields)
    mask = 0x80
    body = bytearray()
    for bit, value in enumerate(fields):
        if value is not None:
            if not 0 <= value <= 255:
                raise XmError(f"cell field {value} does not fit a byte")
            mask |= 1 << bit
            body.append(value)
    return bytes([mask]) + bytes(body)


def pack_pattern(pattern):
    data = bytearray()
    empty = Cell()
    for row in range(pattern.rows):
        for channel in range(pattern.channels):
            data += pack_cell(pattern.get(row, channel) or empty)
    return bytes(data)


def delta_encode(values):
    """16-bit sample values as the little-endian differences XM stores."""
    out = bytearray()
    previous = 0
    for value in values:
        if not -32768 <= value <= 32767:
            raise XmError(f"sample value {value} does not fit 16 bits")
        out += struct.pack("<h", ((value - previous + 32768) & 0xFFFF) - 32768)
        previous = value
    return bytes(out)


def _pattern_bytes(pattern):
    if not 1 <= pattern.rows <= MAX_ROWS:
        raise XmError(f"a pattern has {pattern.rows} rows; 1 to {MAX_ROWS} are allowed")
    packed = pack_pattern(pattern)
    if len(packed) > 0xFFFF:
        raise XmError("a packed pattern is larger than 65535 bytes")
    return struct.pack("<IBHH", 9, 0, pattern.rows, len(packed)) + packed


def _envelope_bytes(envelope):
    points = envelope.points if envelope else []
    if len(points) > ENVELOPE_POINTS:
        raise XmError(f"an envelope has {len(points)} points; {ENVELOPE_POINTS} are allowed")
    data = bytearray()
    for tick, value in points:
        data += struct.pack("<HH", tick, value)
    return bytes(data) + b"\0" * (4 * (ENVELOPE_POINTS - len(points)))


def _instrument_bytes(instrument):
    sample = instrument.sample
    envelope = instrument.volume_envelope
    volume_type = 0
    if envelope and envelope.points:
        volume_type = 1 | (2 if envelope.sustain is not None else 0)
    header = bytearray()
    header += struct.pack("<I", _INSTRUMENT_HEADER_SIZE)
    header += _text(instrument.name, 22)
    header += struct.pack("<BH", 0, 1)
    header += struct.pack("<I", _SAMPLE_HEADER_SIZE)
    header += bytes(96)  # every note plays sample 0
    header += _envelope_bytes(envelope)
    header += _envelope_bytes(None)  # no panning envelope
    header += struct.pack("<BB", len(envelope.points) if envelope else 0, 0)
    sustain = envelope.sustain if envelope and envelope.sustain is not None else 0
    header += struct.pack("<BBB", sustain, 0, 0)  # volume sustain, loop start, loop end
    header += struct.pack("<BBB", 0, 0, 0)  # panning sustain, loop start, loop end
    header += struct.pack("<BB", volume_type, 0)
    header += struct.pack("<BBBB", instrument.vibrato_type, instrument.vibrato_sweep,
                          instrument.vibrato_depth, instrument.vibrato_rate)
    header += struct.pack("<H", instrument.fadeout)
    header += bytes(_INSTRUMENT_HEADER_SIZE - len(header))  # reserved

    frames = len(sample.data)
    loop_type = 0
    loop_start = loop_length = 0
    if sample.loop_length > 0:
        if sample.loop_start < 0 or sample.loop_start + sample.loop_length > frames:
            raise XmError(f"instrument {instrument.name}: the loop lies outside the sample")
        loop_type = 1
        loop_start, loop_length = sample.loop_start, sample.loop_length
    sample_header = struct.pack("<III", 2 * frames, 2 * loop_start, 2 * loop_length)
    sample_header += struct.pack("<BbBBbB", sample.volume, sample.finetune, loop_type | 0x10,
                                 sample.panning, sample.relative_note, 0)
    sample_header += _text(sample.name, 22)
    return bytes(header) + sample_header + delta_encode(sample.data)


def module_bytes(module):
    if not 1 <= module.channels <= MAX_CHANNELS:
        raise XmError(f"{module.channels} channels; 1 to {MAX_CHANNELS} are allowed")
    if not 1 <= len(module.orders) <= MAX_ORDERS:
        raise XmError("the order list must hold 1 to 256 entries")
    if not 0 <= module.restart < len(module.orders):
        raise XmError("the restart position lies outside the order list")
    if any(not 0 <= p < len(module.patterns) for p in module.orders):
        raise XmError("the order list names a pattern that does not exist")
    if not 1 <= module.speed <= 31 or not 32 <= module.bpm <= 255:
        raise XmError("speed must be 1..31 and BPM 32..255")
    if any(p.channels != module.channels for p in module.patterns):
        raise XmError("every pattern must have the module's channel count")
    out = bytearray()
    out += b"Extended Module: " + _text(module.name, 20) + b"\x1a" + _text("quarrow xmsong", 20)
    out += struct.pack("<HI", 0x0104, _HEADER_SIZE)
    out += struct.pack("<HHHHHHHH", len(module.orders), module.restart, module.channels,
                       len(module.patterns), len(module.instruments), 1, module.speed,
                       module.bpm)
    out += bytes(module.orders) + bytes(MAX_ORDERS - len(module.orders))
    for pattern in module.patterns:
        out += _pattern_bytes(pattern)
    for instrument in module.instruments:
        out += _instrument_bytes(instrument)
    return bytes(out)

#!/usr/bin/env python3
"""Reads XM modules as a player would and checks them: header, order list, packed patterns,
instruments and sample data all in bounds, and the play time within limits.

    xmcheck.py MODULE... [--min-seconds S] [--max-seconds S]

The play time follows the order list from the start to its end, honouring speed and tempo
effects (Fxx), pattern breaks (Dxx) and position jumps (Bxx) that go forwards.
"""

import argparse
import struct
import sys


class ModuleError(ValueError):
    pass


def _need(data, position, count, what):
    if position < 0 or position + count > len(data):
        raise ModuleError(f"{what} runs past the end of the file (byte {position})")


def unpack_pattern(packed, rows, channels):
    """The cells of packed pattern data as (note, instrument, volume, effect, parameter) per
    row and channel, each field None when absent."""
    cells = []
    position = 0
    for _ in range(rows):
        row = []
        for _ in range(channels):
            if position >= len(packed):
                raise ModuleError("the pattern data ends before its last row")
            first = packed[position]
            if first & 0x80:
                position += 1
                fields = []
                for bit in range(5):
                    if first & (1 << bit):
                        if position >= len(packed):
                            raise ModuleError("a packed cell is cut off")
                        fields.append(packed[position])
                        position += 1
                    else:
                        fields.append(None)
            else:
                if position + 5 > len(packed):
                    raise ModuleError("a cell is cut off")
                fields = list(packed[position:position + 5])
                position += 5
            row.append(tuple(fields))
        cells.append(row)
    if position != len(packed):
        raise ModuleError(f"{len(packed) - position} bytes of pattern data are left over")
    return cells


def read_module(data):
    _need(data, 0, 80, "the header")
    if data[:17] != b"Extended Module: " or data[37] != 0x1A:
        raise ModuleError("not an Extended Module")
    version, header_size = struct.unpack_from("<HI", data, 58)
    if version != 0x0104:
        raise ModuleError(f"version {version:#06x}, expected 0x0104")
    (length, restart, channels, pattern_count, instrument_count, flags, speed,
     bpm) = struct.unpack_from("<8H", data, 64)
    if not 1 <= length <= 256 or restart >= length:
        raise ModuleError("bad song length or restart position")
    if not 1 <= channels <= 32 or pattern_count > 256 or instrument_count > 128:
        raise ModuleError("bad channel, pattern or instrument count")
    if not 1 <= speed <= 31 or not 32 <= bpm <= 255:
        raise ModuleError("bad default speed or BPM")
    _need(data, 80, 256, "the order table")
    orders = list(data[80:80 + length])
    if any(p >= pattern_count for p in orders):
        raise ModuleError("the order list names a missing pattern")
    position = 60 + header_size
    patterns = []
    for index in range(pattern_count):
        _need(data, position, 9, f"pattern {index} header")
        pattern_header, packing, rows, packed_size = struct.unpack_from("<IBHH", data, position)
        if packing != 0 or not 1 <= rows <= 256 or pattern_header < 9:
            raise ModuleError(f"pattern {index}: bad header")
        position += pattern_header
        _need(data, position, packed_size, f"pattern {index} data")
        patterns.append(unpack_pattern(data[position:position + packed_size], rows, channels))
        position += packed_size
    instruments = []
    for index in range(instrument_count):
        _need(data, position, 29, f"instrument {index + 1} header")
        size, = struct.unpack_from("<I", data, position)
        name = data[position + 4:position + 26].rstrip(b"\0").decode("ascii", "replace")
        sample_count, = struct.unpack_from("<H", data, position + 27)
        if sample_count == 0:
            position += size
            instruments.append((name, []))
            continue
        _need(data, position, 243, f"instrument {index + 1} header")
        sample_header_size, = struct.unpack_from("<I", data, position + 29)
        points = data[position + 225]
        sustain = data[position + 227]
        if points > 12 or (points and sustain >= points):
            raise ModuleError(f"instrument {name}: bad volume envelope")
        position += size
        headers = []
        for _ in range(sample_count):
            _need(data, position, 40, f"instrument {name} sample header")
            frames_bytes, loop_start, loop_length = struct.unpack_from("<III", data, position)
            sample_type = data[position + 14]
            if loop_length and loop_start + loop_length > frames_bytes:
                raise ModuleError(f"instrument {name}: the loop lies outside the sample")
            headers.append((frames_bytes, sample_type))
            position += sample_header_size
        samples = []
        for frames_bytes, sample_type in headers:
            _need(data, position, frames_bytes, f"instrument {name} sample data")
            samples.append((frames_bytes // (2 if sample_type & 0x10 else 1),
                            data[position:position + frames_bytes]))
            position += frames_bytes
        instruments.append((name, samples))
    return {"channels": channels, "speed": speed, "bpm": bpm, "orders": orders,
            "restart": restart, "patterns": patterns, "instruments": instruments,
            "linear": bool(flags & 1), "trailing": len(data) - position}


def play_seconds(module):
    """Play time from the first order to the end of the order list."""
    speed, bpm = module["speed"], module["bpm"]
    seconds = 0.0
    order, row = 0, 0
    visited = set()
    while order < len(module["orders"]):
        pattern = module["patterns"][module["orders"][order]]
        next_order, next_row = None, 0
        while row < len(pattern):
            if (order, row) in visited:
                return seconds
            visited.add((order, row))
            for _, _, _, effect, parameter in pattern[row]:
                if effect == 0x0F and parameter:
                    if parameter < 32:
                        speed = parameter
                    else:
                        bpm = parameter
                elif effect == 0x0D:
                    next_order = order + 1
                    next_row = (parameter >> 4) * 10 + (parameter & 15)
                elif effect == 0x0B and parameter is not None and parameter > order:
                    next_order, next_row = parameter, 0
            seconds += speed * 2.5 / bpm
            if next_order is not None:
                break
            row += 1
        order = order + 1 if next_order is None else next_order
        row = next_row if next_order is not None else 0
    return seconds


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("modules", nargs="+")
    parser.add_argument("--min-seconds", type=float, default=60)
    parser.add_argument("--max-seconds", type=float, default=180)
    args = parser.parse_args()
    failures = 0
    for path in args.modules:
        try:
            with open(path, "rb") as f:
                module = read_module(f.read())
            seconds = play_seconds(module)
            notes = sum(1 for p in module["patterns"] for r in p for c in r if c[0])
            if not args.min_seconds <= seconds <= args.max_seconds:
                raise ModuleError(f"plays {seconds:.1f} s, outside {args.min_seconds}.."
                                  f"{args.max_seconds} s")
            if module["trailing"]:
                raise ModuleError(f"{module['trailing']} bytes follow the last sample")
            if notes == 0 or not module["instruments"]:
                raise ModuleError("the module plays nothing")
            print(f"{path}: {module['channels']} channels, {len(module['instruments'])} "
                  f"instruments, {notes} notes, {seconds:.1f} s")
        except (OSError, ModuleError, struct.error) as error:
            print(f"{path}: {error}", file=sys.stderr)
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

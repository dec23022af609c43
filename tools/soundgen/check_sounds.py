#!/usr/bin/env python3
"""Checks the built sound effects: each named sound exists once, as a 16-bit PCM WAV or an Ogg
Vorbis file, with a length and peak level within bounds.

    check_sounds.py SOUNDS_DIR NAME... [--min-seconds S] [--max-seconds S]

It reads the files itself (RIFF chunks; Ogg pages and the Vorbis identification header), so it
checks what the game's loaders will see rather than what the renderer meant to write.
"""

import argparse
import math
import os
import struct
import sys

# Peak-normalised sounds reach at most full scale and at least this far below it.
QUIETEST_PEAK_DB = -9.0


class SoundFileError(ValueError):
    pass


def wav_info(data):
    """(channels, rate, seconds, peak 0..1) of a PCM WAV file's bytes."""
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SoundFileError("not a RIFF WAVE file")
    position = 12
    fmt = None
    while position + 8 <= len(data):
        chunk, size = data[position:position + 4], struct.unpack_from("<I", data, position + 4)[0]
        body = data[position + 8:position + 8 + size]
        if len(body) < size:
            raise SoundFileError(f"chunk {chunk!r} runs past the end of the file")
        if chunk == b"fmt ":
            if size < 16:
                raise SoundFileError("the fmt chunk is too short")
            fmt = struct.unpack_from("<HHIIHH", body)
        elif chunk == b"data":
            if fmt is None:
                raise SoundFileError("data before fmt")
            tag, channels, rate, _, align, bits = fmt
            if tag != 1 or bits != 16 or channels < 1 or align != 2 * channels:
                raise SoundFileError(f"not 16-bit PCM (tag {tag}, {bits} bits)")
            frames = size // align
            samples = struct.unpack_from(f"<{frames * channels}h", body)
            peak = max((abs(s) for s in samples), default=0) / 32768
            return channels, rate, frames / rate, peak
        position += 8 + size + (size & 1)
    raise SoundFileError("no data chunk")


def ogg_pages(data):
    position = 0
    while position < len(data):
        if data[position:position + 4] != b"OggS" or position + 27 > len(data):
            raise SoundFileError(f"no Ogg page at byte {position}")
        granule = struct.unpack_from("<q", data, position + 6)[0]
        segments = data[position + 26]
        table = data[position + 27:position + 27 + segments]
        if len(table) < segments:
            raise SoundFileError("a page's segment table is cut off")
        body_start = position + 27 + segments
        body_end = body_start + sum(table)
        if body_end > len(data):
            raise SoundFileError("a page runs past the end of the file")
        yield granule, data[body_start:body_end]
        position = body_end


def ogg_info(data):
    """(channels, rate, seconds) of an Ogg Vorbis file's bytes."""
    pages = list(ogg_pages(data))
    if not pages:
        raise SoundFileError("no Ogg pages")
    first = pages[0][1]
    if len(first) < 16 or first[:7] != b"\x01vorbis":
        raise SoundFileError("the first packet is not a Vorbis identification header")
    channels = first[11]
    rate = struct.unpack_from("<I", first, 12)[0]
    if channels < 1 or rate == 0:
        raise SoundFileError("the Vorbis header names no channels or no rate")
    return channels, rate, pages[-1][0] / rate


def check(directory, name, min_seconds, max_seconds):
    """A list of problems with one sound."""
    found = [ext for ext in ("wav", "ogg") if os.path.exists(os.path.join(directory,
                                                                         f"{name}.{ext}"))]
    if len(found) != 1:
        return [f"{name}: expected one of {name}.wav and {name}.ogg, found {len(found)}"]
    path = os.path.join(directory, f"{name}.{found[0]}")
    with open(path, "rb") as f:
        data = f.read()
    problems = []
    try:
        if found[0] == "wav":
            channels, rate, seconds, peak = wav_info(data)
            level = -99.0 if peak == 0 else 20 * math.log10(peak)
            if level < QUIETEST_PEAK_DB:
                problems.append(f"{name}: peak {level:.1f} dB, not normalised")
        else:
            channels, rate, seconds = ogg_info(data)
    except (SoundFileError, struct.error) as error:
        return [f"{path}: {error}"]
    if rate != 44100:
        problems.append(f"{name}: {rate} Hz instead of 44100")
    if not min_seconds <= seconds <= max_seconds:
        problems.append(f"{name}: {seconds:.3f} s, outside {min_seconds}..{max_seconds} s")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("directory")
    parser.add_argument("names", nargs="+")
    parser.add_argument("--min-seconds", type=float, default=0.02)
    parser.add_argument("--max-seconds", type=float, default=4.0)
    args = parser.parse_args()
    problems = []
    for name in args.names:
        problems += check(args.directory, name, args.min_seconds, args.max_seconds)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

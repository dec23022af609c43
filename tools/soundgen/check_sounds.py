#!/usr/bin/env python3
"""Checks the built sound effects: each named sound exists once, as a 16-bit PCM WAV or an Ogg
Vorbis file, with a length and peak level within bounds; with --sox it also decodes each one
and checks that it fades in, that all are evenly loud, and that the put sounds grow louder
with the combo.

    check_sounds.py SOUNDS_DIR NAME... [--min-seconds S] [--max-seconds S] [--sox PATH]

It reads the files itself (RIFF chunks; Ogg pages and the Vorbis identification header), so it
checks what the game's loaders will see rather than what the renderer meant to write.
"""

import argparse
import math
import os
import struct
import subprocess
import sys
import tempfile

import loudness
from render_sound import MAX_OFFSET, TARGET_LOUDNESS

# Peak-normalised sounds reach at most full scale and at least this far below it.
QUIETEST_PEAK_DB = -9.0
# Lossy encoding moves an Ogg effect's loudness by a few tenths of a dB.
LOUDNESS_TOLERANCE = 0.3
# A sound that fades in stays this far below its peak over its first half millisecond.
FADE_IN_SECONDS = 0.0005
FADE_IN_MAX_SHARE = 0.5
# The sounds of a growing combo, each louder than the one before.
RISING_SERIES = ("put", "put_x2", "put_x3", "put_x4")


class SoundFileError(ValueError):
    pass


def wav_info(data):
    """(channels, rate, seconds, peak 0..1) of a PCM WAV file's bytes."""
    try:
        channels, rate, samples = loudness.read_pcm16(data)
    except loudness.WavError as error:
        raise SoundFileError(str(error)) from None
    peak = max((abs(s) for s in samples), default=0) / 32768
    return channels, rate, len(samples) // channels / rate, peak


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


def decoded_samples(path, sox):
    """(rate, mono samples) of any sound file, decoded by sox into 16-bit PCM."""
    with tempfile.TemporaryDirectory(prefix="quarrow-check-") as work:
        decoded = os.path.join(work, "decoded.wav")
        subprocess.run([sox, "-R", path, "-b", "16", decoded], check=True)
        with open(decoded, "rb") as f:
            return loudness.read_wav(f.read())


def sound_path(directory, name):
    for ext in ("wav", "ogg"):
        path = os.path.join(directory, f"{name}.{ext}")
        if os.path.exists(path):
            return path
    return None


def check_levels(directory, names, sox):
    """Problems with the loudness and fade-in of the named sounds, which must all exist."""
    problems = []
    levels = {}
    for name in names:
        rate, samples = decoded_samples(sound_path(directory, name), sox)
        levels[name] = loudness.loudness_db(rate, samples)
        if abs(levels[name] - TARGET_LOUDNESS) > MAX_OFFSET + LOUDNESS_TOLERANCE:
            problems.append(f"{name}: loudness {levels[name]:.1f} dB, more than {MAX_OFFSET} dB "
                            f"from {TARGET_LOUDNESS} dB")
        peak = max((abs(s) for s in samples), default=0.0)
        opening = samples[:max(1, int(rate * FADE_IN_SECONDS))]
        if peak > 0 and max(abs(s) for s in opening) > FADE_IN_MAX_SHARE * peak:
            problems.append(f"{name}: starts at once instead of fading in")
    series = [name for name in RISING_SERIES if name in levels]
    for quieter, louder in zip(series, series[1:]):
        if levels[louder] <= levels[quieter]:
            problems.append(f"{louder}: {levels[louder]:.1f} dB, not louder than {quieter} "
                            f"({levels[quieter]:.1f} dB)")
    return problems, levels


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("directory")
    parser.add_argument("names", nargs="+")
    parser.add_argument("--min-seconds", type=float, default=0.02)
    parser.add_argument("--max-seconds", type=float, default=4.0)
    parser.add_argument("--sox", help="decode with this sox and check loudness and fade-in")
    args = parser.parse_args()
    problems = []
    for name in args.names:
        problems += check(args.directory, name, args.min_seconds, args.max_seconds)
    if args.sox and not problems:
        level_problems, levels = check_levels(args.directory, args.names, args.sox)
        problems += level_problems
        for name, level in sorted(levels.items(), key=lambda item: item[1]):
            print(f"{name:16} {level:6.1f} dB")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

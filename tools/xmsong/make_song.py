#!/usr/bin/env python3
"""Writes an XM module from a song description.

    make_song.py SONG OUT.xm [--info]

--info prints the channel count, tempo and length of the song.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from compose import compose, module_seconds  # noqa: E402
from songfile import SongError, parse_song  # noqa: E402
from synth import DRUM_KINDS, SynthError  # noqa: E402
from xmfile import XmError, module_bytes  # noqa: E402


def main():
    args = [a for a in sys.argv[1:] if a != "--info"]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    source, target = args
    try:
        with open(source, encoding="utf-8") as f:
            song = parse_song(f.read(), DRUM_KINDS)
        module = compose(song)
        data = module_bytes(module)
    except (OSError, SongError, SynthError, XmError) as error:
        print(f"make_song: {source}: {error}", file=sys.stderr)
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
    temporary = target + ".tmp"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, target)
    if "--info" in sys.argv:
        print(f"{os.path.basename(target)}: {module.channels} channels, {len(module.patterns)} "
              f"patterns, {len(module.orders)} orders, speed {module.speed} BPM {module.bpm}, "
              f"{module_seconds(module):.1f} s (loop {module_seconds(module, module.restart):.1f}"
              f" s), {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())

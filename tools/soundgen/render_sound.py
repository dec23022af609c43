#!/usr/bin/env python3
"""Renders one sound recipe with sox (and oggenc for Ogg output).

    render_sound.py RECIPE OUT_DIR [--sox PATH] [--oggenc PATH]

A recipe is a text file; "#" starts a comment. Lines:
    output wav|ogg       the file written: OUT_DIR/<recipe name>.wav or .ogg
    part EFFECTS...      one voice: sox effects applied to silence (start with synth);
                         every part is rendered mono at 44100 Hz, then all are mixed
    master EFFECTS...    effects applied to the mix (reverb, fades, ...)
    loudness DB          the sound's loudness relative to the common one, -1.5 to 1.5
                         (default 0)
Every part gets 12 dB of headroom right after its synth effect, so filters that ring above
full scale do not clip. Every sound fades in over a few milliseconds, so none starts with a
click, and is then brought to the common loudness (see loudness.py) plus its own offset, so
that effects sound evenly loud whatever their length or peak. A sound whose peak would then
pass 1 dB below full scale is refused: its attack needs softening or its offset lowering.
"""

import argparse
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

import loudness

RATE = "44100"
HEADROOM = ["gain", "-12"]
# Noise sources drift; a gentle high-pass keeps the mix centred before it is normalised.
DC_BLOCK = ["highpass", "25"]
FADE_IN = ["fade", "q", "0.004"]
# The loudness every effect is brought to, in dB of the K-weighted loudest 50 ms window.
TARGET_LOUDNESS = -12.0
MAX_OFFSET = 1.5
PEAK_CEILING = -1.0

# The sox effects a part may apply after its synth effect; the headroom goes before the first.
EFFECTS = {"bandpass", "bandreject", "bass", "chorus", "delay", "echo", "equalizer", "fade",
           "flanger", "gain", "highpass", "lowpass", "overdrive", "pad", "phaser", "pitch",
           "reverb", "sinc", "speed", "tremolo", "treble", "trim", "vol"}


class RecipeError(ValueError):
    pass


def parse_recipe(text):
    recipe = {"output": None, "parts": [], "master": [], "loudness": 0.0}
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        keyword, _, rest = line.partition(" ")
        words = shlex.split(rest)
        if keyword == "output" and words in (["wav"], ["ogg"]):
            recipe["output"] = words[0]
        elif keyword == "part" and words:
            recipe["parts"].append(words)
        elif keyword == "master" and words:
            recipe["master"].extend(words)
        elif keyword == "loudness" and len(words) == 1:
            try:
                offset = float(words[0])
            except ValueError:
                raise RecipeError(f"line {number}: loudness needs a number") from None
            if not -MAX_OFFSET <= offset <= MAX_OFFSET:
                raise RecipeError(f"line {number}: loudness must lie between "
                                  f"-{MAX_OFFSET} and {MAX_OFFSET} dB")
            recipe["loudness"] = offset
        else:
            raise RecipeError(f"line {number}: cannot read {line!r}")
    if recipe["output"] is None:
        raise RecipeError("the recipe names no output (wav or ogg)")
    if not recipe["parts"]:
        raise RecipeError("the recipe has no part")
    return recipe


def with_headroom(effects):
    """The part's effects with the headroom inserted after its synth effect."""
    for index, word in enumerate(effects):
        if index > 0 and word in EFFECTS:
            return effects[:index] + HEADROOM + effects[index:]
    return effects + HEADROOM


def loudness_gain(shaped_path, offset, sox="sox"):
    """The gain that brings a sound normalised to the peak ceiling to its loudness."""
    measured_path = shaped_path + ".16.wav"
    subprocess.run([sox, "-R", shaped_path, "-b", "16", measured_path], check=True)
    with open(measured_path, "rb") as f:
        rate, samples = loudness.read_wav(f.read())
    gain = TARGET_LOUDNESS + offset - loudness.loudness_db(rate, samples)
    if gain > 0.05:
        raise RecipeError(f"reaching its loudness would need {gain:.1f} dB above the peak "
                          "ceiling: soften the attack or lower the loudness")
    return min(gain, 0.0)


def render(recipe, out_path, sox="sox", oggenc="oggenc"):
    with tempfile.TemporaryDirectory(prefix="quarrow-sound-") as work:
        parts = []
        for index, effects in enumerate(recipe["parts"]):
            path = os.path.join(work, f"part{index}.wav")
            subprocess.run([sox, "-R", "-n", "-r", RATE, "-c", "1", "-b", "32", path] +
                           with_headroom(effects), check=True)
            parts.append(path)
        mixed = parts[0]
        if len(parts) > 1:
            mixed = os.path.join(work, "mix.wav")
            subprocess.run([sox, "-R", "-m"] + parts + ["-b", "32", mixed], check=True)
        shaped = os.path.join(work, "shaped.wav")
        subprocess.run([sox, "-R", mixed, "-b", "32", shaped] + recipe["master"] + DC_BLOCK +
                       FADE_IN + ["gain", "-n", str(PEAK_CEILING)], check=True)
        gain = loudness_gain(shaped, recipe["loudness"], sox)
        wav_path = os.path.join(work, "final.wav")
        subprocess.run([sox, "-R", shaped, "-b", "16", wav_path, "gain", f"{gain:.2f}"],
                       check=True)
        # Written beside the target and renamed, so a failed run never leaves half a file.
        temporary = out_path + ".tmp"
        if recipe["output"] == "ogg":
            subprocess.run([oggenc, "-Q", "-q", "5", "--serial", "1", "-o", temporary,
                            wav_path], check=True)
        else:
            shutil.copyfile(wav_path, temporary)
        os.replace(temporary, out_path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("recipe")
    parser.add_argument("out_dir")
    parser.add_argument("--sox", default="sox")
    parser.add_argument("--oggenc", default="oggenc")
    args = parser.parse_args()
    try:
        with open(args.recipe, encoding="utf-8") as f:
            recipe = parse_recipe(f.read())
    except (OSError, RecipeError) as error:
        print(f"render_sound: {args.recipe}: {error}", file=sys.stderr)
        return 1
    name = os.path.splitext(os.path.basename(args.recipe))[0]
    os.makedirs(args.out_dir, exist_ok=True)
    out_path = os.path.join(args.out_dir, f"{name}.{recipe['output']}")
    try:
        render(recipe, out_path, args.sox, args.oggenc)
        # The game tries .wav before .ogg, so a file left from an earlier format would win.
        other = "ogg" if recipe["output"] == "wav" else "wav"
        stale = os.path.join(args.out_dir, f"{name}.{other}")
        if os.path.exists(stale):
            os.remove(stale)
    except (OSError, subprocess.CalledProcessError, RecipeError, loudness.WavError) as error:
        print(f"render_sound: {args.recipe}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

import io
import math
import os
import shutil
import struct
import tempfile
import unittest
import wave

import loudness
from check_sounds import SoundFileError, check, check_levels, ogg_info, wav_info
from render_sound import (HEADROOM, TARGET_LOUDNESS, RecipeError, parse_recipe, render,
                          with_headroom)


def wav_bytes(samples, rate=44100, channels=1):
    buffer = io.BytesIO()
    with wave.open(buffer, "wb") as f:
        f.setnchannels(channels)
        f.setsampwidth(2)
        f.setframerate(rate)
        f.writeframes(struct.pack(f"<{len(samples)}h", *samples))
    return buffer.getvalue()


def ogg_page(granule, packets_body, header_type=0):
    segments = []
    remaining = len(packets_body)
    while remaining >= 255:
        segments.append(255)
        remaining -= 255
    segments.append(remaining)
    return (b"OggS" + bytes([0, header_type]) + struct.pack("<qIII", granule, 1, 0, 0) +
            bytes([len(segments)]) + bytes(segments) + packets_body)


def vorbis_id(channels, rate):
    return b"\x01vorbis" + struct.pack("<IBI", 0, channels, rate) + bytes(7)


class RecipeTest(unittest.TestCase):
    def test_parses_lines_and_refuses_bad_ones(self):
        recipe = parse_recipe("# a comment\noutput ogg\npart synth 0.1 sine C6 fade q 0 0.1 0.1"
                              "  # tail\npart synth 0.2 pluck E6\nmaster reverb 20\nloudness -1\n")
        self.assertEqual(recipe["output"], "ogg")
        self.assertEqual(recipe["parts"][0], ["synth", "0.1", "sine", "C6", "fade", "q", "0",
                                              "0.1", "0.1"])
        self.assertEqual(recipe["master"], ["reverb", "20"])
        self.assertEqual(recipe["loudness"], -1.0)
        for text, message in [("part synth 1\n", "no output"), ("output wav\n", "no part"),
                              ("output mp3\npart synth 1\n", "cannot read"),
                              ("output wav\npart synth 1\nloudness -2\n", "between"),
                              ("output wav\npart synth 1\nloudness x\n", "number")]:
            with self.subTest(text=text):
                with self.assertRaisesRegex(RecipeError, message):
                    parse_recipe(text)

    def test_headroom_goes_right_after_the_synth_effect(self):
        self.assertEqual(with_headroom(["synth", "0.1", "sine", "440", "fade", "q", "0"]),
                         ["synth", "0.1", "sine", "440"] + HEADROOM + ["fade", "q", "0"])
        # A cascaded synth belongs to the generator, the first real effect ends it.
        self.assertEqual(with_headroom(["synth", "1", "sine", "C4", "synth", "1", "sine", "mix",
                                        "E4", "pad", "0.1"])[-4:],
                         HEADROOM + ["pad", "0.1"])
        self.assertEqual(with_headroom(["synth", "0.5", "pluck", "C5"])[-2:], HEADROOM)


class SoundFileTest(unittest.TestCase):
    def test_wav_length_and_peak(self):
        samples = [0] * 22050 + [16384, -32768] + [0] * 22048
        channels, rate, seconds, peak = wav_info(wav_bytes(samples))
        self.assertEqual((channels, rate), (1, 44100))
        self.assertAlmostEqual(seconds, 1.0)
        self.assertAlmostEqual(peak, 1.0)
        stereo = wav_info(wav_bytes([100, -200] * 441, channels=2))
        self.assertAlmostEqual(stereo[2], 441 / 44100)
        data = wav_bytes(samples)
        for broken, message in [(data[:20], "past the end"), (data[:36], "no data chunk"),
                                (b"RIFX" + data[4:], "RIFF"), (data[:-100], "past the end")]:
            with self.subTest(message=message):
                with self.assertRaisesRegex(SoundFileError, message):
                    wav_info(broken)

    def test_ogg_length_from_the_last_granule(self):
        data = ogg_page(0, vorbis_id(1, 44100), 2) + ogg_page(0, b"x" * 300) + \
            ogg_page(66150, b"y" * 10, 4)
        channels, rate, seconds = ogg_info(data)
        self.assertEqual((channels, rate), (1, 44100))
        self.assertAlmostEqual(seconds, 1.5)
        with self.assertRaisesRegex(SoundFileError, "past the end"):
            ogg_info(data[:-5])
        with self.assertRaisesRegex(SoundFileError, "identification"):
            ogg_info(ogg_page(0, b"\x03vorbis" + bytes(20)))

    def test_check_wants_exactly_one_file_per_sound(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        loud = [round(30000 * math.sin(i / 10)) for i in range(4410)]
        with open(os.path.join(folder, "a.wav"), "wb") as f:
            f.write(wav_bytes(loud))
        with open(os.path.join(folder, "quiet.wav"), "wb") as f:
            f.write(wav_bytes([v // 10 for v in loud]))
        self.assertEqual(check(folder, "a", 0.05, 1.0), [])
        self.assertRegex(check(folder, "a", 0.2, 1.0)[0], "outside")
        self.assertRegex(check(folder, "quiet", 0.05, 1.0)[0], "not normalised")
        self.assertRegex(check(folder, "missing", 0.05, 1.0)[0], "found 0")
        shutil.copy(os.path.join(folder, "a.wav"), os.path.join(folder, "a.ogg"))
        self.assertRegex(check(folder, "a", 0.05, 1.0)[0], "found 2")


@unittest.skipUnless(shutil.which("sox") and shutil.which("oggenc"), "needs sox and oggenc")
class RenderTest(unittest.TestCase):
    def test_renders_normalised_wav_and_ogg(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        recipe = parse_recipe("output wav\npart synth 0.3 sine 440 lowpass 2000 fade q 0 0.3 "
                              "0.2\npart synth 0.2 whitenoise bandpass 3000 2q pad 0.1\n"
                              "loudness 1\n")
        target = os.path.join(folder, "tone.wav")
        render(recipe, target)
        with open(target, "rb") as f:
            channels, rate, seconds, peak = wav_info(f.read())
        self.assertEqual((channels, rate), (1, 44100))
        self.assertAlmostEqual(seconds, 0.3, places=2)
        self.assertLessEqual(20 * math.log10(peak), -0.9)
        rate, samples = loudness.read_wav(open(target, "rb").read())
        self.assertAlmostEqual(loudness.loudness_db(rate, samples), TARGET_LOUDNESS + 1, delta=0.1)
        self.assertLess(abs(samples[0]), 0.01)
        recipe["output"] = "ogg"
        render(recipe, os.path.join(folder, "tone.ogg"))
        with open(os.path.join(folder, "tone.ogg"), "rb") as f:
            self.assertAlmostEqual(ogg_info(f.read())[2], 0.3, places=2)
        self.assertFalse([n for n in os.listdir(folder) if n.endswith(".tmp")])


def tone(amplitude, seconds, fade_in=0.0, rate=44100):
    """A 1 kHz sine as 16-bit samples, optionally fading in linearly."""
    count = int(rate * seconds)
    return [int(32767 * amplitude * min(1.0, i / (rate * fade_in) if fade_in else 1.0) *
                math.sin(2 * math.pi * 1000 * i / rate)) for i in range(count)]


class LoudnessTest(unittest.TestCase):
    def test_level_follows_amplitude_and_ignores_length_beyond_the_window(self):
        def level(samples):
            return loudness.loudness_db(*loudness.read_wav(wav_bytes(samples)))
        self.assertAlmostEqual(level(tone(0.5, 0.3)) - level(tone(0.25, 0.3)), 6.02, delta=0.05)
        self.assertAlmostEqual(level(tone(0.5, 0.3)), level(tone(0.5, 1.0)), delta=0.05)
        # A tick shorter than the window counts for less than a held tone.
        self.assertLess(level(tone(0.5, 0.01)), level(tone(0.5, 0.3)) - 5)
        self.assertEqual(level([0] * 1000), -120.0)

    @unittest.skipUnless(shutil.which("sox"), "needs sox")
    def test_check_finds_abrupt_starts_uneven_levels_and_a_falling_series(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        target = 10 ** (TARGET_LOUDNESS / 20) * math.sqrt(2)
        sounds = {"put": tone(target, 0.3, 0.004), "put_x2": tone(target * 0.9, 0.3, 0.004),
                  "click": tone(target, 0.3), "bang": tone(target * 2.5, 0.3, 0.004)}
        for name, samples in sounds.items():
            with open(os.path.join(folder, f"{name}.wav"), "wb") as f:
                f.write(wav_bytes(samples))
        problems, _ = check_levels(folder, list(sounds), "sox")
        self.assertEqual(len(problems), 3, problems)
        self.assertRegex(problems[0], "^click: starts at once")
        self.assertRegex(problems[1], "^bang: loudness")
        self.assertRegex(problems[2], "^put_x2: .* not louder than put")


if __name__ == "__main__":
    unittest.main()

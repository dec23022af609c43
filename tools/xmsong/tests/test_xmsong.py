import math
import struct
import unittest

from compose import chord_tones, compose, degree_semitones, module_seconds, voice_chord
from songfile import SongError, parse_chord, parse_song
from synth import (DRUM_KINDS, MIDDLE_C, RATE, TONAL_KINDS, EnvelopeShape, make_instrument,
                   tuning)
from xmcheck import ModuleError, play_seconds, read_module, unpack_pattern
from xmfile import (NOTE_OFF, Cell, Envelope, Instrument, Module, Pattern, Sample, XmError,
                    delta_encode, module_bytes, pack_cell, pack_pattern)


def tiny_module(**changes):
    pattern = Pattern(4, 2)
    pattern.set(0, 0, Cell(49, 1, 0x50, 8, 128))
    pattern.set(2, 1, Cell(NOTE_OFF))
    sample = Sample([0, 1000, -1000, 0], loop_start=1, loop_length=2, relative_note=-5,
                    finetune=-20)
    instrument = Instrument("tone", sample, Envelope([(0, 0), (3, 64)], sustain=1), 300)
    module = Module("test", 2, 6, 125, [0, 0], 1, [pattern], [instrument])
    for key, value in changes.items():
        setattr(module, key, value)
    return module


class XmFileTest(unittest.TestCase):
    def test_header_fields_lie_at_their_offsets(self):
        data = module_bytes(tiny_module())
        self.assertEqual(data[:17], b"Extended Module: ")
        self.assertEqual(data[17:21], b"test")
        self.assertEqual(data[37], 0x1A)
        self.assertEqual(struct.unpack_from("<HI", data, 58), (0x0104, 276))
        # song length, restart, channels, patterns, instruments, flags, speed, BPM
        self.assertEqual(struct.unpack_from("<8H", data, 64), (2, 1, 2, 1, 1, 1, 6, 125))
        self.assertEqual(data[80:83], bytes([0, 0, 0]))
        # The first pattern header follows the 256-entry order table.
        self.assertEqual(struct.unpack_from("<IBH", data, 336), (9, 0, 4))

    def test_cells_pack_as_the_format_says(self):
        self.assertEqual(pack_cell(Cell()), b"\x80")
        self.assertEqual(pack_cell(Cell(49, 1, 0x50, 8, 128)), bytes([49, 1, 0x50, 8, 128]))
        self.assertEqual(pack_cell(Cell(NOTE_OFF)), bytes([0x81, 97]))
        self.assertEqual(pack_cell(Cell(volume=0x30, effect=0x0F, parameter=3)),
                         bytes([0x80 | 4 | 8 | 16, 0x30, 0x0F, 3]))
        self.assertEqual(pack_cell(Cell(note=60, parameter=0)), bytes([0x80 | 1 | 16, 60, 0]))
        with self.assertRaises(XmError):
            pack_cell(Cell(note=300))
        pattern = tiny_module().patterns[0]
        packed = pack_pattern(pattern)
        self.assertEqual(len(packed), 5 + 1 + 1 + 1 + 2 + 1 + 1 + 1)
        cells = unpack_pattern(packed, 4, 2)
        self.assertEqual(cells[0][0], (49, 1, 0x50, 8, 128))
        self.assertEqual(cells[2][1], (97, None, None, None, None))
        self.assertEqual(cells[3][1], (None,) * 5)
        with self.assertRaises(ModuleError):
            unpack_pattern(packed[:-1], 4, 2)
        with self.assertRaises(ModuleError):
            unpack_pattern(packed + b"\x80", 4, 2)

    def test_samples_are_delta_encoded_and_described_in_bytes(self):
        values = [0, 100, -100, 32767, -32768, 0]
        encoded = delta_encode(values)
        deltas = struct.unpack(f"<{len(values)}h", encoded)
        decoded, level = [], 0
        for delta in deltas:
            level = (level + delta + 32768) % 65536 - 32768
            decoded.append(level)
        self.assertEqual(decoded, values)
        self.assertEqual(deltas[:3], (0, 100, -200))
        with self.assertRaises(XmError):
            delta_encode([40000])

        data = module_bytes(tiny_module())
        module = read_module(data)
        name, samples = module["instruments"][0]
        self.assertEqual(name, "tone")
        self.assertEqual(samples[0][0], 4)  # frames, from the byte length of 16-bit data
        start = data.index(b"tone") - 4
        self.assertEqual(struct.unpack_from("<I", data, start)[0], 263)
        self.assertEqual(data[start + 225], 2)  # volume envelope points
        self.assertEqual(data[start + 233], 1 | 2)  # envelope on, with sustain
        header = start + 263
        self.assertEqual(struct.unpack_from("<III", data, header), (8, 2, 4))
        self.assertEqual(struct.unpack_from("<BbBBb", data, header + 12), (64, -20, 0x11, 128,
                                                                           -5))
        self.assertEqual(module["trailing"], 0)

    def test_bad_modules_are_refused(self):
        for changes in ({"orders": [1]}, {"restart": 2}, {"bpm": 20}, {"channels": 3},
                        {"orders": []}):
            with self.subTest(changes=changes):
                with self.assertRaises(XmError):
                    module_bytes(tiny_module(**changes))
        data = module_bytes(tiny_module())
        with self.assertRaises(ModuleError):
            read_module(data[:-3])
        with self.assertRaises(ModuleError):
            read_module(b"Extended Mud" + data[12:])

    def test_play_time_follows_speed_changes(self):
        module = tiny_module()
        pattern = module.patterns[0]
        self.assertAlmostEqual(play_seconds(read_module(module_bytes(module))), 8 * 6 * 0.02)
        pattern.set(1, 1, Cell(effect=0x0F, parameter=3))  # speed 3 from row 1 on
        pattern.set(3, 0, Cell(effect=0x0F, parameter=250))  # tempo 250 on the last row
        seconds = play_seconds(read_module(module_bytes(module)))
        self.assertAlmostEqual(seconds, 6 * 0.02 + 2 * 3 * 0.02 + 3 * 0.01 + 4 * 3 * 0.01)


class SynthTest(unittest.TestCase):
    def test_tuning_puts_middle_c_on_c4(self):
        self.assertEqual(tuning(8363, MIDDLE_C), (0, 0))
        self.assertEqual(tuning(16726, MIDDLE_C), (12, 0))
        self.assertEqual(tuning(8363, MIDDLE_C * 2), (-12, 0))
        relative, finetune = tuning(RATE, 440.0)
        self.assertAlmostEqual(relative + finetune / 128,
                               12 * math.log2(MIDDLE_C * RATE / (8363 * 440)),
                               delta=1 / 128)

    def test_instruments_loop_whole_cycles(self):
        for kind in ("pad", "bass", "organ"):
            instrument = make_instrument(kind, kind, 120)
            sample = instrument.sample
            data = sample.data
            self.assertEqual(sample.loop_start + sample.loop_length, len(data))
            # Whole cycles: the end joins the loop start without a jump.
            step = max(abs(a - b) for a, b in zip(data, data[1:]))
            self.assertLessEqual(abs(data[-1] - data[sample.loop_start]), step * 1.5)
            self.assertEqual(instrument.volume_envelope.sustain,
                             len(instrument.volume_envelope.points) - 1)
        bell = make_instrument("bell", "bell", 120)
        self.assertEqual(bell.sample.loop_length, 0)
        self.assertLess(max(abs(v) for v in bell.sample.data[-100:]), 400)
        kick = make_instrument("kick", "kick", 120)
        self.assertGreater(max(abs(v) for v in kick.sample.data), 29000)

    def test_notes_sound_from_their_first_tick_without_a_click(self):
        tick = 2.5 / 120
        onset = round(0.003 * RATE)
        for kind in TONAL_KINDS + DRUM_KINDS:
            with self.subTest(kind=kind):
                instrument = make_instrument(kind, kind, 120)
                first_point = instrument.volume_envelope.points[0]
                self.assertEqual(first_point[0], 0)
                # Full volume at once, or a swell that is heard from the first tick.
                self.assertGreaterEqual(first_point[1], EnvelopeShape.SWELL_START)
                data = instrument.sample.data
                peak = max(abs(v) for v in data)
                self.assertLess(abs(data[0]), 0.05 * peak)
                if kind != "shaker":  # the shaker's swell is its sound
                    self.assertGreater(max(abs(v) for v in data[:4 * onset]), 0.2 * peak)
        pad = EnvelopeShape(attack=0.3).build(tick)[0]
        self.assertEqual(pad.points[0], (0, EnvelopeShape.SWELL_START))
        self.assertEqual(pad.points[1], (round(0.3 / tick), 64))
        quick = EnvelopeShape(attack=0.01, decay=0.2, sustain=0.5).build(tick)[0]
        self.assertEqual(quick.points, [(0, 64), (round(0.2 / tick), 32)])

    def test_bright_voices_carry_upper_partials(self):
        def rms_frequency(kind):
            # The energy of the sample's slope against its own energy gives the mean
            # squared frequency: high when upper partials carry much of the sound.
            data = make_instrument(kind, kind, 120).sample.data[:RATE // 2]
            energy = sum(v * v for v in data)
            slope = sum((a - b) ** 2 for a, b in zip(data[1:], data))
            return RATE / (2 * math.pi) * math.sqrt(slope / energy)

        lowest = {"pad": 1000, "strings": 1200, "pluck": 1500, "harp": 1500, "reed": 1000,
                  "keys": 800}
        for kind, hertz in lowest.items():
            with self.subTest(kind=kind):
                self.assertGreater(rms_frequency(kind), hertz)
        self.assertLess(rms_frequency("bass"), 400)


SONG = """
title Test
tempo 120
instrument lead bell volume=50
instrument bass bass
instrument kick kick
track chords none
track melody lead volume=40 pan=200
track bass bass chords=chords octave=2
track kick kick
# a comment, and sharps in notes are not comments
section A
chords | C | Am G |
melody | C5 . E5:20 - | F#4 |
bass   | 1 . 5 . 8 . b7 . |
kick   | x.o.X... |
order A A
restart 1
"""


class SongTest(unittest.TestCase):
    def test_chord_degrees_and_voicing(self):
        self.assertEqual(degree_semitones(parse_chord("Am"), 3), 3)
        self.assertEqual(degree_semitones(parse_chord("A7"), 7), 10)
        self.assertEqual(degree_semitones(parse_chord("Cmaj7"), 7), 11)
        self.assertEqual(degree_semitones(parse_chord("Cm"), 10), 15)
        self.assertEqual(degree_semitones(parse_chord("Bdim"), 5), 6)
        self.assertEqual(degree_semitones(parse_chord("C"), 8), 12)
        self.assertEqual(degree_semitones(parse_chord("C"), 4, 1), 6)
        # An accidental names a scale step whatever the chord holds.
        self.assertEqual(degree_semitones(parse_chord("C"), 7, -1), 10)
        self.assertEqual(degree_semitones(parse_chord("Cmaj7"), 7, -1), 10)
        self.assertEqual(degree_semitones(parse_chord("Am"), 3, 1), 5)
        self.assertEqual(chord_tones(parse_chord("G7"), 3), [0, 4, 10])
        self.assertEqual(chord_tones(parse_chord("C"), 4), [0, 4, 7, 0])
        first = voice_chord(parse_chord("C"), 3, 55, None)
        self.assertEqual(sorted(p % 12 for p in first), [0, 4, 7])
        # Moving to F keeps the common tone and shifts the others by a step or two.
        following = voice_chord(parse_chord("F"), 3, 55, [60, 64, 67])
        self.assertEqual(following, [60, 65, 69])

    def test_song_becomes_rows_and_channels(self):
        song = parse_song(SONG, DRUM_KINDS)
        module = compose(song)
        # melody and bass take three channel sets each, kick one; rounded up to even
        self.assertEqual(module.channels, 8)
        self.assertEqual((module.bpm, module.speed), (120, 6))
        self.assertEqual(module.orders, [0, 0])
        self.assertEqual(module.restart, 1)
        pattern = module.patterns[0]
        self.assertEqual(pattern.rows, 32)

        def notes(channels):
            return {(row, channel): pattern.get(row, channel) for row in range(32)
                    for channel in channels if pattern.get(row, channel)}

        melody = notes(range(3))
        starts = {key: cell for key, cell in melody.items() if cell.note != NOTE_OFF}
        self.assertEqual(sorted(starts), [(0, 0), (8, 1), (16, 2)])
        self.assertEqual(starts[(0, 0)].note, 12 * 5 + 1)
        self.assertEqual((starts[(0, 0)].volume, starts[(0, 0)].effect,
                          starts[(0, 0)].parameter), (0x10 + 40, 8, 200))
        self.assertEqual(starts[(8, 1)].volume, 0x10 + 20)
        self.assertEqual(starts[(16, 2)].note, 12 * 4 + 6 + 1)
        # Each new note releases the one before, which rings out on its own channel; the
        # first also releases whatever the section before left ringing; "-" releases.
        releases = sorted(key for key, cell in melody.items() if cell.note == NOTE_OFF)
        self.assertEqual(releases, [(0, 1), (0, 2), (8, 0), (12, 1)])
        bass_cells = notes(range(3, 6))
        bass = [cell.note - 1 for (row, channel), cell in sorted(bass_cells.items())
                if cell.note != NOTE_OFF]
        # C: root, fifth, octave, flat seventh; then A minor for a half bar, then G.
        self.assertEqual(bass, [24, 31, 36, 34, 33, 40, 43, 41])
        bass_sets = [channel - 3 for (row, channel), cell in sorted(bass_cells.items())
                     if cell.note != NOTE_OFF]
        self.assertEqual(bass_sets, [0, 1, 2, 1, 2, 1, 2, 1])
        kick = [(row, pattern.get(row, 6).volume - 0x10) for row in range(32)
                if pattern.get(row, 6)]
        self.assertEqual(kick, [(0, 48), (4, 26), (8, 62), (16, 48), (20, 26), (24, 62)])
        self.assertAlmostEqual(module_seconds(module), 2 * 32 * 6 * 2.5 / 120)

    def test_long_sections_split_into_patterns(self):
        text = SONG.replace("chords | C | Am G |", "chords | " + "C | " * 20)
        module = compose(parse_song(text, DRUM_KINDS))
        self.assertEqual([p.rows for p in module.patterns], [256, 64])
        self.assertEqual(module.orders, [0, 1, 0, 1])
        self.assertEqual(module.restart, 2)

    def test_mistakes_are_reported(self):
        cases = [
            (SONG.replace("melody | C5 . E5:20 - | F#4 |", "melody | C5 . E5 |"), "divide"),
            (SONG.replace("order A A", "order A B"), "unknown section"),
            (SONG.replace("track kick kick", "track kick snare"), "unknown instrument"),
            (SONG.replace("F#4", "H4"), "not a note"),
            (SONG.replace("Am G", "Am Q7"), "not a chord"),
            (SONG.replace("E5:20", "E5:99"), "volume"),
            (SONG.replace("x.o.X...", "x.o.y..."), "drum token"),
            (SONG.replace("restart 1", "restart 2"), "restart"),
            (SONG.replace("tempo 120", "tempo 30"), "BPM"),
            (SONG.replace("chords | C | Am G |", "chords | . | Am G |"), "start with a chord"),
            (SONG.replace("track melody lead", "track melody lead octave=9"), "octave"),
        ]
        for text, message in cases:
            with self.subTest(message=message):
                with self.assertRaisesRegex(SongError, message):
                    compose(parse_song(text, DRUM_KINDS))


if __name__ == "__main__":
    unittest.main()

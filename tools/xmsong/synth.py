"""Instruments synthesised for the songs: tonal voices with seamless loops, decaying struck
and plucked voices, and drums. Every instrument is tuned so that note C-4 of the module sounds
middle C (261.63 Hz)."""

import math
import random

from xmfile import Envelope, Instrument, Sample

RATE = 22050
MIDDLE_C = 440.0 * 2 ** (-9 / 12)
_XM_BASE_RATE = 8363.0
PEAK = 0.9 * 32767


class SynthError(ValueError):
    pass


def tuning(rate, frequency):
    """Relative note and finetune that make a sample holding `frequency` at `rate` sound
    middle C when played at C-4."""
    semitones = 12 * math.log2(MIDDLE_C * rate / (_XM_BASE_RATE * frequency))
    relative = round(semitones)
    finetune = max(-128, min(127, round((semitones - relative) * 128)))
    return relative, finetune


def _normalise(values):
    peak = max((abs(v) for v in values), default=0.0)
    scale = PEAK / peak if peak > 0 else 0.0
    return [int(round(v * scale)) for v in values]


class EnvelopeShape:
    """Attack, decay to a sustain level and a release, in seconds, turned into XM envelope
    points and fadeout at the song's tick length. The envelope moves only once a tick, so a
    note starts at full volume unless its attack is slower than a tick; the first few
    milliseconds of attack live in the sample itself. A slow attack swells from over a third
    of full volume, so even a pad is heard from its first tick."""

    SWELL_START = 24

    def __init__(self, attack=0.0, decay=0.0, sustain=1.0, release=0.3):
        self.attack, self.decay, self.sustain, self.release = attack, decay, sustain, release

    def build(self, tick_seconds):
        ticks = lambda seconds: max(1, round(seconds / tick_seconds))  # noqa: E731
        if self.attack > tick_seconds:
            points = [(0, self.SWELL_START), (ticks(self.attack), 64)]
        else:
            points = [(0, 64)]
        if self.decay > 0 and self.sustain < 1.0:
            points.append((points[-1][0] + ticks(self.decay), round(64 * self.sustain)))
        envelope = Envelope(points, sustain=len(points) - 1)
        fadeout = min(4095, max(1, round(32768 / ticks(self.release))))
        return envelope, fadeout


def _fade_in(values, seconds=0.002):
    """A short fade-in at the head of a sample, so a note starts at once without a click."""
    count = min(len(values), max(1, round(seconds * RATE)))
    for i in range(count):
        values[i] *= (i + 1) / count
    return values


def _fade_tail(values, seconds=0.12):
    """Struck and plucked voices end in a short fade, so a cut sample never clicks."""
    count = min(len(values), round(seconds * RATE))
    for i in range(count):
        values[len(values) - count + i] *= 1 - (i + 1) / count
    return values


def _looped_additive(base, harmonics, detune_cycles, cycles):
    """A loop holding whole cycles of every partial: voices at `cycles` +/- the detune steps,
    each the sum of (harmonic number, amplitude) pairs; partials that would not fit below the
    sample's Nyquist frequency are left out. Returns samples and the true base frequency."""
    length = round(cycles * RATE / base)
    frequency = cycles * RATE / length
    voices = [cycles + d for d in detune_cycles]
    values = [0.0] * length
    for voice in voices:
        for number, amplitude in harmonics:
            if voice * number * 2 >= 0.9 * length:
                continue
            step = 2 * math.pi * voice * number / length
            phase = (voice * 7 + number * 3) % 11 / 11 * 2 * math.pi
            for i in range(length):
                values[i] += amplitude * math.sin(step * i + phase)
    return _normalise(_loudest_first(values, round(length / cycles))), frequency


def _loudest_first(values, period):
    """The loop turned to start where its detuned voices beat loudest, so a note is full from
    its first cycle rather than starting in a trough of the beat."""
    if len(values) <= period:
        return values
    energy = [v * v for v in values]
    window = sum(energy[:period])
    best, best_start = window, 0
    for start in range(1, len(values)):
        window += energy[(start + period - 1) % len(values)] - energy[start - 1]
        if window > best:
            best, best_start = window, start
    return values[best_start:] + values[:best_start]


def with_attack(loop, seconds=0.002):
    """A looped sound with its onset built in: the loop's last few milliseconds, faded in,
    lead into the loop, which then repeats from its start. Returns samples and the loop
    start."""
    count = min(len(loop), max(1, round(seconds * RATE)))
    head = [round(v * (i + 1) / count) for i, v in enumerate(loop[-count:])]
    return head + list(loop), count


def _decaying_partials(base, partials, seconds):
    """Struck voices: (frequency ratio, amplitude, decay time) partials fading away."""
    length = round(seconds * RATE)
    values = [0.0] * length
    for ratio, amplitude, decay in partials:
        step = 2 * math.pi * base * ratio / RATE
        if base * ratio >= 0.45 * RATE:
            continue
        fall = math.exp(-1.0 / (decay * RATE))
        level = amplitude
        for i in range(length):
            values[i] += level * math.sin(step * i)
            level *= fall
    return _normalise(_fade_tail(_fade_in(values)))


def _fm_keys(base, seconds, index, index_decay, tine, ratio=1.0, decay=0.9):
    """Electric keys: a carrier with a decaying modulator for the body and a short, high
    "tine" partial for the bright start of each note."""
    length = round(seconds * RATE)
    values = []
    carrier = 2 * math.pi * base / RATE
    modulator = carrier * ratio
    for i in range(length):
        t = i / RATE
        modulation = index * math.exp(-t / index_decay) * math.sin(modulator * i)
        body = math.exp(-t / decay) * math.sin(carrier * i + modulation)
        ring = tine * math.exp(-t / 0.1) * math.sin(carrier * 14 * i)
        values.append(body + ring)
    return _normalise(_fade_tail(_fade_in(values)))


def _karplus_strong(period, seconds, damping, rng, brightness):
    length = round(seconds * RATE)
    line = [rng.uniform(-1, 1) for _ in range(period)]
    # Soften the excitation for a rounder pluck.
    for _ in range(brightness):
        line = [(line[i] + line[i - 1]) / 2 for i in range(period)]
    values = []
    previous = 0.0
    for i in range(length):
        current = line[i % period]
        values.append(current)
        line[i % period] = damping * (current + previous) / 2
        previous = current
    return _normalise(_fade_tail(_fade_in(values, 0.001)))


def _noise_drum(seconds, rng, tone=None, tone_level=0.0, noise_decay=0.1, tone_decay=0.1,
                highpass=0.0, lowpass=1.0, sweep=None):
    """Noise through a one-pole filter pair, with an optional tone whose pitch may sweep from
    `tone` to `sweep`."""
    length = round(seconds * RATE)
    values = []
    low = high_prev = high_out = 0.0
    phase = 0.0
    for i in range(length):
        t = i / RATE
        noise = rng.uniform(-1, 1)
        low += lowpass * (noise - low)
        high_out = highpass * (high_out + low - high_prev) if highpass else low
        high_prev = low
        value = high_out * math.exp(-t / noise_decay)
        if tone:
            frequency = tone if sweep is None else sweep + (tone - sweep) * math.exp(-t / 0.04)
            phase += 2 * math.pi * frequency / RATE
            value += tone_level * math.sin(phase) * math.exp(-t / tone_decay)
        values.append(value)
    return _normalise(_fade_tail(_fade_in(values, 0.001), 0.03))


def _tonal(kind, rng):
    """(samples, base frequency, looped, envelope) of a tonal voice, or None."""
    c4 = MIDDLE_C
    if kind == "pad":
        # Three detuned voices beat slowly against each other; the upper partials give the
        # pad its shimmer.
        harmonics = [(n, 1.0 / n ** 1.1 + (0.035 if n >= 10 else 0.0)) for n in range(1, 25)]
        data, f = _looped_additive(c4, harmonics, (-1, 0, 1), 100)
        return data, f, True, EnvelopeShape(attack=0.35, release=0.9)
    if kind == "strings":
        harmonics = [(n, 1.0 / n ** 0.8) for n in range(1, 30)]
        data, f = _looped_additive(c4, harmonics, (-2, -1, 0, 1, 2), 160)
        return data, f, True, EnvelopeShape(attack=0.2, release=0.5)
    if kind == "organ":
        harmonics = [(1, 1.0), (2, 0.6), (3, 0.35), (4, 0.25), (6, 0.14), (8, 0.14),
                     (10, 0.1), (12, 0.12), (16, 0.12), (20, 0.08), (24, 0.08)]
        data, f = _looped_additive(c4, harmonics, (0,), 16)
        return data, f, True, EnvelopeShape(decay=0.3, sustain=0.75, release=0.12)
    if kind == "bass":
        harmonics = [(n, 1.0 / n ** 1.5) for n in range(1, 13)]
        data, f = _looped_additive(c4 / 4, harmonics, (0,), 4)
        return data, f, True, EnvelopeShape(decay=0.4, sustain=0.6, release=0.1)
    if kind == "lead":
        harmonics = [(1, 1.0), (2, 0.3)] + [(n, 0.4 / n) for n in range(3, 17)]
        data, f = _looped_additive(c4 * 2, harmonics, (0,), 16)
        return data, f, True, EnvelopeShape(decay=0.3, sustain=0.8, release=0.2)
    if kind == "reed":
        harmonics = [(n, 0.9 / n ** 0.8) for n in range(3, 30, 2)]
        data, f = _looped_additive(c4, [(1, 1.0)] + harmonics, (0,), 16)
        return data, f, True, EnvelopeShape(decay=0.2, sustain=0.85, release=0.15)
    if kind == "bell":
        f = c4 * 2
        partials = [(1, 1.0, 0.9), (2.0, 0.45, 0.5), (2.76, 0.35, 0.35), (4.07, 0.25, 0.2),
                    (5.4, 0.22, 0.2), (6.8, 0.22, 0.18), (8.93, 0.2, 0.14),
                    (11.34, 0.16, 0.1), (13.2, 0.12, 0.08), (16.7, 0.08, 0.06)]
        return _decaying_partials(f, partials, 1.8), f, False, EnvelopeShape(release=0.6)
    if kind == "marimba":
        f = c4
        partials = [(1, 1.0, 0.35), (3.93, 0.35, 0.06), (9.2, 0.3, 0.03), (16.1, 0.2, 0.015),
                    (24.5, 0.1, 0.008)]
        return _decaying_partials(f, partials, 1.0), f, False, EnvelopeShape(release=0.3)
    if kind == "keys":
        f = c4
        return _fm_keys(f, 2.0, 2.2, 0.3, 0.5), f, False, EnvelopeShape(release=0.35)
    if kind == "pluck":
        period = round(RATE / c4)
        f = RATE / (period + 0.5)  # the averaging filter delays by half a sample
        return (_karplus_strong(period, 1.6, 0.996, rng, 0), f, False,
                EnvelopeShape(release=0.3))
    if kind == "harp":
        period = round(RATE / c4)
        f = RATE / (period + 0.5)
        return (_karplus_strong(period, 2.2, 0.998, rng, 1), f, False,
                EnvelopeShape(release=0.5))
    return None


def _drum(kind, rng):
    if kind == "kick":
        return _noise_drum(0.4, rng, tone=150, tone_level=1.0, noise_decay=0.004, tone_decay=0.16,
                           lowpass=0.3, sweep=48)
    if kind == "snare":
        return _noise_drum(0.25, rng, tone=190, tone_level=0.5, noise_decay=0.07,
                           tone_decay=0.05, highpass=0.6, lowpass=0.8)
    if kind == "hat":
        return _noise_drum(0.07, rng, noise_decay=0.015, highpass=0.15, lowpass=1.0)
    if kind == "openhat":
        return _noise_drum(0.3, rng, noise_decay=0.09, highpass=0.15, lowpass=1.0)
    if kind == "shaker":
        values = _noise_drum(0.12, rng, noise_decay=0.04, highpass=0.3, lowpass=0.7)
        ramp = round(0.02 * RATE)
        return [round(v * min(1.0, i / ramp)) for i, v in enumerate(values)]
    if kind == "rim":
        return _noise_drum(0.06, rng, tone=820, tone_level=0.9, noise_decay=0.006,
                           tone_decay=0.015, highpass=0.5)
    if kind == "tom":
        return _noise_drum(0.4, rng, tone=180, tone_level=1.0, noise_decay=0.01, tone_decay=0.14,
                           lowpass=0.4, sweep=110)
    if kind == "clap":
        values = _noise_drum(0.2, rng, noise_decay=0.05, highpass=0.5, lowpass=0.6)
        burst = round(0.008 * RATE)
        return [round(v * (0.5 if (i // burst) in (1, 3) else 1.0)) for i, v in
                enumerate(values)]
    if kind == "doum":
        return _noise_drum(0.45, rng, tone=95, tone_level=1.0, noise_decay=0.008,
                           tone_decay=0.2, lowpass=0.2, sweep=80)
    if kind == "tek":
        return _noise_drum(0.1, rng, tone=1250, tone_level=0.6, noise_decay=0.012,
                           tone_decay=0.02, highpass=0.4)
    return None


TONAL_KINDS = ("pad", "strings", "organ", "bass", "lead", "reed", "bell", "marimba", "keys",
               "pluck", "harp")
DRUM_KINDS = ("kick", "snare", "hat", "openhat", "shaker", "rim", "tom", "clap", "doum", "tek")


def make_instrument(name, kind, bpm, volume=64, vibrato=0, attack=None, release=None):
    """An XM instrument of `kind`, with its envelope times turned into ticks of a song at
    `bpm`."""
    if not 0 <= volume <= 64:
        raise SynthError(f"instrument {name}: volume must be 0..64")
    rng = random.Random(f"{kind}-{name}")
    tick_seconds = 2.5 / bpm
    tonal = _tonal(kind, rng)
    if tonal is not None:
        data, frequency, looped, shape = tonal
        if attack is not None:
            shape.attack = attack
        if release is not None:
            shape.release = release
        relative, finetune = tuning(RATE, frequency)
        loop_start = loop_length = 0
        if looped:
            loop_length = len(data)
            data, loop_start = with_attack(data)
        sample = Sample(data, name=kind, volume=volume, relative_note=relative,
                        finetune=finetune, loop_start=loop_start, loop_length=loop_length)
        envelope, fadeout = shape.build(tick_seconds)
        instrument = Instrument(name, sample, envelope, fadeout)
        if vibrato:
            instrument.vibrato_type, instrument.vibrato_sweep = 0, 40
            instrument.vibrato_depth, instrument.vibrato_rate = min(15, vibrato), 10
        return instrument
    data = _drum(kind, rng)
    if data is None:
        raise SynthError(f"instrument {name}: unknown kind {kind!r}")
    # Drums play back at their own rate on C-4.
    relative, finetune = tuning(RATE, MIDDLE_C)
    sample = Sample(data, name=kind, volume=volume, relative_note=relative, finetune=finetune)
    envelope, fadeout = EnvelopeShape(release=0.1).build(tick_seconds)
    return Instrument(name, sample, envelope, fadeout)

"""Loudness of short sound effects, in the standard library only.

An effect's loudness here is the loudest 50 ms window of its K-weighted signal (the weighting
of broadcast loudness meters: a high shelf for the head's effect and a high-pass below the
bass), in dB below full scale. The window is short enough to hold a whole click and long
enough to average a chord's beating, so comparing effects this way, rather than by peak,
makes a short tick and a long chord about as loud as their numbers say.
"""

import math
import struct

WINDOW_SECONDS = 0.05
HOP_SECONDS = 0.01


class WavError(ValueError):
    pass


def read_pcm16(data):
    """(channels, rate, interleaved int samples) of a 16-bit PCM WAV file's bytes."""
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise WavError("not a RIFF WAVE file")
    position = 12
    fmt = None
    while position + 8 <= len(data):
        chunk, size = data[position:position + 4], struct.unpack_from("<I", data, position + 4)[0]
        body = data[position + 8:position + 8 + size]
        if len(body) < size:
            raise WavError(f"chunk {chunk!r} runs past the end of the file")
        if chunk == b"fmt ":
            if size < 16:
                raise WavError("the fmt chunk is too short")
            fmt = struct.unpack_from("<HHIIHH", body)
        elif chunk == b"data":
            if fmt is None:
                raise WavError("data before fmt")
            tag, channels, rate, _, align, bits = fmt
            if tag != 1 or bits != 16 or channels < 1 or align != 2 * channels:
                raise WavError(f"not 16-bit PCM (tag {tag}, {bits} bits)")
            frames = size // align
            return channels, rate, struct.unpack_from(f"<{frames * channels}h", body)
        position += 8 + size + (size & 1)
    raise WavError("no data chunk")


def read_wav(data):
    """(rate, mono float samples -1..1) of a 16-bit PCM WAV file's bytes."""
    channels, rate, raw = read_pcm16(data)
    frames = len(raw) // channels
    return rate, [sum(raw[i * channels:(i + 1) * channels]) / (channels * 32768.0)
                  for i in range(frames)]


def _biquad(samples, b, a):
    b0, b1, b2 = b
    _, a1, a2 = a
    x1 = x2 = y1 = y2 = 0.0
    out = []
    for x in samples:
        y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, x, y1, y
        out.append(y)
    return out


def _k_weighting(rate):
    """The two filter stages of K-weighting, designed for the given sample rate."""
    # High shelf: +4 dB above about 1.7 kHz.
    f0, gain_db, q = 1681.974450955533, 3.999843853973347, 0.7071752369554196
    k = math.tan(math.pi * f0 / rate)
    vh = 10 ** (gain_db / 20)
    vb = vh ** 0.4996667741545416
    a0 = 1 + k / q + k * k
    shelf = ((vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0,
             (vh - vb * k / q + k * k) / a0), (1.0, 2 * (k * k - 1) / a0,
                                               (1 - k / q + k * k) / a0)
    # High-pass at about 38 Hz.
    f0, q = 38.13547087602444, 0.5003270373238773
    k = math.tan(math.pi * f0 / rate)
    a0 = 1 + k / q + k * k
    highpass = (1.0, -2.0, 1.0), (1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0)
    return shelf, highpass


def loudness_db(rate, samples):
    """The loudest window's K-weighted mean square, in dB; -120 for silence."""
    for b, a in _k_weighting(rate):
        samples = _biquad(samples, b, a)
    window = max(1, int(rate * WINDOW_SECONDS))
    hop = max(1, int(rate * HOP_SECONDS))
    squares = [0.0]
    for s in samples:
        squares.append(squares[-1] + s * s)
    loudest = 0.0
    last_start = max(0, len(samples) - window)
    for start in list(range(0, last_start + 1, hop)) + [last_start]:
        end = min(len(samples), start + window)
        loudest = max(loudest, (squares[end] - squares[start]) / window)
    return -120.0 if loudest <= 0 else 10 * math.log10(loudest) - 0.691


def peak_db(samples):
    peak = max((abs(s) for s in samples), default=0.0)
    return -120.0 if peak <= 0 else 20 * math.log10(peak)

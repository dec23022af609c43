"""Reads the compact song descriptions.

A description is text; lines starting with "#" are comments. Header lines:
    title TEXT
    tempo BPM           beats per minute
    beat ROWS           rows per beat (default 4)
    bar BEATS           beats per bar (default 4)
    speed TICKS         ticks per row (default 6)
    instrument NAME KIND [volume=0..64] [vibrato=0..15] [attack=SECONDS] [release=SECONDS]
    track NAME INSTRUMENT|none [voices=N] [octave=N] [volume=0..64] [pan=0..255]
                               [chords=TRACK] [note=NOTE]
    order SECTION...    the sections in playing order
    restart N           the order position (0-based) the song loops back to
Sections:
    section NAME [like OTHER]     starts a section (copying OTHER's lines)
    TRACK | BAR | BAR ...         one line per track; a bar's tokens share it evenly
A track with fewer bars than its section repeats them. Tokens: a note (C4, F#3, Bb5), a chord
on a chord track (C, Am, F#m7, Bbmaj7, Gsus4, ...), a chord degree on a track that follows a
chord track (1, 3, 5, 7, 8, b7, #4 ...), "." to hold, "-" to release; a note or degree may end
in ":VOLUME". Drum tracks write one character a token: "x" a hit, "X" an accent, "o" a soft
hit, "." nothing.
"""

import re
from dataclasses import dataclass, field


class SongError(ValueError):
    pass


NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
CHORD_QUALITIES = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
    "maj7": (0, 4, 7, 11), "sus2": (0, 2, 7), "sus4": (0, 5, 7), "dim": (0, 3, 6),
    "aug": (0, 4, 8), "6": (0, 4, 7, 9), "m6": (0, 3, 7, 9), "add9": (0, 4, 7, 14),
    "7sus4": (0, 5, 7, 10), "m9": (0, 3, 7, 10, 14),
}
_NOTE = re.compile(r"^([A-G])([#b]?)(-?\d)$")
_CHORD = re.compile(r"^([A-G])([#b]?)(.*)$")
_DEGREE = re.compile(r"^([#b]?)(\d{1,2})$")


def parse_note(text):
    """A note name such as C4 or Bb3 as a semitone number (C0 = 0)."""
    match = _NOTE.match(text)
    if not match:
        raise SongError(f"{text!r} is not a note")
    letter, accidental, octave = match.groups()
    value = NOTE_NAMES[letter] + {"#": 1, "b": -1, "": 0}[accidental] + 12 * int(octave)
    if not 0 <= value <= 95:
        raise SongError(f"note {text} lies outside C0..B7")
    return value


def parse_chord(text):
    """(root pitch class, intervals) of a chord symbol."""
    match = _CHORD.match(text)
    if not match or match.group(3) not in CHORD_QUALITIES:
        raise SongError(f"{text!r} is not a chord")
    letter, accidental, quality = match.groups()
    root = (NOTE_NAMES[letter] + {"#": 1, "b": -1, "": 0}[accidental]) % 12
    return root, CHORD_QUALITIES[quality]


def is_degree(text):
    return _DEGREE.match(text) is not None


def parse_degree(text):
    """(accidental shift, degree number) of a chord degree such as 5, b7 or #4."""
    match = _DEGREE.match(text)
    if not match or not 1 <= int(match.group(2)) <= 15:
        raise SongError(f"{text!r} is not a chord degree")
    return {"#": 1, "b": -1, "": 0}[match.group(1)], int(match.group(2))


@dataclass
class InstrumentSpec:
    name: str
    kind: str
    options: dict = field(default_factory=dict)


@dataclass
class TrackSpec:
    name: str
    instrument: str  # or "none"
    voices: int = 1
    octave: int = 4
    volume: int = 48
    pan: int = 128
    chords: str = ""
    note: int = 48  # drums: C4


@dataclass
class Section:
    name: str
    lines: dict = field(default_factory=dict)  # track name -> list of bars (token lists)


@dataclass
class Song:
    title: str = ""
    tempo: int = 120
    beat: int = 4
    bar: int = 4
    speed: int = 6
    instruments: dict = field(default_factory=dict)
    tracks: list = field(default_factory=list)
    sections: dict = field(default_factory=dict)
    order: list = field(default_factory=list)
    restart: int = 0

    @property
    def rows_per_bar(self):
        return self.beat * self.bar

    def track(self, name):
        for track in self.tracks:
            if track.name == name:
                return track
        return None


def _integer(text, what, minimum, maximum, number):
    try:
        value = int(text)
    except ValueError:
        raise SongError(f"line {number}: {what} must be a number, not {text!r}") from None
    if not minimum <= value <= maximum:
        raise SongError(f"line {number}: {what} must lie between {minimum} and {maximum}")
    return value


def _options(words, number):
    options = {}
    for word in words:
        key, sep, value = word.partition("=")
        if not sep or not value:
            raise SongError(f"line {number}: expected key=value, not {word!r}")
        options[key] = value
    return options


def _bars(text, drum):
    bars = []
    for chunk in text.split("|"):
        chunk = chunk.strip()
        if not chunk:
            continue
        if drum:
            bars.append([c for c in chunk if not c.isspace()])
        else:
            bars.append(chunk.split())
    return bars


def parse_song(text, drum_kinds=()):
    song = Song()
    section = None
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        keyword, _, rest = line.partition(" ")
        words = rest.split()
        if keyword == "title":
            song.title = rest.strip()
        elif keyword in ("tempo", "beat", "bar", "speed") and len(words) == 1:
            limits = {"tempo": (30, 300), "beat": (1, 16), "bar": (1, 16), "speed": (1, 31)}
            setattr(song, keyword, _integer(words[0], keyword, *limits[keyword], number))
        elif keyword == "instrument" and len(words) >= 2:
            if words[0] in song.instruments:
                raise SongError(f"line {number}: instrument {words[0]} defined twice")
            song.instruments[words[0]] = InstrumentSpec(words[0], words[1],
                                                        _options(words[2:], number))
        elif keyword == "track" and len(words) >= 2:
            _add_track(song, words, number)
        elif keyword == "section" and words:
            if words[0] in song.sections:
                raise SongError(f"line {number}: section {words[0]} defined twice")
            section = Section(words[0])
            if len(words) == 3 and words[1] == "like":
                if words[2] not in song.sections:
                    raise SongError(f"line {number}: section {words[2]} is not defined yet")
                section.lines = {k: list(v) for k, v in song.sections[words[2]].lines.items()}
            elif len(words) != 1:
                raise SongError(f"line {number}: write 'section NAME [like OTHER]'")
            song.sections[section.name] = section
        elif keyword == "order":
            song.order = words
        elif keyword == "restart" and len(words) == 1:
            song.restart = _integer(words[0], "restart", 0, 255, number)
        elif song.track(keyword) is not None:
            if section is None:
                raise SongError(f"line {number}: track line outside a section")
            track = song.track(keyword)
            kind = song.instruments[track.instrument].kind if track.instrument != "none" else ""
            bars = _bars(rest, kind in drum_kinds)
            if not bars:
                raise SongError(f"line {number}: no bars for track {keyword}")
            section.lines[keyword] = bars
        else:
            raise SongError(f"line {number}: cannot read {line!r}")
    _validate(song)
    return song


def _add_track(song, words, number):
    name, instrument = words[0], words[1]
    if song.track(name) is not None or name in ("title", "tempo", "beat", "bar", "speed",
                                                "instrument", "track", "section", "order",
                                                "restart"):
        raise SongError(f"line {number}: track name {name} is taken")
    if instrument != "none" and instrument not in song.instruments:
        raise SongError(f"line {number}: unknown instrument {instrument}")
    track = TrackSpec(name, instrument)
    for key, value in _options(words[2:], number).items():
        if key == "voices":
            track.voices = _integer(value, "voices", 0, 6, number)
        elif key == "octave":
            track.octave = _integer(value, "octave", 0, 7, number)
        elif key == "volume":
            track.volume = _integer(value, "volume", 0, 64, number)
        elif key == "pan":
            track.pan = _integer(value, "pan", 0, 255, number)
        elif key == "chords":
            if song.track(value) is None:
                raise SongError(f"line {number}: chord track {value} is not defined yet")
            track.chords = value
        elif key == "note":
            track.note = parse_note(value)
        else:
            raise SongError(f"line {number}: unknown track option {key}")
    if instrument == "none":
        track.voices = 0
    song.tracks.append(track)


def _validate(song):
    if not song.order:
        raise SongError("the song has no order line")
    for name in song.order:
        if name not in song.sections:
            raise SongError(f"the order names an unknown section {name}")
    if song.restart >= len(song.order):
        raise SongError("restart lies beyond the order")
    bpm = song.tempo * song.beat * song.speed / 24
    if not 32 <= round(bpm) <= 255:
        raise SongError(f"tempo {song.tempo} at {song.beat} rows a beat and speed "
                        f"{song.speed} needs a module BPM of {bpm:.0f}, outside 32..255")

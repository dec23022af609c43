"""Turns a song description into an XM module: voiced chords, chord-following lines, notes and
drum hits laid out on channels and rows."""

from songfile import SongError, is_degree, parse_chord, parse_degree, parse_note
from synth import DRUM_KINDS, make_instrument
from xmfile import MAX_ROWS, NOTE_OFF, Cell, Module, Pattern

# Semitones of the major scale's degrees.
_SCALE_DEGREES = {1: 0, 2: 2, 3: 4, 4: 5, 5: 7, 6: 9, 7: 11}


def degree_semitones(chord, degree, shift=0):
    """Semitones above the chord's root of a degree. A plain third, fifth or seventh is the
    chord's own (a seventh the chord lacks is the flat one); with an accidental, and for the
    other degrees, it is the major scale's step moved by the accidental."""
    _, intervals = chord
    octave, base = divmod(degree - 1, 7)
    base += 1
    if shift == 0 and base == 3:
        value = next((i for i in intervals if i in (3, 4)), 4)
    elif shift == 0 and base == 5:
        value = next((i for i in intervals if i in (6, 7, 8)), 7)
    elif shift == 0 and base == 7:
        value = next((i for i in intervals if i in (10, 11)), 10)
    else:
        value = _SCALE_DEGREES[base] + shift
    return value + 12 * octave


def chord_tones(chord, voices):
    """The intervals a chord of `voices` voices plays: fifths are dropped first, then roots,
    when the chord has more tones than voices; roots an octave up fill missing voices."""
    _, intervals = chord
    tones = [i % 12 for i in intervals]
    while len(tones) > voices:
        for candidate in (7, 0):
            if candidate in tones and len(tones) > voices:
                tones.remove(candidate)
        if len(tones) > voices:
            tones.pop()
    while len(tones) < voices:
        tones.append(tones[len(tones) % max(1, len(tones))])
    return tones


def voice_chord(chord, voices, centre, previous):
    """Pitches of the chord's tones, one per voice in ascending order, placed close to the
    previous voicing (or around `centre` when there is none)."""
    root, _ = chord
    tones = chord_tones(chord, voices)
    best, best_cost = None, None
    for lowest in range(centre - 12, centre + 12):
        pitch_classes = sorted({(root + t) % 12 for t in tones})
        if (lowest % 12) not in pitch_classes:
            continue
        stack = []
        wanted = [(root + t) % 12 for t in tones]
        pitch = lowest
        remaining = list(wanted)
        remaining.remove(lowest % 12)
        stack.append(pitch)
        while remaining:
            pitch += 1
            if pitch % 12 in remaining:
                remaining.remove(pitch % 12)
                stack.append(pitch)
        # Small moves from the last chord, without drifting far from the centre.
        cost = abs(sum(stack) / len(stack) - centre) / 4
        if previous:
            cost += sum(abs(a - b) for a, b in zip(stack, previous))
        if best_cost is None or cost < best_cost:
            best, best_cost = stack, cost
    return best


def _row_events(song, bars, section_bars, track_name, section_name):
    """(row, token) for every token of a track line in a section."""
    rows_per_bar = song.rows_per_bar
    events = []
    for bar in range(section_bars):
        tokens = bars[bar % len(bars)]
        if rows_per_bar % len(tokens):
            raise SongError(f"section {section_name}, track {track_name}: bar {bar + 1} has "
                            f"{len(tokens)} tokens, which do not divide its {rows_per_bar} rows")
        step = rows_per_bar // len(tokens)
        events += [(bar * rows_per_bar + i * step, token) for i, token in enumerate(tokens)]
    return events


def _split_volume(token, default):
    text, sep, volume = token.partition(":")
    if not sep:
        return text, default
    if not volume.isdigit() or int(volume) > 64:
        raise SongError(f"token {token}: volume must be 0..64")
    return text, int(volume)


# Channel sets a tonal track's notes take turns on: a new note starts on a fresh set while
# the note before rings out in its release, so the sound never stops between notes.
VOICE_SETS = 3


def is_tonal(song, track):
    """Tracks whose notes ring on and take turns on channel sets; drums cut their own hits."""
    return track.instrument != "none" and \
        song.instruments[track.instrument].kind not in DRUM_KINDS


def track_channels(song, track):
    return track.voices * (VOICE_SETS if is_tonal(song, track) else 1)


class _Rotation:
    """Which channel set each note of a tonal track in a section takes. The section's first
    note takes set 0 and the rest alternate between sets 1 and 2, so neither a section's
    next note nor the next section's first note lands on a set still ringing. Each start or
    release names the sets to release."""

    def __init__(self):
        self.last = None  # no note yet in this section
        self.ringing = False

    def start(self):
        if self.last is None:
            chosen, released = 0, list(range(1, VOICE_SETS))
        else:
            chosen = 2 if self.last == 1 else 1
            released = [self.last] if self.ringing else []
        self.last, self.ringing = chosen, True
        return chosen, released

    def release(self):
        if self.last is None:
            released = list(range(VOICE_SETS))
        else:
            released = [self.last] if self.ringing else []
        self.ringing = False
        return released


class _SectionBuilder:
    def __init__(self, song, channels, instrument_numbers):
        self.song = song
        self.channels = channels  # track name -> first channel
        self.instrument_numbers = instrument_numbers
        self.chord_rows = {}  # chord track name -> chord per row (or None)

    def cell(self, track, pitch, volume):
        if not 0 <= pitch <= 95:
            raise SongError(f"track {track.name}: a note lies outside C0..B7")
        return Cell(pitch + 1, self.instrument_numbers[track.instrument], 0x10 + volume, 8,
                    track.pan)

    def chords(self, track, events, rows, section_name):
        per_row = [None] * rows
        current = None
        previous_voicing = None
        cells = []
        event_rows = dict(events)
        rotation = _Rotation()
        for row in range(rows):
            token = event_rows.get(row)
            if token is None or token == ".":
                pass
            elif token == "-":
                current = None
                cells += self.releases(track, row, rotation.release())
            else:
                text, volume = _split_volume(token, track.volume)
                current = parse_chord(text)
                if track.voices:
                    centre = 12 * track.octave + 7
                    previous_voicing = voice_chord(current, track.voices, centre,
                                                   previous_voicing)
                    chosen, released = rotation.start()
                    cells += self.releases(track, row, released)
                    cells += [(row, chosen * track.voices + v, self.cell(track, p, volume))
                              for v, p in enumerate(previous_voicing)]
            if row == 0 and current is None and token not in ("-",):
                raise SongError(f"section {section_name}: chord track {track.name} must start "
                                "with a chord")
            per_row[row] = current
        self.chord_rows[track.name] = per_row
        return cells

    @staticmethod
    def releases(track, row, sets):
        return [(row, s * track.voices + v, Cell(NOTE_OFF)) for s in sets
                for v in range(track.voices)]

    def line(self, track, events, section_name):
        kind = self.song.instruments[track.instrument].kind
        cells = []
        rotation = _Rotation()
        for row, token in events:
            if token == ".":
                continue
            if token == "-":
                if kind in DRUM_KINDS:
                    cells.append((row, 0, Cell(NOTE_OFF)))
                else:
                    cells += self.releases(track, row, rotation.release())
                continue
            if kind in DRUM_KINDS:
                volumes = {"x": track.volume, "X": min(64, round(track.volume * 1.3)),
                           "o": round(track.volume * 0.55)}
                if token not in volumes:
                    raise SongError(f"section {section_name}, track {track.name}: drum token "
                                    f"{token!r} (use x, X, o or .)")
                cells.append((row, 0, self.cell(track, track.note, volumes[token])))
                continue
            text, volume = _split_volume(token, track.volume)
            if not is_degree(text):
                pitch = parse_note(text)
            else:
                if not track.chords:
                    raise SongError(f"track {track.name}: degree {text} needs chords=TRACK")
                chord = self.chord_rows[track.chords][row]
                if chord is None:
                    raise SongError(f"section {section_name}, track {track.name}: degree "
                                    f"{text} where no chord sounds")
                shift, degree = parse_degree(text)
                pitch = 12 * track.octave + chord[0] + degree_semitones(chord, degree, shift)
            chosen, released = rotation.start()
            cells += self.releases(track, row, released)
            cells.append((row, chosen * track.voices, self.cell(track, pitch, volume)))
        return cells

    def build(self, section):
        song = self.song
        self.chord_rows = {}
        section_bars = max(len(bars) for bars in section.lines.values())
        rows = section_bars * song.rows_per_bar
        placed = {}
        for track in song.tracks:
            bars = section.lines.get(track.name)
            if bars is None:
                continue
            if track.chords and track.chords not in self.chord_rows:
                raise SongError(f"section {section.name}: track {track.name} follows "
                                f"{track.chords}, which has no line in this section")
            events = _row_events(song, bars, section_bars, track.name, section.name)
            if track.instrument == "none" or self._is_chord_track(track):
                cells = self.chords(track, events, rows, section.name)
            else:
                cells = self.line(track, events, section.name)
            for row, voice, cell in cells:
                placed[(row, self.channels[track.name] + voice)] = cell
        return rows, placed

    def _is_chord_track(self, track):
        """Chord symbols are written on tracks that others follow or that sound chords."""
        return any(other.chords == track.name for other in self.song.tracks) or \
            (track.voices > 1 and not track.chords)


def compose(song):
    bpm = round(song.tempo * song.beat * song.speed / 24)
    instrument_numbers = {}
    instruments = []
    for spec in song.instruments.values():
        options = dict(spec.options)
        kwargs = {}
        for key, value in options.items():
            try:
                kwargs[key] = float(value) if key in ("attack", "release") else int(value)
            except ValueError:
                raise SongError(f"instrument {spec.name}: {key}={value} is not a number") \
                    from None
        instruments.append(make_instrument(spec.name, spec.kind, bpm, **kwargs))
        instrument_numbers[spec.name] = len(instruments)

    channels = {}
    total = 0
    for track in song.tracks:
        channels[track.name] = total
        total += track_channels(song, track)
    channel_count = max(2, total + total % 2)

    builder = _SectionBuilder(song, channels, instrument_numbers)
    bars_per_pattern = MAX_ROWS // song.rows_per_bar
    patterns, section_patterns = [], {}
    for name in dict.fromkeys(song.order):
        rows, placed = builder.build(song.sections[name])
        indices = []
        chunk_rows = bars_per_pattern * song.rows_per_bar
        for start in range(0, rows, chunk_rows):
            pattern = Pattern(min(chunk_rows, rows - start), channel_count)
            for (row, channel), cell in placed.items():
                if start <= row < start + pattern.rows:
                    pattern.set(row - start, channel, cell)
            indices.append(len(patterns))
            patterns.append(pattern)
        section_patterns[name] = indices

    orders, restart = [], 0
    for position, name in enumerate(song.order):
        if position == song.restart:
            restart = len(orders)
        orders += section_patterns[name]
    return Module(song.title, channel_count, song.speed, bpm, orders, restart, patterns,
                  instruments)


def module_seconds(module, from_order=0):
    rows = sum(module.patterns[p].rows for p in module.orders[from_order:])
    return rows * module.speed * 2.5 / module.bpm

#!/usr/bin/env python3
"""Composes the program's four default sounds as General MIDI files.

    python3 compose.py OUT_DIR

writes bg2.mid (stage music), bg4.mid (result-window music), start3.mid (drum roll while the
candidates roll) and stop1.mid (cymbal crash and fanfare when a batch stops). Every tune is in a
Chinese pentatonic mode with festive gong-and-drum percussion. The looping pieces are written as
three identical passes so that build.sh can cut the middle pass out of the rendering: it then
starts with the reverb tail of the pass before it and joins itself without a click.

Only the Python standard library is used; nothing here is taken from existing music.
"""

import random
import struct
import sys
from pathlib import Path

TPQ = 480  # ticks per quarter note

NOTE_INDEX = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}

# General MIDI programs (0-based) standing in for Chinese instruments.
DIZI, XIAO_DI = 73, 72  # flute, piccolo
SUONA = 111  # shanai
YANGQIN = 15  # dulcimer
PIPA = 107  # koto: plucked, bright
ERHU = 40  # violin
STRINGS, PIZZ, HARP = 48, 45, 46
BASS = 33
BRASS, TRUMPET, TIMPANI = 61, 56, 47
DRUMS = 9  # the percussion channel

# General MIDI percussion keys.
BIG_DRUM, KICK, SNARE, CLAP = 35, 36, 38, 39
LOW_TOM, MID_TOM, HIGH_TOM = 41, 45, 48
CRASH, CHINESE_CYMBAL, SPLASH, CRASH2 = 49, 52, 55, 57
TAMBOURINE, HI_BLOCK, LO_BLOCK, TRIANGLE = 54, 76, 77, 81


def pitch(name):
    """'C5' -> 72, 'F#4' -> 66."""
    letter, rest = name[0], name[1:]
    shift = 0
    while rest and rest[0] in "#b":
        shift += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + NOTE_INDEX[letter] + shift


def parse(line, bars=None):
    """'E5/.5 G5/.5 r/1 ...' -> [(pitch or None, beats)]; checks that bars are full when given."""
    notes = []
    for token in line.split():
        name, beats = token.split("/")
        notes.append((None if name == "r" else pitch(name), float(beats)))
    if bars is not None:
        total = sum(b for _, b in notes)
        assert abs(total - 4 * bars) < 1e-9, f"{total} beats for {bars} bars in: {line}"
    return notes


class Song:
    def __init__(self, bpm, seed):
        self.bpm = bpm
        self.events = []  # (tick, order, channel, bytes); note-offs sort before note-ons
        self.rand = random.Random(seed)

    @staticmethod
    def ticks(beats):
        return int(round(beats * TPQ))

    def setup(self, channel, program, volume=100, pan=64, reverb=40):
        for ctl, val in ((7, volume), (10, pan), (91, reverb), (93, 0)):
            self.events.append((0, 0, channel, bytes([0xB0 | channel, ctl, val])))
        if channel != DRUMS:
            self.events.append((0, 1, channel, bytes([0xC0 | channel, program])))

    def note(self, channel, beat, beats, key, velocity, human=6):
        velocity = max(1, min(127, velocity + self.rand.randint(-human, human)))
        start, end = self.ticks(beat), self.ticks(beat + beats)
        self.events.append((start, 2, channel, bytes([0x90 | channel, key, velocity])))
        self.events.append((max(end, start + 1), 1, channel, bytes([0x80 | channel, key, 0])))

    def control(self, channel, beat, ctl, value):
        self.events.append((self.ticks(beat), 0, channel, bytes([0xB0 | channel, ctl, value])))

    def hit(self, beat, key, velocity, beats=0.25):
        self.note(DRUMS, beat, beats, key, velocity)

    def melody(self, channel, beat, notes, velocity, legato=0.92, transpose=0, accent=8):
        for key, beats in notes:
            if key is not None:
                strong = abs(beat - round(beat)) < 1e-9 and int(round(beat)) % 2 == 0
                self.note(channel, beat, beats * legato, key + transpose, velocity + (accent if strong else 0))
            beat += beats
        return beat

    def repeated(self, passes, loop_beats):
        """A new song holding this one `passes` times in a row."""
        out = Song(self.bpm, 0)
        for n in range(passes):
            shift = self.ticks(loop_beats * n)
            for tick, order, channel, data in self.events:
                if n > 0 and tick == 0 and data[0] & 0xF0 in (0xB0, 0xC0):
                    continue  # set-up events only once
                out.events.append((tick + shift, order, channel, data))
        return out

    def write(self, path, end_beat):
        tempo = int(round(60_000_000 / self.bpm))
        track = bytearray()
        track += b"\x00\xff\x51\x03" + tempo.to_bytes(3, "big")
        now = 0
        events = sorted(self.events, key=lambda e: (e[0], e[1], e[2]))
        # A silent controller event at the end keeps the player (and the reverb tail) going.
        events.append((self.ticks(end_beat), 0, 0, bytes([0xB0, 91, 40])))
        for tick, _, _, data in events:
            track += vlq(tick - now) + data
            now = tick
        track += b"\x00\xff\x2f\x00"
        header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, TPQ)
        Path(path).write_bytes(header + b"MTrk" + struct.pack(">I", len(track)) + bytes(track))


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    return bytes(reversed(out))


def chord_tones(name):
    """'C' -> C major, 'Am' -> A minor; returned as pitch classes root first."""
    minor = name.endswith("m")
    root = NOTE_INDEX[name[0]] + (1 if "#" in name else 0)
    return [root, (root + (3 if minor else 4)) % 12, (root + 7) % 12]


def accompany(song, start_bar, chords, arp=None, pad=None, bass=None, arp_velocity=52, pad_velocity=46,
              bass_velocity=84, bass_style="festive"):
    """Harmony under a melody: one chord name per bar ('F G' splits a bar in halves)."""
    for i, bar_chords in enumerate(chords):
        names = bar_chords.split()
        length = 4 / len(names)
        for j, name in enumerate(names):
            beat = 4 * (start_bar + i) + j * length
            tones = chord_tones(name)
            root = tones[0]
            if pad is not None:
                for pc in tones:
                    key = 60 + pc if pc >= 5 else 72 + pc  # keeps the pad between F4 and E5
                    song.note(pad, beat, length * 0.98, key - 12, pad_velocity, human=3)
            if arp is not None:
                keys = [60 + root, 60 + tones[1] + (12 if tones[1] < root else 0), 60 + tones[2] + (12 if tones[2] < root else 0)]
                keys = keys + [keys[0] + 12]
                pattern = [0, 1, 2, 3, 2, 1, 2, 3]
                for k in range(int(length * 2)):
                    song.note(arp, beat + 0.5 * k, 0.45, keys[pattern[k % 8]], arp_velocity - (0 if k % 2 == 0 else 10))
            if bass is not None:
                low = 36 + root if root >= 4 else 48 + root
                fifth = low + 7
                if bass_style == "festive":
                    steps = [(0, low, 1.0), (1.5, fifth, 0.5), (2, low + 12, 0.5), (2.5, low, 0.5), (3, fifth, 1.0)]
                else:
                    steps = [(0, low, 0.9), (1, fifth, 0.9), (2, low + 12, 0.9), (3, fifth, 0.9)]
                for offset, key, beats in steps:
                    if offset < length:
                        song.note(bass, beat + offset, min(beats, length - offset) * 0.9, key,
                                  bass_velocity + (8 if offset == 0 else 0))


def gong_drums(song, start_bar, bars, intensity, fill_last=False):
    """The gong-and-drum band: big drum, wood blocks, 'cha' cymbals on the off-beats."""
    for b in range(bars):
        base = 4 * (start_bar + b)
        if fill_last and b == bars - 1:
            # A rising tom fill that leads back into the top of the tune.
            for k, key in enumerate([LOW_TOM, LOW_TOM, MID_TOM, MID_TOM, HIGH_TOM, HIGH_TOM, MID_TOM, HIGH_TOM]):
                song.hit(base + 0.5 * k, key, 78 + 4 * k)
            song.hit(base, BIG_DRUM, 100)
            song.hit(base + 2, BIG_DRUM, 96)
            for k in range(8, 16):
                song.hit(base + 0.25 * k, SNARE, 60 + 4 * (k - 8))
            continue
        song.hit(base, BIG_DRUM, 96)
        song.hit(base + 1.5, BIG_DRUM, 78)
        song.hit(base + 2, BIG_DRUM, 90)
        if intensity >= 2:
            song.hit(base + 3.5, BIG_DRUM, 74)
        for k in range(8):
            song.hit(base + 0.5 * k, HI_BLOCK if k % 2 == 0 else LO_BLOCK, 62 if k % 2 == 0 else 48)
        if intensity >= 1:
            song.hit(base + 1, CHINESE_CYMBAL, 58 + 8 * intensity)
            song.hit(base + 3, CHINESE_CYMBAL, 58 + 8 * intensity)
            for k in range(8):
                song.hit(base + 0.5 * k + 0.25, TAMBOURINE, 36 + 6 * intensity)
        if intensity >= 2 and b % 4 == 0:
            song.hit(base, CRASH, 84)


# ---------------------------------------------------------------------------------------------
# bg2: the stage music. C gong mode, 120 bpm, 32 bars = 64 s per loop.

BG2_A = [
    "E5/.5 G5/.5 A5/1 G5/.5 E5/.5 D5/1",
    "C5/.5 D5/.5 E5/.5 G5/.5 E5/2",
    "A5/.5 C6/.5 A5/.5 G5/.5 E5/1 G5/1",
    "D5/.5 E5/.5 D5/.5 C5/.5 D5/2",
    "E5/.5 G5/.5 A5/1 C6/.5 A5/.5 G5/1",
    "E5/.5 G5/.5 D5/.5 E5/.5 A4/2",
    "A4/.5 C5/.5 D5/.5 E5/.5 G5/.5 E5/.5 D5/.5 E5/.5",
    "C5/3 r/1",
]
BG2_A_CHORDS = ["C", "C", "Am", "G", "C", "Am", "F G", "C"]
BG2_B = [
    "C6/1 A5/.5 C6/.5 D6/1 C6/1",
    "A5/.5 G5/.5 A5/.5 C6/.5 G5/2",
    "E5/.5 G5/.5 A5/.5 G5/.5 E5/.5 D5/.5 C5/1",
    "D5/.5 E5/.5 G5/.5 A5/.5 G5/2",
    "C6/1 D6/.5 C6/.5 A5/1 G5/1",
    "A5/.5 C6/.5 G5/.5 E5/.5 D5/2",
    "E5/.5 G5/.5 D5/.5 E5/.5 C5/.5 D5/.5 A4/1",
]
BG2_B_TURN = "G4/.5 A4/.5 C5/.5 D5/.5 G5/2"  # half close on the fifth: the A phrase follows
BG2_B_CLOSE = "C5/1 E5/.5 D5/.5 C5/2"  # full close before the loop starts again
BG2_B_CHORDS = ["F", "C", "Am", "G", "F", "C", "Dm G", "G"]
BG2_B_CLOSE_CHORDS = ["F", "C", "Am", "G", "F", "C", "Dm G", "C"]


def bg2():
    song = Song(120, seed=2)
    song.setup(0, DIZI, volume=104, pan=58, reverb=56)
    song.setup(1, YANGQIN, volume=76, pan=84, reverb=48)
    song.setup(2, STRINGS, volume=70, pan=44, reverb=64)
    song.setup(3, BASS, volume=92, pan=64, reverb=20)
    song.setup(4, PIPA, volume=78, pan=88, reverb=40)
    song.setup(5, SUONA, volume=88, pan=64, reverb=52)
    song.setup(6, ERHU, volume=78, pan=36, reverb=60)
    song.setup(DRUMS, 0, volume=96, pan=64, reverb=36)

    a = parse(" ".join(BG2_A), 8)
    b_turn = parse(" ".join(BG2_B + [BG2_B_TURN]), 8)
    b_close = parse(" ".join(BG2_B + [BG2_B_CLOSE]), 8)

    # 1-8: the dizi alone over yangqin and strings.
    song.melody(0, 0, a, 88)
    accompany(song, 0, BG2_A_CHORDS, arp=1, pad=2, bass=3)
    gong_drums(song, 0, 8, intensity=0)
    # 9-16: the pipa joins an octave below.
    song.melody(0, 32, b_turn, 90)
    song.melody(4, 32, b_turn, 70, legato=0.6, transpose=-12)
    accompany(song, 8, BG2_B_CHORDS, arp=1, pad=2, bass=3)
    gong_drums(song, 8, 8, intensity=1)
    # 17-24: the suona takes the tune, the dizi an octave above, cymbals on the off-beats.
    song.melody(5, 64, a, 84, transpose=-12)
    song.melody(0, 64, a, 72, legato=0.7)
    accompany(song, 16, BG2_A_CHORDS, arp=1, pad=2, bass=3, arp_velocity=58)
    gong_drums(song, 16, 8, intensity=2)
    # 25-32: suona and erhu together, then a drum fill back to the top.
    song.melody(5, 96, b_close, 86, transpose=-12)
    song.melody(6, 96, b_close, 70, transpose=-12)
    song.melody(4, 96, b_close, 62, legato=0.5)
    accompany(song, 24, BG2_B_CLOSE_CHORDS, arp=1, pad=2, bass=3, arp_velocity=58)
    gong_drums(song, 24, 8, intensity=2, fill_last=True)
    return song, 128


# ---------------------------------------------------------------------------------------------
# bg4: the result-window music. G gong mode, 125 bpm, 36 bars = 69.12 s per loop.

BG4_C = [
    "D5/.5 E5/.5 G5/.5 A5/.5 B5/1 A5/.5 G5/.5",
    "E5/.5 G5/.5 D5/1 D5/.5 E5/.5 D5/.5 B4/.5",
    "A4/.5 B4/.5 D5/.5 E5/.5 G5/.5 E5/.5 D5/.5 E5/.5",
    "B4/.5 A4/.5 G4/1.5 r/.5 D5/.5 E5/.5",
    "G5/1 G5/.5 A5/.5 B5/.5 A5/.5 G5/.5 E5/.5",
    "D5/.5 E5/.5 G5/.5 E5/.5 D5/1 B4/1",
    "A4/.5 B4/.5 D5/.5 B4/.5 A4/.5 G4/.5 E4/.5 G4/.5",
    "A4/.5 D5/.5 B4/.5 A4/.5 G4/2",
]
BG4_C_CHORDS = ["G", "Em", "C D", "G", "G", "C G", "Am D", "G"]
BG4_D = [
    "B5/1 D6/1 B5/.5 A5/.5 G5/1",
    "A5/.5 B5/.5 A5/.5 G5/.5 E5/2",
    "G5/.5 E5/.5 D5/.5 E5/.5 G5/.5 A5/.5 B5/1",
    "A5/.5 G5/.5 E5/.5 D5/.5 E5/2",
    "D5/.5 E5/.5 G5/.5 A5/.5 B5/.5 D6/.5 B5/1",
    "A5/.5 B5/.5 G5/.5 E5/.5 D5/2",
    "E5/.5 D5/.5 B4/.5 D5/.5 E5/.5 G5/.5 A5/.5 B5/.5",
    "A5/1 D5/1 G5/2",
]
BG4_D_CHORDS = ["G", "Em", "C", "Am D", "G Em", "C D", "Em D", "G"]


def bg4_intro(song, bars):
    """Dong-dong-qiang: big drum, drum, cymbal crash, with brass stabs on the crashes."""
    for b in range(bars):
        base = 4 * b
        song.hit(base, BIG_DRUM, 100)
        song.hit(base + 0.5, BIG_DRUM, 84)
        song.hit(base + 1, CHINESE_CYMBAL, 96)
        song.hit(base + 1, CRASH2 if b % 2 else CRASH, 80)
        song.hit(base + 2, BIG_DRUM, 96)
        song.hit(base + 2.5, BIG_DRUM, 80)
        song.hit(base + 3, CHINESE_CYMBAL, 96)
        for k in range(16):
            song.hit(base + 0.25 * k, HI_BLOCK if k % 4 == 0 else LO_BLOCK, 66 if k % 4 == 0 else 42)
        for key in (pitch("G3"), pitch("D4"), pitch("G4"), pitch("B4")):
            song.note(3, base + 1, 0.4, key, 92)
            song.note(3, base + 3, 0.4, key, 92 if b < bars - 1 else 100)
        if b == bars - 1:
            for k, key in enumerate([LOW_TOM, MID_TOM, HIGH_TOM, HIGH_TOM]):
                song.hit(base + 3 + 0.25 * k, key, 86 + 6 * k)


def bg4_drums(song, start_bar, bars, busy):
    for b in range(bars):
        base = 4 * (start_bar + b)
        for offset, velocity in ((0, 100), (0.75, 72), (1.5, 84), (2, 96), (2.75, 70), (3.5, 82)):
            song.hit(base + offset, BIG_DRUM, velocity)
        for k in range(4):
            song.hit(base + k + 0.5, CHINESE_CYMBAL, 62 + (10 if busy else 0))
        for k in range(16 if busy else 8):
            step = 0.25 if busy else 0.5
            song.hit(base + step * k, HI_BLOCK if k % 2 == 0 else LO_BLOCK, 60 if k % 2 == 0 else 44)
        song.hit(base + 1, CLAP, 58)
        song.hit(base + 3, CLAP, 58)
        if b % 4 == 0:
            song.hit(base, CRASH, 82)


def bg4():
    song = Song(125, seed=4)
    song.setup(0, XIAO_DI, volume=90, pan=70, reverb=50)
    song.setup(1, PIZZ, volume=80, pan=88, reverb=40)
    song.setup(2, STRINGS, volume=68, pan=40, reverb=64)
    song.setup(3, BRASS, volume=86, pan=56, reverb=48)
    song.setup(4, PIPA, volume=84, pan=96, reverb=40)
    song.setup(5, SUONA, volume=90, pan=64, reverb=50)
    song.setup(6, BASS, volume=94, pan=64, reverb=16)
    song.setup(7, TRUMPET, volume=82, pan=72, reverb=50)
    song.setup(DRUMS, 0, volume=98, pan=64, reverb=34)

    c = parse(" ".join(BG4_C), 8)
    d = parse(" ".join(BG4_D), 8)
    bg4_intro(song, 4)
    # 5-12: pipa and xiaodi, bright and plucked.
    song.melody(4, 16, c, 86, legato=0.55)
    song.melody(0, 16, c, 70, transpose=12, legato=0.8)
    accompany(song, 4, BG4_C_CHORDS, arp=1, pad=2, bass=6, bass_style="walking", arp_velocity=56)
    bg4_drums(song, 4, 8, busy=False)
    # 13-20: the trumpet sings the answer, the pipa doubles.
    song.melody(7, 48, d, 84, transpose=-12)
    song.melody(4, 48, d, 66, legato=0.5)
    accompany(song, 12, BG4_D_CHORDS, arp=1, pad=2, bass=6, arp_velocity=56)
    bg4_drums(song, 12, 8, busy=True)
    # 21-28: the suona with brass chords.
    song.melody(5, 80, c, 90, transpose=-12)
    accompany(song, 20, BG4_C_CHORDS, arp=1, pad=3, bass=6, pad_velocity=54, arp_velocity=60)
    bg4_drums(song, 20, 8, busy=True)
    # 29-36: everyone on the answer.
    song.melody(5, 112, d, 88, transpose=-12)
    song.melody(0, 112, d, 64, legato=0.8)
    song.melody(4, 112, d, 60, legato=0.5, transpose=-12)
    accompany(song, 28, BG4_D_CHORDS, arp=1, pad=2, bass=6, pad_velocity=52, arp_velocity=60)
    bg4_drums(song, 28, 8, busy=True)
    return song, 144


# ---------------------------------------------------------------------------------------------
# start3: a drum roll that keeps the hall waiting. 120 bpm, 3 bars = 6 s per loop.

def start3():
    song = Song(120, seed=3)
    song.setup(1, TIMPANI, volume=100, pan=64, reverb=40)
    song.setup(DRUMS, 0, volume=110, pan=64, reverb=30)
    beats = 12
    steps = beats * 8  # 32nd notes
    for k in range(steps):
        beat = k / 8
        swell = 10 * (1 - abs((k % 32) - 16) / 16)  # a breath every bar
        song.hit(beat, SNARE, int(58 + swell + (12 if k % 8 == 0 else 0)), beats=0.12)
        if k % 2 == 0:
            song.note(1, beat, 0.2, pitch("G2"), int(54 + swell), human=4)
    for b in range(beats):
        song.hit(b, BIG_DRUM, 96 if b % 4 == 0 else 80)
        if b % 2 == 1:
            song.hit(b + 0.5, LOW_TOM, 70)
        song.hit(b + 0.5, LO_BLOCK, 40)
    for b in (0, 4, 8):
        song.hit(b, SPLASH, 46)
    return song, beats


# ---------------------------------------------------------------------------------------------
# stop1: the batch is drawn. A cymbal crash with the big drum, a brass chord and a harp run.

def stop1():
    song = Song(120, seed=1)
    song.setup(0, BRASS, volume=108, pan=60, reverb=70)
    song.setup(1, TRUMPET, volume=100, pan=70, reverb=70)
    song.setup(2, HARP, volume=96, pan=84, reverb=80)
    song.setup(3, TIMPANI, volume=104, pan=64, reverb=60)
    song.setup(DRUMS, 0, volume=118, pan=64, reverb=64)
    song.hit(0, CRASH, 118, beats=4)
    song.hit(0, CHINESE_CYMBAL, 110, beats=4)
    song.hit(0, SPLASH, 100, beats=4)
    song.hit(0, BIG_DRUM, 124, beats=2)
    song.hit(0, KICK, 116, beats=2)
    song.note(3, 0, 2, pitch("C2"), 120)
    for key in ("C3", "G3", "C4", "E4", "G4"):
        song.note(0, 0, 4, pitch(key), 104)
    # trumpets: a quick rising flourish landing on the chord
    for i, key in enumerate(["G4", "C5", "E5"]):
        song.note(1, 0.125 * i, 0.125, pitch(key), 96 + 8 * i)
    song.note(1, 0.375, 3.6, pitch("G5"), 116)
    song.note(1, 0.375, 3.6, pitch("C6"), 104)
    # the chord dies away instead of stopping: expression falls over the second second
    for step in range(17):
        for channel in (0, 1):
            song.control(channel, 2 + step / 8, 11, 127 - int(step * 127 / 16))
    run = ["C4", "D4", "E4", "G4", "A4", "C5", "D5", "E5", "G5", "A5", "C6", "D6", "E6", "G6", "A6", "C7"]
    for i, key in enumerate(run):
        song.note(2, 0.0625 * i, 1.6, pitch(key), 70 + 2 * i)
    return song, None


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    out.mkdir(parents=True, exist_ok=True)
    for name, make in (("bg2", bg2), ("bg4", bg4), ("start3", start3)):
        song, loop_beats = make()
        # three passes; build.sh keeps the middle one
        song.repeated(3, loop_beats).write(out / f"{name}.mid", 3 * loop_beats + 8)
        (out / f"{name}.loop").write_text(f"{song.bpm} {loop_beats}\n")
    song, _ = stop1()
    song.write(out / "stop1.mid", 8)


if __name__ == "__main__":
    main()

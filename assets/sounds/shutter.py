#!/usr/bin/env python3
"""Writes the camera's shutter sound, shutter.wav, from nothing but arithmetic.

    python3 shutter.py

A mechanical shutter is two clicks: the blades opening (a bright snap) and, about 90 ms later, closing
(a softer, lower one), each a burst of filtered noise over a short body thump, dying away fast. The
file is 16-bit stereo PCM at 11,025 Hz, 2,500 frames (10,000 bytes of samples, about 0.23 s), the same in both channels: a
click of independent noise per channel loses most of its level wherever the output is mixed down to
mono. The noise is seeded, so the file never changes.
"""

import math
import random
import struct
import wave
from pathlib import Path

RATE = 11025
FRAMES = 2500
HERE = Path(__file__).resolve().parent


def click(t, start, bright, level):
    """One blade movement: noise through a one-pole filter plus a decaying 180-420 Hz thump."""
    if t < start:
        return 0.0
    d = t - start
    env = math.exp(-d / (0.006 if bright else 0.009))
    body = math.sin(2 * math.pi * (420 if bright else 180) * d) * math.exp(-d / 0.02)
    return level * (env * click.noise() + 0.35 * body)


def main():
    rng = random.Random(20261209)
    state = [0.0]

    def noise():
        # Bright click: little low-pass; the filter state carries over, which softens the second click.
        state[0] = 0.55 * state[0] + 0.45 * rng.uniform(-1.0, 1.0)
        return state[0]

    click.noise = noise
    samples = []
    for n in range(FRAMES):
        t = n / RATE
        a = click(t, 0.004, True, 0.85) + click(t, 0.094, False, 0.55)
        # A soft fade over the last 20 ms so the end never clicks by itself.
        tail = min(1.0, (FRAMES - 1 - n) / (0.02 * RATE))
        samples.append(max(-1.0, min(1.0, a * tail)))
    data = b"".join(struct.pack("<hh", int(v * 32000), int(v * 32000)) for v in samples)
    with wave.open(str(HERE / "shutter.wav"), "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


if __name__ == "__main__":
    main()

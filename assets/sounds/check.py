#!/usr/bin/env python3
"""Measures the rendered sounds: length, level, and the join of each loop.

    python3 check.py            (run after build.sh; needs lame to decode the MP3s)

For a loop the step from its last sample to its first must look like any other step of the
music: the report gives that step beside the 99.9th percentile of all steps. A click would be a
step far above it. It also reports the longest near-silent stretch (a gap in the loop).
"""

import array
import subprocess
import sys
import tempfile
import wave
from pathlib import Path

HERE = Path(__file__).resolve().parent


def read(path):
    with wave.open(str(path), "rb") as w:
        ch, rate = w.getnchannels(), w.getframerate()
        data = array.array("h", w.readframes(w.getnframes()))
    return [data[c::ch] for c in range(ch)], rate


def decode(mp3, tmp):
    out = Path(tmp) / (mp3.stem + ".wav")
    subprocess.run(["lame", "--quiet", "--decode", str(mp3), str(out)], check=True)
    return out


def longest_quiet(x, rate, threshold=200, window=441):
    longest = run = 0
    for i in range(0, len(x) - window, window):
        if max(abs(v) for v in x[i : i + window]) < threshold:
            run += 1
            longest = max(longest, run)
        else:
            run = 0
    return longest * window / rate


def main():
    ok = True
    with tempfile.TemporaryDirectory() as tmp:
        for name, loop in (("bg2.mp3", True), ("bg4.mp3", True), ("start3.mp3", True), ("stop1.wav", False)):
            path = HERE / name
            chans, rate = read(decode(path, tmp) if path.suffix == ".mp3" else path)
            left = chans[0]
            peak = max(max(abs(v) for v in c) for c in chans) / 32768
            rms = (sum(v * v for v in left) / len(left)) ** 0.5 / 32768
            line = f"{name:11s} {len(left) / rate:6.2f} s  peak {peak:.3f}  rms {rms:.3f}"
            if rms < 0.02:
                ok = False
                line += "  TOO QUIET"
            if loop:
                worst = 0.0
                for c in chans:
                    steps = sorted(abs(c[i + 1] - c[i]) for i in range(len(c) - 1))
                    typical = steps[int(len(steps) * 0.999)]
                    join = abs(c[0] - c[-1])
                    worst = max(worst, join / max(typical, 1))
                gap = longest_quiet(left, rate)
                line += f"  join/p99.9 step {worst:.2f}  longest quiet {gap * 1000:.0f} ms"
                if worst > 1.0 or gap > 0.05:
                    ok = False
                    line += "  CLICK OR GAP"
            print(line)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()

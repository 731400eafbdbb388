#!/usr/bin/env python3
"""Cuts a seamless loop out of a rendering of three identical passes.

    python3 loop.py IN.wav BPM LOOP_BEATS OUT.wav

The middle pass already begins with the reverb tail of the pass before it, exactly as when the
loop plays again. Its first 40 ms are cross-faded with the start of the third pass, which is what
really follows the last sample of the middle pass, so the join is continuous to the sample even
where the synthesizer placed an event a few samples differently in the two passes.
"""

import array
import sys
import wave

FADE = 1764  # 40 ms at 44.1 kHz


def main():
    src, bpm, beats, dst = sys.argv[1], float(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
    with wave.open(src, "rb") as w:
        channels, width, rate = w.getnchannels(), w.getsampwidth(), w.getframerate()
        assert width == 2, "16-bit input expected"
        data = array.array("h", w.readframes(w.getnframes()))
    frames = round(beats * 60 / bpm * rate)
    need = (2 * frames + FADE) * channels
    assert len(data) >= need, f"rendering too short: {len(data) // channels} frames, need {need // channels}"
    out = array.array("h", data[frames * channels : 2 * frames * channels])
    for i in range(FADE):
        w_new = (i + 0.5) / FADE  # weight of the middle pass
        for c in range(channels):
            a = data[(frames + i) * channels + c]
            b = data[(2 * frames + i) * channels + c]
            out[i * channels + c] = int(round(w_new * a + (1 - w_new) * b))
    with wave.open(dst, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(out.tobytes())


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes samples/tuning-fork-440.wav: three seconds of a struck 440 Hz tuning fork, 16-bit mono
44100 Hz. A fork rings at its fundamental with a short-lived high "clang" partial (about 6.25
times the fundamental) at the strike, and decays slowly; that is what this synthesises."""
import math
import os
import struct
import wave

RATE = 44100
SECONDS = 3.0
FUNDAMENTAL = 440.0


def sample(i):
    t = i / RATE
    attack = min(1.0, t / 0.004)                     # 4 ms strike
    body = math.exp(-t / 1.6) * math.sin(2 * math.pi * FUNDAMENTAL * t)
    clang = 0.35 * math.exp(-t / 0.05) * math.sin(2 * math.pi * FUNDAMENTAL * 6.25 * t)
    return int(round(20000 * attack * (body + clang)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "samples", "tuning-fork-440.wav")
    frames = b"".join(struct.pack("<h", max(-32768, min(32767, sample(i))))
                      for i in range(int(RATE * SECONDS)))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the default found sound: a short rising two-tone chime, 16-bit PCM mono at 22050 Hz.

Usage: scripts/make-found-sound.py [OUTPUT]   (default: quillmark/ui/resources/found.wav)

Each tone is a sine with a quiet octave and a faint twelfth for a bell-like colour, a 4 ms attack
and an exponential decay; the second tone starts a little after the first, a fifth higher. The sum
is scaled to a fixed peak and faded out over the last 20 ms so the file ends in silence. The output
depends on nothing but this script, so rerunning it gives the same bytes.
"""

import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
LENGTH = 0.34  # seconds
PEAK = 0.45  # of full scale
FADE_OUT = 0.020
ATTACK = 0.004

# (start in seconds, frequency in Hz, loudness, decay time constant in seconds)
TONES = [
    (0.000, 880.00, 1.00, 0.070),
    (0.085, 1318.51, 0.85, 0.090),
]
PARTIALS = [(1.0, 1.00), (2.0, 0.25), (3.0, 0.08)]  # (frequency multiple, loudness)


def tone_sample(t, frequency, loudness, decay):
    if t < 0:
        return 0.0
    envelope = min(1.0, t / ATTACK) * math.exp(-t / decay)
    wave_value = sum(level * math.sin(2 * math.pi * frequency * multiple * t) for multiple, level in PARTIALS)
    return loudness * envelope * wave_value


def chime():
    count = int(RATE * LENGTH)
    samples = []
    for index in range(count):
        t = index / RATE
        samples.append(sum(tone_sample(t - start, *rest) for start, *rest in TONES))
    fade_count = int(RATE * FADE_OUT)
    for index in range(fade_count):
        samples[count - fade_count + index] *= 1.0 - (index + 1) / fade_count
    scale = PEAK / max(abs(value) for value in samples)
    return [round(value * scale * 32767) for value in samples]


def main():
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "quillmark/ui/resources/found.wav"
    frames = b"".join(struct.pack("<h", value) for value in chime())
    with wave.open(str(output), "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(RATE)
        file.writeframes(frames)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the five alarm tones into a folder, as the sound table names them:

    make_tones.py <folder>

normal.wav, warn.wav, hot.wav, panic.wav and random.wav: short, distinct,
16-bit mono PCM at 22050 Hz. Each tone is made from notes, a note being a
frequency (or a sweep between two) with soft edges so that it does not
click. The output is the same on every run.
"""
import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 0.6 * 32767
EDGE = 0.008  # seconds of fade at each end of a note

# Each tone: a list of (start Hz, end Hz, seconds); 0 Hz is a rest.
TONES = {
    # One bright chime.
    "normal": [(880, 880, 0.35)],
    # Two short, lower beeps.
    "warn": [(660, 660, 0.12), (0, 0, 0.08), (660, 660, 0.12)],
    # A rising sweep.
    "hot": [(500, 1500, 0.45)],
    # A fast siren: high and low, three times.
    "panic": [(1400, 1400, 0.07), (950, 950, 0.07)] * 3,
    # A little broken chord, up and back.
    "random": [(523, 523, 0.09), (659, 659, 0.09), (784, 784, 0.09), (1047, 1047, 0.12),
               (784, 784, 0.09)],
}


def note_samples(start_hz, end_hz, seconds):
    count = int(RATE * seconds)
    edge = int(RATE * EDGE)
    phase = 0.0
    samples = []
    for i in range(count):
        hz = start_hz + (end_hz - start_hz) * i / max(count - 1, 1)
        phase += 2 * math.pi * hz / RATE
        gain = min(1.0, i / edge, (count - 1 - i) / edge) if edge else 1.0
        value = math.sin(phase) * gain * PEAK if hz else 0.0
        samples.append(int(round(value)))
    return samples


def write_tone(path, notes):
    samples = []
    for note in notes:
        samples.extend(note_samples(*note))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, notes in TONES.items():
        write_tone(os.path.join(folder, name + ".wav"), notes)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the drill's three feedback sounds next to this script.

Every sample is synthesised here from a fixed seed, so running the script
again gives byte-identical files. Python 3 standard library only.

    python3 resources/make_sounds.py
"""

import math
import os
import random
import struct
import wave

RATE = 22050
PEAK = 32767
HERE = os.path.dirname(os.path.abspath(__file__))


def write_wav(name, samples):
    """16-bit PCM mono; samples are floats in [-1, 1]."""
    frames = b"".join(
        struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * PEAK))) for s in samples
    )
    with wave.open(os.path.join(HERE, name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def fade(samples, ms=8):
    """Short linear fade in and out so no sound starts or stops with a click."""
    n = min(len(samples) // 2, int(RATE * ms / 1000))
    out = list(samples)
    for i in range(n):
        g = i / n
        out[i] *= g
        out[-1 - i] *= g
    return out


def normalise(samples, level):
    peak = max(abs(s) for s in samples) or 1.0
    return [s * level / peak for s in samples]


def applause(rng, seconds=1.2):
    """Many short claps: bursts of band-limited noise, each with a fast attack
    and an exponential decay, scattered densely over a swell-and-fade envelope."""
    n = int(RATE * seconds)
    out = [0.0] * n
    clap_len = int(RATE * 0.045)
    claps = 140
    for _ in range(claps):
        start = rng.randrange(0, n - clap_len)
        gain = rng.uniform(0.25, 1.0)
        # Each clapper has a slightly different colour: a one-pole low-pass
        # with its own cut-off, then a one-zero high-pass to take out rumble.
        alpha = rng.uniform(0.25, 0.6)
        lp = 0.0
        prev = 0.0
        decay = rng.uniform(70.0, 140.0)
        for i in range(clap_len):
            white = rng.uniform(-1.0, 1.0)
            lp += alpha * (white - lp)
            hp = lp - prev
            prev = lp
            env = min(1.0, i / (RATE * 0.002)) * math.exp(-decay * i / RATE)
            out[start + i] += gain * env * hp
    for i in range(n):
        t = i / n
        swell = min(1.0, t / 0.15) * (1.0 - max(0.0, (t - 0.6) / 0.4)) ** 2
        out[i] *= swell
    return fade(normalise(out, 0.7))


def laser(seconds=0.35):
    """A descending sweep: a sine gliding from 1400 Hz down to 180 Hz with a
    touch of its octave, fading as it falls."""
    n = int(RATE * seconds)
    out = []
    phase = 0.0
    f0, f1 = 1400.0, 180.0
    for i in range(n):
        t = i / n
        freq = f0 * (f1 / f0) ** t  # exponential glide sounds even to the ear
        phase += 2.0 * math.pi * freq / RATE
        env = (1.0 - t) ** 1.5
        out.append(env * (0.8 * math.sin(phase) + 0.2 * math.sin(2.0 * phase)))
    return fade(normalise(out, 0.6))


def chime(seconds=0.3):
    """Two bell-like notes a major third apart (E6 then G#6), the second
    entering while the first rings on."""
    n = int(RATE * seconds)
    out = [0.0] * n
    notes = [(1318.51, 0.0), (1661.22, 0.09)]
    for freq, at in notes:
        start = int(RATE * at)
        for i in range(n - start):
            t = i / RATE
            env = min(1.0, t / 0.003) * math.exp(-t * 14.0)
            partials = (
                math.sin(2.0 * math.pi * freq * t)
                + 0.35 * math.sin(2.0 * math.pi * 2.0 * freq * t)
                + 0.12 * math.sin(2.0 * math.pi * 3.01 * freq * t)
            )
            out[start + i] += env * partials
    return fade(normalise(out, 0.6))


def main():
    rng = random.Random(20240611)
    write_wav("APPLAUSE LOOP.wav", applause(rng))
    write_wav("Laser.wav", laser())
    write_wav("SndOK.wav", chime())


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Expected magnitude responses of the delay line's filters and high shelf.

Each analog prototype is scaled to its prewarped corner and mapped to the
z-plane by SciPy's bilinear transform, then evaluated in double precision.
Writes one line per point: kind rate cutoff a b frequency dB, where kind 0..3
is the filter type (a = resonance, b = Q) and kind 4 the shelf (a = level).
Points below -80 dB are left out, and so are the high-pass points below half
the corner: there the rounding of the slowly decaying float32 recursion
outweighs a response that small.

Usage: filter_responses.py [output]   (stdout when no output is given)
"""
import sys

import numpy as np
from scipy import signal

SHELF = 4


def prototype(kind, a, b):
    """Numerator and denominator in s normalised to the corner, highest power first."""
    if kind == 0:
        return [1.0], [1.0, 1.0 / a, 1.0]
    if kind == 1:
        return [1.0, 0.0, 0.0], [1.0, 1.0 / a, 1.0]
    if kind == 2:
        return [1.0, a / b, 1.0], [1.0, 1.0 / b, 1.0]
    if kind == 3:
        return [a / b, 0.0], [1.0, 1.0 / b, 1.0]
    return [a, 1.0], [1.0, 1.0]


def cases():
    rates = [44100.0, 48000.0, 96000.0, 11025.0]
    for rate in rates:
        low = 600.0 if rate > 48000 else 300.0
        cutoffs = [low, 1000.0, 5000.0] if rate > 20000 else [low, 1000.0, 4000.0]
        for cutoff in cutoffs:
            for reso in [0.5, 1.0, 4.0, 16.0]:
                yield 0, rate, cutoff, reso, 1.0
                yield 1, rate, cutoff, reso, 1.0
            for reso, q in [(4.0, 0.5), (0.25, 2.0), (16.0, 10.0), (0.0625, 0.1)]:
                yield 2, rate, cutoff, reso, q
                yield 3, rate, cutoff, reso, q
    # Corners past 0.49 of the rate are held there.
    yield 0, 16000.0, 10240.0, 2.0, 1.0
    yield 2, 44100.0, 10240.0, 4.0, 1.0
    for rate in rates + [32000.0]:
        for cutoff in [200.0, 4000.0, 20000.0]:
            for level in [0.0, 0.1, 0.5, 0.98]:
                yield SHELF, rate, cutoff, level, 0.0


def response(kind, rate, cutoff, a, b):
    corner = min(cutoff, 0.49 * rate)
    warped = 2.0 * rate * np.tan(np.pi * corner / rate)
    num, den = prototype(kind, a, b)
    # A shelf down to 0 at the top has a vanishing leading coefficient.
    num, den = signal.lp2lp(np.trim_zeros(num, "f"), den, wo=warped)
    bz, az = signal.bilinear(num, den, fs=rate)
    freqs = np.unique(np.concatenate([np.geomspace(20.0, 0.45 * rate, 40), [corner]]))
    freqs = freqs[freqs <= 0.45 * rate]
    if kind == 1:
        freqs = freqs[freqs >= corner / 2.0]
    _, h = signal.freqz(bz, az, worN=freqs, fs=rate)
    return freqs, 20.0 * np.log10(np.maximum(np.abs(h), 1e-300))


def main():
    out = open(sys.argv[1], "w") if len(sys.argv) > 1 else sys.stdout
    for kind, rate, cutoff, a, b in cases():
        for f, db in zip(*response(kind, rate, cutoff, a, b)):
            if db >= -80.0:
                out.write(f"{kind} {rate:g} {cutoff:g} {a:g} {b:g} {f:.9g} {db:.9g}\n")
    out.close()


if __name__ == "__main__":
    main()

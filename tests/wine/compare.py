#!/usr/bin/env python3
"""Compares a render made inside Wine with the native host's render of the
same input and program, made in buffers of the same sizes (the parser's
delivery and its allocator's capacity, which sizes the filter's tail pieces):
the same format and length, and every sample, tail included, within one
16-bit step (16-bit PCM) or 1e-6 (32-bit float).

usage: compare.py WINE.wav NATIVE.wav INPUT.wav
Prints one line of differences and lengths. Exit status 1 on a mismatch."""
import struct
import sys


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit(f"{path}: not a RIFF WAVE file")
    fmt = samples = None
    at = 12
    while at + 8 <= len(data):
        chunk, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        body = data[at + 8:at + 8 + size]
        if chunk == b"fmt ":
            tag, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", body)
            if tag == 0xFFFE:  # WAVE_FORMAT_EXTENSIBLE: the sub-format's tag
                tag = struct.unpack_from("<H", body, 24)[0]
            fmt = (tag, channels, rate, bits)
        elif chunk == b"data":
            samples = body
        at += 8 + size + (size & 1)
    if fmt is None or samples is None:
        raise SystemExit(f"{path}: no fmt or data chunk")
    tag, _, _, bits = fmt
    if (tag, bits) == (1, 16):
        values = struct.unpack(f"<{len(samples) // 2}h", samples)
    elif (tag, bits) == (3, 32):
        values = struct.unpack(f"<{len(samples) // 4}f", samples)
    else:
        raise SystemExit(f"{path}: format tag {tag} with {bits} bits is not compared")
    return fmt, values


def main():
    wine_fmt, wine = read_wav(sys.argv[1])
    native_fmt, native = read_wav(sys.argv[2])
    if wine_fmt != native_fmt:
        print(f"format differs: wine {wine_fmt}, native {native_fmt}")
        return 1
    integer = wine_fmt[0] == 1
    tolerance = 1 if integer else 1e-6
    input_fmt, source = read_wav(sys.argv[3])
    channels = wine_fmt[1]
    streamed = len(source) // input_fmt[1] * channels
    common = min(len(wine), len(native))

    def largest(end):
        return max((abs(a - b) for a, b in zip(wine[:end], native[:end])), default=0)

    stream, whole = largest(min(streamed, common)), largest(common)
    unit = "steps" if integer else "absolute"
    print(f"largest difference {stream:g} {unit} while streaming, {whole:g} with the tail; "
          f"frames wine {len(wine) // channels}, native {len(native) // channels}")
    same_length = len(wine) == len(native)
    return 0 if whole <= tolerance and same_length and common >= streamed else 1


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Compares a rectangle of an X screen dump (xwd -root) with a P6 picture.

Usage: compare_screen.py SCREEN.xwd X Y PICTURE.ppm
Exit status 0 when every pixel of the picture equals the screen's at (X, Y)
onwards; otherwise the count of differing pixels and the first one are printed.
"""
import struct
import sys


def read_xwd(path):
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks = fields[14:17]
    colours = fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit(f"unsupported screen dump: format {pixmap_format}, {bits_per_pixel} bits")
    start = header_size + 12 * colours
    size = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"

    def pixel(x, y):
        at = start + y * bytes_per_line + size * x
        v = int.from_bytes(data[at : at + size], order)
        out = []
        for mask in masks:
            shift = (mask & -mask).bit_length() - 1
            out.append((v & mask) >> shift)
        return tuple(out)

    return width, height, pixel


def read_ppm(path):
    data = open(path, "rb").read()
    parts = data.split(maxsplit=4)
    if parts[0] != b"P6" or parts[3] != b"255":
        sys.exit(f"{path}: not an 8-bit P6 picture")
    width, height = int(parts[1]), int(parts[2])
    pixels = parts[4]
    return width, height, lambda x, y: tuple(pixels[3 * (y * width + x) : 3 * (y * width + x) + 3])


def main():
    screen_path, x0, y0, picture_path = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    sw, sh, screen = read_xwd(screen_path)
    pw, ph, picture = read_ppm(picture_path)
    if x0 < 0 or y0 < 0 or x0 + pw > sw or y0 + ph > sh:
        sys.exit(f"the picture ({pw} x {ph} at {x0}, {y0}) leaves the screen ({sw} x {sh})")
    differing = [(x, y) for y in range(ph) for x in range(pw) if screen(x0 + x, y0 + y) != picture(x, y)]
    if differing:
        x, y = differing[0]
        print(f"{len(differing)} of {pw * ph} pixels differ; first at ({x}, {y}): "
              f"screen {screen(x0 + x, y0 + y)}, offscreen {picture(x, y)}")
        return 1
    print(f"the window's {pw} x {ph} pixels equal the offscreen picture")
    return 0


if __name__ == "__main__":
    sys.exit(main())

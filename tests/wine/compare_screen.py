#!/usr/bin/env python3
"""Compares a rectangle of an X screen dump (xwd -root) with a picture.

Usage: compare_screen.py SCREEN.xwd X Y PICTURE [--area AX AY AW AH] [--differ]
PICTURE is a P6 .ppm, an 8-bit RGB .png or another screen dump (.xwd).
Exit status 0 when every pixel of the picture (or of its area) equals the
screen's at (X, Y) onwards; otherwise the count of differing pixels and the
first one are printed. With --differ the other way round: 0 when some differ.
"""
import struct
import sys
import zlib


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


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    at, idat = 8, b""
    while at < len(data):
        (length,) = struct.unpack(">I", data[at : at + 4])
        kind, body = data[at + 4 : at + 8], data[at + 8 : at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour != 2 or interlace != 0:
                sys.exit(f"{path}: not an 8-bit RGB picture without interlacing")
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw, stride = zlib.decompress(idat), 3 * width
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1 : (y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = previous[i]
            c = previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        previous = line
    return width, height, lambda x, y: tuple(rows[y][3 * x : 3 * x + 3])


def read_picture(path):
    if path.endswith(".png"):
        return read_png(path)
    if path.endswith(".xwd"):
        return read_xwd(path)
    return read_ppm(path)


def main():
    args = sys.argv[1:]
    expect_differ = "--differ" in args
    if expect_differ:
        args.remove("--differ")
    screen_path, x0, y0, picture_path = args[0], int(args[1]), int(args[2]), args[3]
    sw, sh, screen = read_xwd(screen_path)
    pw, ph, picture = read_picture(picture_path)
    ax, ay, aw, ah = 0, 0, pw, ph
    if len(args) == 9 and args[4] == "--area":
        ax, ay, aw, ah = (int(v) for v in args[5:9])
    if x0 + ax < 0 or y0 + ay < 0 or x0 + ax + aw > sw or y0 + ay + ah > sh or ax + aw > pw or ay + ah > ph:
        sys.exit(f"the area ({aw} x {ah} at {x0 + ax}, {y0 + ay}) leaves the screen or the picture")
    differing = [
        (x, y)
        for y in range(ay, ay + ah)
        for x in range(ax, ax + aw)
        if screen(x0 + x, y0 + y) != picture(x, y)
    ]
    if expect_differ:
        print(f"{len(differing)} of {aw * ah} pixels differ from {picture_path}")
        return 0 if differing else 1
    if differing:
        x, y = differing[0]
        print(f"{len(differing)} of {aw * ah} pixels differ from {picture_path}; first at ({x}, {y}): "
              f"screen {screen(x0 + x, y0 + y)}, picture {picture(x, y)}")
        return 1
    print(f"the screen's {aw} x {ah} pixels equal {picture_path}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

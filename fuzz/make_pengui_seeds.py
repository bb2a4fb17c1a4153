#!/usr/bin/env python3
"""Writes the seed inputs of fuzz_picture_factory and fuzz_font_factory: draw
parameters (view rectangle, origin, angle, view size, anchor) followed by a
small valid "APIC" resource of each kind the factories build."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def apic(kind, bits, width, height, palette, pixels):
    entries = len(palette) if bits == 8 else 0
    offset = 36 + 4 * entries
    head = struct.pack('<9i', 1, 36, kind, bits, width, height, entries, offset,
                       36 if bits == 8 else 0)
    pal = b''.join(struct.pack('<I', c) for c in palette) if bits == 8 else b''
    return head + pal + bytes(pixels)


def params(x0, y0, x1, y1, ox, oy, angle, vw, vh, ax, ay):
    return struct.pack('<4i3f4h', x0, y0, x1, y1, ox, oy, angle, vw, vh, ax, ay)


def write(target, name, data):
    folder = os.path.join(here, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


draw = params(-1, -1, 6, 6, -1.5, -0.25, 0.7, 16, 16, 2, 1)
ramp = [0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF]
write('fuzz_picture_factory', 'opaque8',
      draw + apic(0, 8, 3, 2, ramp, [0, 1, 2, 3, 4, 0]))
write('fuzz_picture_factory', 'alpha8',
      draw + apic(1, 8, 4, 3, ramp, [i % 5 if k == 0 else (i * 40) % 256
                                     for i in range(12) for k in range(2)]))
write('fuzz_picture_factory', 'opaque24',
      draw + apic(0, 24, 4, 2, [], range(32)))
write('fuzz_picture_factory', 'alpha24',
      params(0, 0, 128, 128, 3.0, 2.5, -2.1, 128, 128, 1, 1) + apic(1, 24, 3, 3, [], range(0, 252, 7)))

# A single-colour font of five glyphs of widths 2, 3, 1, 4, 2; the last row
# alternates 0 and 255 from glyph to glyph.
widths = [2, 3, 1, 4, 2]
sep = [255 * (i % 2) for i, w in enumerate(widths) for _ in range(w)]
width = len(sep)
ink = [(x * 37 + y * 91) % 256 for y in range(4) for x in range(width)]
write('fuzz_font_factory', 'unicolor',
      params(-2, 0, 10, 4, 0, 0, 0, 12, 4, 1, 200) + apic(2, 0, width, 5, [], ink + sep))
multi = [v for y in range(4) for x in range(width) for v in (x % 5, (x * 50) % 256)]
multi += [v for s in sep for v in (s // 255, 0)]
write('fuzz_font_factory', 'multicolor',
      params(0, 0, 20, 4, 0, 0, 0, 20, 4, 2, 0) + apic(1, 8, width, 5, ramp, multi))

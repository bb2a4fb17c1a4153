#pragma once

#include "Quantizer.h"

#include <cstdint>
#include <vector>

namespace skingen {

// The bytes of an "APIC" resource: a 36-byte header of nine little-endian
// int32 (version 1, header size, kind, bits per pixel, width, height, palette
// entries, pixel data offset, palette offset), the palette (blue, green, red,
// 0 each) and the pixel rows top-down.

// An 8-bit picture: kind 0 (index only) or, with alpha, kind 1 (index, alpha).
std::vector<std::uint8_t> apic_picture(const IndexedImage& picture);

// A single-colour font strip (kind 2, 0 bits): one coverage byte per pixel.
std::vector<std::uint8_t> apic_font(int width, int height,
                                    const std::vector<std::uint8_t>& coverage);

} // namespace skingen

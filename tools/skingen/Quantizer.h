#pragma once

#include "RgbaImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

// A picture reduced to at most 256 colours: a palette index per pixel, and
// for pictures with alpha the pixel's own alpha beside it.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgba> palette; // alpha unused
    std::vector<std::uint8_t> index;
    std::vector<std::uint8_t> alpha; // empty for opaque pictures
};

// Reduces `picture` with libimagequant (no dithering, so flat fills stay
// flat). Opaque pictures get a 256-entry palette, padded with black; pictures
// with alpha keep each pixel's exact alpha and get 2 to 256 entries. Returns
// false with `error` set when the library fails.
bool quantize(const RgbaImage& picture, bool with_alpha, IndexedImage& out, std::string& error);

} // namespace skingen

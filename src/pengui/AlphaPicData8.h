#pragma once

#include "pengui/AlphaPicData.h"

namespace pengui {

// Per pixel a palette index, then alpha (0 transparent, 255 opaque).
struct AlphaPixels8 {
    explicit AlphaPixels8(const ApicImage& image) : pixels(image.pixels), palette(image.palette) {}
    void fetch(std::size_t n, const std::uint8_t*& bgr, int& alpha) const {
        bgr = palette + pixels[n * 2] * 4;
        alpha = pixels[n * 2 + 1];
    }
    // d + ((a * (s - d)) >> 8), in signed integers.
    static void blend(std::uint8_t* d, const std::uint8_t* s, int a) {
        for (int c = 0; c < 3; ++c) {
            d[c] = static_cast<std::uint8_t>(d[c] + ((a * (s[c] - d[c])) >> 8));
        }
    }
    static constexpr bool rounds_weights = false;

    const std::uint8_t* pixels;
    const std::uint8_t* palette;
};

// A picture with alpha of palette indices (kind 1, 8 bits).
class AlphaPicData8 final : public AlphaPicData<AlphaPixels8> {
public:
    using AlphaPicData::AlphaPicData;
};

} // namespace pengui

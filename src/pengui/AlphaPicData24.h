#pragma once

#include "pengui/AlphaPicData.h"

namespace pengui {

// Per pixel blue, green, red, alpha (0 transparent, 255 opaque).
struct AlphaPixels24 {
    explicit AlphaPixels24(const ApicImage& image) : pixels(image.pixels) {}
    void fetch(std::size_t n, const std::uint8_t*& bgr, int& alpha) const {
        bgr = pixels + n * 4;
        alpha = bgr[3];
    }
    // (s * a + d * (255 - a)) >> 8.
    static void blend(std::uint8_t* d, const std::uint8_t* s, int a) {
        for (int c = 0; c < 3; ++c) {
            d[c] = static_cast<std::uint8_t>((s[c] * a + d[c] * (255 - a)) >> 8);
        }
    }
    static constexpr bool rounds_weights = true;

    const std::uint8_t* pixels;
};

// A picture with alpha of 4-byte pixels (kind 1, 24 bits).
class AlphaPicData24 final : public AlphaPicData<AlphaPixels24> {
public:
    using AlphaPicData::AlphaPicData;
};

} // namespace pengui

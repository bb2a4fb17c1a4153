#pragma once

#include "pengui/PicDataInterface.h"

#include <cstdint>

namespace pengui {

struct ApicImage;

// A picture with alpha: per pixel a palette index, then alpha (0 transparent,
// 255 opaque).
class AlphaPicData8 : public PicDataInterface {
public:
    // [editor thread] image must have passed ApicImage::parse (kind 1, 8 bits).
    explicit AlphaPicData8(const ApicImage& image);
    // [editor thread] Alpha 0 keeps the buffer pixel, 255 overwrites it with
    // the palette entry, anything between blends each colour byte as
    // d + ((a * (s - d)) >> 8).
    int draw(const Rect& view, RenderingBufferInterface& buffer) const override;
    int draw_rotated(float origin_x, float origin_y, int view_width, int view_height, float angle,
                     RenderingBufferInterface& buffer) const override;
    int draw_at(float origin_x, float origin_y, int view_width, int view_height,
                RenderingBufferInterface& buffer) const override;

    // [editor thread] The colour bytes and alpha of pixel (i, j), inside the
    // picture.
    void texel(int i, int j, const std::uint8_t*& bgr, int& alpha) const {
        const std::uint8_t* p = pixels_ + (static_cast<std::size_t>(j) * width() + i) * 2;
        bgr = palette_ + p[0] * 4;
        alpha = p[1];
    }

private:
    const std::uint8_t* pixels_;
    const std::uint8_t* palette_;
};

} // namespace pengui

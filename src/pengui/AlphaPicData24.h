#pragma once

#include "pengui/PicDataInterface.h"

#include <cstdint>

namespace pengui {

struct ApicImage;

// A picture with alpha: per pixel blue, green, red, alpha (0 transparent,
// 255 opaque).
class AlphaPicData24 : public PicDataInterface {
public:
    // [editor thread] image must have passed ApicImage::parse (kind 1, 24 bits).
    explicit AlphaPicData24(const ApicImage& image);
    // [editor thread] Alpha 0 keeps the buffer pixel, 255 overwrites it with
    // the 4 bytes, anything between blends each colour byte as
    // (s * a + d * (255 - a)) >> 8.
    int draw(const Rect& view, RenderingBufferInterface& buffer) const override;
    int draw_rotated(float origin_x, float origin_y, int view_width, int view_height, float angle,
                     RenderingBufferInterface& buffer) const override;
    int draw_at(float origin_x, float origin_y, int view_width, int view_height,
                RenderingBufferInterface& buffer) const override;

    // [editor thread] The colour bytes and alpha of pixel (i, j), inside the
    // picture.
    void texel(int i, int j, const std::uint8_t*& bgr, int& alpha) const {
        bgr = pixels_ + (static_cast<std::size_t>(j) * width() + i) * 4;
        alpha = bgr[3];
    }

private:
    const std::uint8_t* pixels_;
};

} // namespace pengui

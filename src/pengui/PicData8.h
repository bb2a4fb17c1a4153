#pragma once

#include "pengui/PicDataInterface.h"

#include <cstdint>

namespace pengui {

struct ApicImage;

// An opaque picture of palette indices, one byte a pixel.
class PicData8 : public PicDataInterface {
public:
    // [editor thread] image must have passed ApicImage::parse (kind 0, 8 bits).
    explicit PicData8(const ApicImage& image);
    // [editor thread] Overwrites each covered buffer pixel with the whole
    // 4-byte palette entry.
    int draw(const Rect& view, RenderingBufferInterface& buffer) const override;

private:
    const std::uint8_t* pixels_;
    const std::uint8_t* palette_;
};

} // namespace pengui

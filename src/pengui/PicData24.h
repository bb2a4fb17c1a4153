#pragma once

#include "pengui/PicDataInterface.h"

#include <cstdint>

namespace pengui {

struct ApicImage;

// An opaque picture of four bytes a pixel (blue, green, red, unused).
class PicData24 : public PicDataInterface {
public:
    // [editor thread] image must have passed ApicImage::parse (kind 0, 24 bits).
    explicit PicData24(const ApicImage& image);
    // [editor thread] Overwrites each covered buffer pixel with the 4 bytes.
    int draw(const Rect& view, RenderingBufferInterface& buffer) const override;

private:
    const std::uint8_t* pixels_;
};

} // namespace pengui

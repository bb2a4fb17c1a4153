#pragma once

#include "pengui/FontInterface.h"

namespace pengui {

// A font of one coverage byte a pixel (0 leaves the buffer, 255 is the full
// colour), drawn in the colour it is given.
class UnicolorFont : public FontInterface {
public:
    // [editor thread] image must have passed ApicImage::parse (kind 2, 0 bits).
    explicit UnicolorFont(const ApicImage& image);
    // [editor thread] Each colour byte becomes d + ((m * (c - d)) >> 8).
    void draw_glyph_slice(const Rect& source, int dest_x, int dest_y,
                          RenderingBufferInterface& buffer, std::uint32_t colour) const override;

private:
    const std::uint8_t* coverage_;
};

} // namespace pengui

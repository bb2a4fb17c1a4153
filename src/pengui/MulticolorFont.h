#pragma once

#include "pengui/FontInterface.h"

namespace pengui {

// A font of a palette index and a transparency (0 opaque, 255 invisible) a
// pixel; it brings its own colours.
class MulticolorFont : public FontInterface {
public:
    // [editor thread] image must have passed ApicImage::parse (kind 1, 8 bits).
    explicit MulticolorFont(const ApicImage& image);
    // [editor thread] Each colour byte becomes d + (((p - d) * (255 - t)) >> 8);
    // the colour argument is not used.
    void draw_glyph_slice(const Rect& source, int dest_x, int dest_y,
                          RenderingBufferInterface& buffer, std::uint32_t colour) const override;

private:
    const std::uint8_t* pixels_;
    const std::uint8_t* palette_;
};

} // namespace pengui

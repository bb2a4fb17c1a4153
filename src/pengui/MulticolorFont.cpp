#include "pengui/MulticolorFont.h"

#include "pengui/ApicImage.h"
#include "pengui/GlyphSlice.h"

namespace pengui {

MulticolorFont::MulticolorFont(const ApicImage& image)
    : FontInterface(image), pixels_(image.pixels), palette_(image.palette) {}

void MulticolorFont::draw_glyph_slice(const Rect& source, int dest_x, int dest_y,
                                      RenderingBufferInterface& buffer, std::uint32_t) const {
    for_each_slice_pixel(*this, source, dest_x, dest_y, buffer, [&](int x, int y, std::uint8_t* d) {
        const std::uint8_t* p = pixels_ + (static_cast<std::size_t>(y) * width() + x) * 2;
        const std::uint8_t* s = palette_ + p[0] * 4;
        const int m = 255 - p[1];
        for (int k = 0; k < 3; ++k) {
            d[k] = static_cast<std::uint8_t>(d[k] + (((s[k] - d[k]) * m) >> 8));
        }
    });
}

} // namespace pengui

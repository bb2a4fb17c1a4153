#include "pengui/UnicolorFont.h"

#include "pengui/ApicImage.h"
#include "pengui/GlyphSlice.h"

namespace pengui {

UnicolorFont::UnicolorFont(const ApicImage& image)
    : FontInterface(image), coverage_(image.pixels) {}

void UnicolorFont::draw_glyph_slice(const Rect& source, int dest_x, int dest_y,
                                    RenderingBufferInterface& buffer, std::uint32_t colour) const {
    const int c[3] = {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                      static_cast<int>((colour >> 16) & 0xFF)};
    for_each_slice_pixel(*this, source, dest_x, dest_y, buffer, [&](int x, int y, std::uint8_t* d) {
        const int m = coverage_[static_cast<std::size_t>(y) * width() + x];
        if (m == 0) {
            return;
        }
        for (int k = 0; k < 3; ++k) {
            d[k] = static_cast<std::uint8_t>(d[k] + ((m * (c[k] - d[k])) >> 8));
        }
    });
}

} // namespace pengui

#include "pengui/FontInterface.h"

#include "pengui/ApicImage.h"

#include <cstring>

namespace pengui {

FontInterface::FontInterface(const ApicImage& image) : width_(image.width), height_(image.height) {
    const int bytes = image.pixel_bytes();
    const std::uint8_t* row = image.pixels + static_cast<std::size_t>(height_ - 1) * width_ * bytes;
    int start = 0;
    for (int x = 1; x <= width_ && glyph_count_ < 256; ++x) {
        if (x == width_ || std::memcmp(row + x * bytes, row + start * bytes, bytes) != 0) {
            glyphs_[glyph_count_++] = Glyph{x - start, start};
            start = x;
        }
    }
}

} // namespace pengui

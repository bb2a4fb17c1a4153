#include "pengui/TextStyle.h"

#include "pengui/FontInterface.h"

#include <algorithm>
#include <cstdint>

namespace pengui {

void TextStyle::set_text(const std::string& text) {
    text_ = text;
    // Each byte maps to itself: the fonts hold every code they show.
    displayed_ = text_;
}

void TextStyle::draw(const FontInterface& font, const Rect& view,
                     RenderingBufferInterface& buffer) const {
    const std::int64_t cx0 = std::max<std::int64_t>(view.x0, 0);
    const std::int64_t cx1 = std::min<std::int64_t>(view.x1, width_);
    const std::int64_t ry0 = std::max<std::int64_t>(view.y0, 0);
    const std::int64_t ry1 = std::min<std::int64_t>({view.y1, height_, font.line_height()});
    if (cx0 >= cx1 || ry0 >= ry1) {
        return;
    }
    std::int64_t total = 0;
    for (char ch : displayed_) {
        if (const FontInterface::Glyph* g = font.glyph(static_cast<std::uint8_t>(ch))) {
            total += g->width;
        }
    }
    std::int64_t x = 0;
    if (alignment_ == centred) {
        x = (width_ - total) / 2;
    } else if (alignment_ != left) {
        x = width_ - total;
    }
    for (char ch : displayed_) {
        const FontInterface::Glyph* g = font.glyph(static_cast<std::uint8_t>(ch));
        if (g == nullptr) {
            continue;
        }
        const std::int64_t a = std::max(x, cx0);
        const std::int64_t b = std::min(x + g->width, cx1);
        if (a < b) {
            // Inside the box, so within int range of the strip and the buffer.
            const auto sx = static_cast<std::int32_t>(g->x + (a - x));
            const Rect source{sx, static_cast<std::int32_t>(ry0),
                              static_cast<std::int32_t>(sx + (b - a)),
                              static_cast<std::int32_t>(ry1)};
            // A destination beyond the int range is beyond the buffer too.
            const auto dest = [](std::int64_t d) {
                return static_cast<int>(std::min<std::int64_t>(d, INT32_MAX));
            };
            font.draw_glyph_slice(source, dest(a - view.x0), dest(ry0 - view.y0), buffer, colour_);
        }
        x += g->width;
    }
}

} // namespace pengui

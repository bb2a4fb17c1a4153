#pragma once

#include "pengui/Rect.h"

#include <array>
#include <cstdint>

namespace pengui {

struct ApicImage;
class RenderingBufferInterface;

// A bitmap font: one strip of glyphs side by side whose last row separates
// them. Glyph i is the i-th run of equal pixels in that row and draws byte
// code i; a row with fewer than 256 runs leaves the higher codes without a
// glyph, and runs past the 256th are ignored. The pixels stay in the
// module's resource.
class FontInterface {
public:
    struct Glyph {
        int width = 0;
        int x = 0;
    };

    // [editor thread] image must have passed ApicImage::parse.
    explicit FontInterface(const ApicImage& image);
    virtual ~FontInterface() = default;
    // [editor thread] Draws the strip's pixels inside source (held to the
    // drawable rows) with its top-left at buffer pixel (dest_x, dest_y), in
    // colour (0x00RRGGBB) where the font has none of its own. Nothing lands
    // outside the buffer.
    virtual void draw_glyph_slice(const Rect& source, int dest_x, int dest_y,
                                  RenderingBufferInterface& buffer, std::uint32_t colour) const = 0;

    // [editor thread] The glyph of a byte code, or null when it has none.
    const Glyph* glyph(std::uint8_t code) const {
        return code < glyph_count_ ? &glyphs_[code] : nullptr;
    }
    // [editor thread]
    int glyph_count() const { return glyph_count_; }
    // [any thread]
    int width() const { return width_; }
    // [any thread]
    int height() const { return height_; }
    // [any thread] The drawable rows: all but the separator row.
    int line_height() const { return height_ - 1; }

private:
    std::array<Glyph, 256> glyphs_{};
    int glyph_count_ = 0;
    int width_;
    int height_;
};

} // namespace pengui

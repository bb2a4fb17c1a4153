#pragma once

#include "pengui/Rect.h"

#include <cstdint>
#include <string>

namespace pengui {

class FontInterface;
class RenderingBufferInterface;

// How a text box lays out its one line: box size, alignment, colour and the
// text (with the copy that is drawn). Text is top-aligned, never wrapped,
// and cut at the box edges by pixels, not by characters.
class TextStyle {
public:
    enum Alignment { left = 0, centred = 1, right = 2 };

    // [editor thread]
    void set_box_size(int width, int height) {
        width_ = width;
        height_ = height;
    }
    int width() const { return width_; }
    int height() const { return height_; }
    // [editor thread] 0 left, 1 centred, any other value right.
    void set_alignment(int alignment) { alignment_ = alignment; }
    // [editor thread] 0x00RRGGBB.
    void set_colour(std::uint32_t colour) { colour_ = colour; }
    // [editor thread]
    void set_text(const std::string& text);
    // [editor thread]
    const std::string& text() const { return text_; }

    // [editor thread] Draws the part of text space named by view (its
    // top-left on buffer pixel (0, 0); text space has its origin at the box's
    // top-left). Bytes without a glyph take no room.
    void draw(const FontInterface& font, const Rect& view, RenderingBufferInterface& buffer) const;

private:
    int width_ = 0;
    int height_ = 0;
    int alignment_ = left;
    std::uint32_t colour_ = 0x808080;
    std::string text_;
    std::string displayed_;
};

} // namespace pengui

// Font resources from outside bytes: a resource is either refused or makes a
// font whose glyph table (at most 256 glyphs, whatever the separator row) and
// glyph slices stay inside the resource, drawing any text, box and view into
// the buffer and nowhere else; the sanitizers watch both.
#include "FuzzDrawParams.h"

#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/TextStyle.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzDrawParams p;
    if (!p.read(data, size)) {
        return 0;
    }
    const auto font = pengui::FontFactory::instance().create(data, size);
    if (font == nullptr) {
        return 0;
    }
    if (font->glyph_count() < 1 || font->glyph_count() > 256) {
        std::abort();
    }
    static pengui::MemoryRenderingBuffer buffer;
    std::string every_code(256, '\0');
    for (int i = 0; i < 256; ++i) {
        every_code[i] = static_cast<char>(i);
    }
    pengui::TextStyle style;
    style.set_box_size(p.view_width, p.view_height);
    style.set_alignment(p.anchor_x);
    style.set_colour(static_cast<std::uint32_t>(p.anchor_y) * 0x10101u);
    style.set_text(every_code);
    style.draw(*font, pengui::Rect{p.x0, p.y0, p.x1, p.y1}, buffer);
    font->draw_glyph_slice(pengui::Rect{p.x0, p.y0, p.x1, p.y1}, p.anchor_x, p.anchor_y, buffer,
                           0xFFFFFF);
    return 0;
}

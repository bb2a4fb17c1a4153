#pragma once

#include "pengui/FontInterface.h"
#include "pengui/RenderingBufferInterface.h"
#include "pengui/ViewClip.h"

#include <cstdint>

namespace pengui {

// Visits the strip pixels of a glyph slice that land inside the buffer (and
// inside the drawable rows): visit(x, y, d) with d the buffer pixel.
template <class Visit>
void for_each_slice_pixel(const FontInterface& font, const Rect& source, int dest_x, int dest_y,
                          RenderingBufferInterface& buffer, Visit visit) {
    const ViewClip clip(source, std::int64_t{source.x0} - dest_x, std::int64_t{source.y0} - dest_y,
                        font.width(), font.line_height(), buffer.width(), buffer.height());
    for (int y = clip.src_y0; y < clip.src_y1; ++y) {
        std::uint8_t* d = buffer.pixel(clip.dst_x, clip.dst_row(y));
        for (int x = clip.src_x0; x < clip.src_x1; ++x, d += 4) {
            visit(x, y, d);
        }
    }
}

} // namespace pengui

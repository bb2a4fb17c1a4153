#pragma once

#include "pengui/Rect.h"

#include <algorithm>
#include <cstdint>

namespace pengui {

// Coordinates beyond this put no part of any picture or glyph strip (all
// far smaller) on a rendering buffer: draws given them draw nothing.
constexpr double far_away = 1073741824.0;

// The part of a source (width x height) that a view rectangle puts into a
// target (target_width x target_height): buffer pixel (bx, by) shows source
// pixel (bx + view.x0, by + view.y0), and only source columns in
// [max(x0, 0), min(x1, width)) and rows likewise are taken. Computed in 64
// bits, so no view rectangle can overflow.
struct ViewClip {
    int src_x0 = 0;
    int src_y0 = 0;
    int src_x1 = 0;
    int src_y1 = 0;
    int dst_x = 0; // buffer pixel of (src_x0, src_y0)
    int dst_y = 0;

    ViewClip(const Rect& view, int width, int height, int target_width, int target_height) {
        const std::int64_t x0 = std::max<std::int64_t>(view.x0, 0);
        const std::int64_t y0 = std::max<std::int64_t>(view.y0, 0);
        const std::int64_t x1 = std::min<std::int64_t>(
            {std::int64_t{view.x1}, std::int64_t{width}, std::int64_t{view.x0} + target_width});
        const std::int64_t y1 = std::min<std::int64_t>(
            {std::int64_t{view.y1}, std::int64_t{height}, std::int64_t{view.y0} + target_height});
        if (x0 < x1 && y0 < y1) {
            src_x0 = static_cast<int>(x0);
            src_y0 = static_cast<int>(y0);
            src_x1 = static_cast<int>(x1);
            src_y1 = static_cast<int>(y1);
            dst_x = static_cast<int>(x0 - view.x0);
            dst_y = static_cast<int>(y0 - view.y0);
        }
    }

    bool empty() const { return src_x0 >= src_x1; }
};

} // namespace pengui

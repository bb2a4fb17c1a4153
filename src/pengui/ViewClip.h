#pragma once

#include "pengui/Rect.h"

#include <algorithm>
#include <cstdint>

namespace pengui {

// Coordinates beyond this put no part of any picture or glyph strip (all
// far smaller) on a rendering buffer: draws given them draw nothing.
constexpr double far_away = 1073741824.0;

// The part of a source (width x height) that a view puts into a target
// (target_width x target_height): buffer pixel (bx, by) shows source pixel
// (bx + origin_x, by + origin_y), and only source pixels inside area (and
// inside the source and the target) are taken. Computed in 64 bits, so no
// view can overflow.
struct ViewClip {
    int src_x0 = 0;
    int src_y0 = 0;
    int src_x1 = 0;
    int src_y1 = 0;
    int dst_x = 0; // buffer pixel of (src_x0, src_y0)
    int dst_y = 0;

    ViewClip(const Rect& area, std::int64_t origin_x, std::int64_t origin_y, int width, int height,
             int target_width, int target_height) {
        const std::int64_t x0 = std::max<std::int64_t>({area.x0, 0, origin_x});
        const std::int64_t y0 = std::max<std::int64_t>({area.y0, 0, origin_y});
        const std::int64_t x1 =
            std::min<std::int64_t>({area.x1, width, origin_x + std::max(target_width, 0)});
        const std::int64_t y1 =
            std::min<std::int64_t>({area.y1, height, origin_y + std::max(target_height, 0)});
        if (x0 < x1 && y0 < y1) {
            src_x0 = static_cast<int>(x0);
            src_y0 = static_cast<int>(y0);
            src_x1 = static_cast<int>(x1);
            src_y1 = static_cast<int>(y1);
            dst_x = static_cast<int>(x0 - origin_x);
            dst_y = static_cast<int>(y0 - origin_y);
        }
    }
    // A view rectangle: its top-left on buffer pixel (0, 0), the rectangle
    // itself the area.
    ViewClip(const Rect& view, int width, int height, int target_width, int target_height)
        : ViewClip(view, view.x0, view.y0, width, height, target_width, target_height) {}

    bool empty() const { return src_x0 >= src_x1; }
    // The buffer row source row y lands on.
    int dst_row(int y) const { return dst_y + y - src_y0; }
};

} // namespace pengui

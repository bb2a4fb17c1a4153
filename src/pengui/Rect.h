#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace pengui {

// A rectangle in pixels, right and bottom exclusive. x1 == x0 and y1 == y0 is
// a point (mouse messages); anything else is an area.
struct Rect {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;

    bool is_point() const { return x1 == x0 && y1 == y0; }
    bool overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// A 64-bit coordinate held to the int32 range.
inline std::int32_t clamp32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A rectangle from 64-bit sides, each held to the int32 range.
inline Rect clamped_rect(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    return Rect{clamp32(x0), clamp32(y0), clamp32(x1), clamp32(y1)};
}

// The smallest rectangle holding both; an empty one (no area) adds nothing.
inline Rect bounding_union(const Rect& a, const Rect& b) {
    const bool a_empty = a.x0 >= a.x1 || a.y0 >= a.y1;
    const bool b_empty = b.x0 >= b.x1 || b.y0 >= b.y1;
    if (a_empty || b_empty) {
        return a_empty ? (b_empty ? Rect{} : b) : a;
    }
    return Rect{std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1),
                std::max(a.y1, b.y1)};
}

} // namespace pengui

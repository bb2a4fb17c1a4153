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

// A rectangle from 64-bit sides, each held to the int32 range.
inline Rect clamped_rect(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return Rect{static_cast<std::int32_t>(std::clamp(x0, lo, hi)),
                static_cast<std::int32_t>(std::clamp(y0, lo, hi)),
                static_cast<std::int32_t>(std::clamp(x1, lo, hi)),
                static_cast<std::int32_t>(std::clamp(y1, lo, hi))};
}

} // namespace pengui

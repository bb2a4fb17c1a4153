#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The drawing half of a picture or font fuzz input: the first bytes give a
// view rectangle, an origin, an angle, a view size and an anchor; the rest is
// the resource.
struct FuzzDrawParams {
    static constexpr std::size_t bytes = 36;

    std::int32_t x0, y0, x1, y1;
    float origin_x, origin_y, angle;
    std::int16_t view_width, view_height;
    std::int16_t anchor_x, anchor_y;

    // False when the input is too short to hold them.
    bool read(const std::uint8_t*& data, std::size_t& size) {
        if (size < bytes) {
            return false;
        }
        std::memcpy(&x0, data, 16);
        std::memcpy(&origin_x, data + 16, 12);
        std::memcpy(&view_width, data + 28, 8);
        data += bytes;
        size -= bytes;
        return true;
    }
};

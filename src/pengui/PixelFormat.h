#pragma once

#include <cstdint>

namespace pengui {

// A pixel of four bytes blue, green, red, unused, read as 0x00RRGGBB.
inline std::uint32_t bgrx_to_rgb(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
}

} // namespace pengui

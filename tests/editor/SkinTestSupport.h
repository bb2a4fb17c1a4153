#pragma once

// Shared by the skin tests: the embedded "APIC" resources and their pixels.
#include "sys/Resource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skin_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes resource(const std::string& name) {
    std::size_t size = 0;
    const auto* data = static_cast<const std::uint8_t*>(sys::get_ressource("APIC", name, &size));
    return data ? Bytes(data, data + size) : Bytes{};
}

// Header field `index` (0 version ... 8 palette offset).
inline std::int32_t field(const Bytes& b, int index) {
    const std::size_t o = std::size_t(index) * 4;
    return std::int32_t(std::uint32_t(b[o]) | std::uint32_t(b[o + 1]) << 8 |
                        std::uint32_t(b[o + 2]) << 16 | std::uint32_t(b[o + 3]) << 24);
}

struct Pixel {
    int r, g, b, a;
};

// An 8-bit picture's pixels through its palette (alpha 255 for opaque ones);
// empty when the resource is missing.
struct Picture {
    int width = 0, height = 0;
    std::vector<Pixel> pixels;
    const Pixel& at(int x, int y) const { return pixels[std::size_t(y * width + x)]; }
};

inline Picture picture(const std::string& name) {
    const Bytes b = resource(name);
    Picture p;
    if (b.size() < 36)
        return p;
    p.width = field(b, 4);
    p.height = field(b, 5);
    const bool alpha = field(b, 2) == 1;
    const std::size_t data = std::size_t(field(b, 7));
    for (int i = 0; i < p.width * p.height; ++i) {
        const std::size_t o = data + std::size_t(i) * (alpha ? 2 : 1);
        const std::uint8_t* c = &b[36 + 4 * std::size_t(b[o])];
        p.pixels.push_back({c[2], c[1], c[0], alpha ? b[o + 1] : 255});
    }
    return p;
}

} // namespace skin_test

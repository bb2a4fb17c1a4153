#pragma once

#include <cstdint>
#include <vector>

namespace skingen {

// One pixel, straight (not premultiplied) alpha.
struct Rgba {
    std::uint8_t r, g, b, a;
};

// A picture as drawn, before palette reduction; rows top-down.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    RgbaImage() = default;
    RgbaImage(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h)) {}
    Rgba& at(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    const Rgba& at(int x, int y) const {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
};

} // namespace skingen

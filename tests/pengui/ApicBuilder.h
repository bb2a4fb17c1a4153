#pragma once

#include <cstdint>
#include <vector>

namespace test {

// Lays out "APIC" resources in memory the way the skin generator writes them:
// a 36-byte little-endian header, the palette (8 bits), then the pixels.
struct ApicBuilder {
    int kind = 1;
    int bits = 8;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB, stored blue, green, red, 0
    std::vector<std::uint8_t> pixels;   // bytes as stored, row by row

    std::vector<std::uint8_t> bytes() const {
        const int entries = bits == 8 ? static_cast<int>(palette.size()) : 0;
        const int offset = 36 + 4 * entries;
        std::vector<std::uint8_t> out;
        for (int v : {1, 36, kind, bits, width, height, entries, offset, bits == 8 ? 36 : 0}) {
            put(out, static_cast<std::uint32_t>(v));
        }
        if (bits == 8) {
            for (std::uint32_t c : palette) {
                put(out, c & 0xFFFFFF);
            }
        }
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }

    static void put(std::vector<std::uint8_t>& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    // Overwrites the header field at byte offset at.
    static void patch(std::vector<std::uint8_t>& bytes, int at, std::int32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
        }
    }
};

// An alpha picture of 8 bits whose pixel (x, y) has palette entry
// colour(x, y) and alpha alpha(x, y); one palette entry per pixel.
template <class Colour, class Alpha>
ApicBuilder alpha8(int width, int height, Colour colour, Alpha alpha) {
    ApicBuilder b;
    b.width = width;
    b.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.pixels.push_back(static_cast<std::uint8_t>(b.palette.size()));
            b.pixels.push_back(static_cast<std::uint8_t>(alpha(x, y)));
            b.palette.push_back(colour(x, y));
        }
    }
    return b;
}

} // namespace test

#include "ApicFile.h"

namespace skingen {

namespace {
constexpr int header_size = 36;

void put32(std::vector<std::uint8_t>& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(u >> shift));
}

void header(std::vector<std::uint8_t>& out, int kind, int bits, int width, int height,
            int palette_entries, int palette_offset) {
    put32(out, 1);
    put32(out, header_size);
    put32(out, kind);
    put32(out, bits);
    put32(out, width);
    put32(out, height);
    put32(out, palette_entries);
    put32(out, header_size + 4 * palette_entries);
    put32(out, palette_offset);
}
} // namespace

std::vector<std::uint8_t> apic_picture(const IndexedImage& picture) {
    const bool with_alpha = !picture.alpha.empty();
    const int entries = int(picture.palette.size());
    std::vector<std::uint8_t> out;
    header(out, with_alpha ? 1 : 0, 8, picture.width, picture.height, entries, header_size);
    for (const Rgba& c : picture.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (std::size_t i = 0; i < picture.index.size(); ++i) {
        out.push_back(picture.index[i]);
        if (with_alpha)
            out.push_back(picture.alpha[i]);
    }
    return out;
}

std::vector<std::uint8_t> apic_font(int width, int height,
                                    const std::vector<std::uint8_t>& coverage) {
    std::vector<std::uint8_t> out;
    header(out, 2, 0, width, height, 0, 0);
    out.insert(out.end(), coverage.begin(), coverage.end());
    return out;
}

} // namespace skingen

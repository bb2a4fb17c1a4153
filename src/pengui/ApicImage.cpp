#include "pengui/ApicImage.h"

#include "sys/Resource.h"

namespace pengui {

namespace {

std::int32_t read_le32(const std::uint8_t* p) {
    const std::uint32_t u =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(u);
}

// Bytes per pixel of a (kind, bits) pair the drawing code knows; 0 otherwise.
int bytes_per_pixel(int kind, int bits) {
    if (kind == 0 && bits == 8) {
        return 1;
    }
    if (kind == 1 && bits == 8) {
        return 2;
    }
    if ((kind == 0 || kind == 1) && bits == 24) {
        return 4;
    }
    if (kind == 2 && bits == 0) {
        return 1;
    }
    return 0;
}

// Whether [offset, offset + bytes) lies inside a resource of size bytes.
bool inside(std::int64_t offset, std::uint64_t bytes, std::size_t size) {
    return offset >= 0 && static_cast<std::uint64_t>(offset) <= size &&
           bytes <= size - static_cast<std::uint64_t>(offset);
}

} // namespace

int ApicImage::pixel_bytes() const {
    return bytes_per_pixel(kind, bits);
}

bool ApicImage::parse(const void* data, std::size_t size, ApicImage& out) {
    if (data == nullptr || size < header_bytes) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::int32_t field[9];
    for (int i = 0; i < 9; ++i) {
        field[i] = read_le32(bytes + 4 * i);
    }
    const std::int32_t version = field[0];
    const std::int32_t header_size = field[1];
    ApicImage image;
    image.kind = field[2];
    image.bits = field[3];
    image.width = field[4];
    image.height = field[5];
    const std::int32_t entries = field[6];
    const std::int32_t pixel_offset = field[7];
    const std::int32_t palette_offset = field[8];

    const int bpp = bytes_per_pixel(image.kind, image.bits);
    if (version == 0 || header_size < header_bytes || bpp == 0 || image.width <= 0 ||
        image.height <= 0) {
        return false;
    }
    // width and height are below 2^31, so their product fits 62 bits and the
    // byte count 64.
    const std::uint64_t count =
        static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(image.height);
    if (count > size / static_cast<unsigned>(bpp) ||
        !inside(pixel_offset, count * static_cast<unsigned>(bpp), size)) {
        return false;
    }
    image.pixels = bytes + pixel_offset;
    if (image.bits == 8) {
        if (entries < 0 || entries > 256 ||
            !inside(palette_offset, static_cast<std::uint64_t>(entries) * 4, size)) {
            return false;
        }
        image.palette_entries = entries;
        image.palette = bytes + palette_offset;
        // An index past the palette would read beyond it while drawing: one
        // look now spares a test per drawn pixel.
        for (std::uint64_t i = 0; i < count; ++i) {
            if (image.pixels[i * static_cast<unsigned>(bpp)] >= entries) {
                return false;
            }
        }
    }
    out = image;
    return true;
}

bool ApicImage::find(const std::string& name, ApicImage& out) {
    std::size_t size = 0;
    const void* data = sys::get_ressource("APIC", name, &size);
    return parse(data, size, out);
}

} // namespace pengui

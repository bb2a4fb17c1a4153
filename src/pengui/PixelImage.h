#pragma once

#include <cstdint>
#include <vector>

namespace pengui {

// A whole picture of a window area in the rendering buffer's pixel layout
// (blue, green, red, unused): what a headless repaint produces.
class PixelImage {
public:
    // [editor thread] Allocates width x height pixels, all zero; (x, y) is the
    // window point of pixel (0, 0).
    PixelImage(int x, int y, int width, int height);

    int x() const { return x_; }
    int y() const { return y_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixel (px, py) as 0x00RRGGBB (the unused byte dropped).
    std::uint32_t rgb(int px, int py) const;
    std::uint8_t* row(int py) { return bytes_.data() + static_cast<std::size_t>(py) * width_ * 4; }
    const std::uint8_t* row(int py) const {
        return bytes_.data() + static_cast<std::size_t>(py) * width_ * 4;
    }

private:
    int x_;
    int y_;
    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace pengui

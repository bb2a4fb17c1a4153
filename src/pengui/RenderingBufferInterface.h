#pragma once

#include <cstddef>
#include <cstdint>

namespace pengui {

// The drawing target of the toolkit: width x height pixels of four bytes
// (blue, green, red, unused), rows top-down, each row exactly width pixels.
// The tile loop paints into it and then copies its top-left block to the
// window.
class RenderingBufferInterface {
public:
    RenderingBufferInterface(int width, int height) : width_(width), height_(height) {}
    virtual ~RenderingBufferInterface() = default;
    // [editor thread] The first byte of pixel (0, 0).
    virtual std::uint8_t* pixels() = 0;
    // [editor thread] The first byte of pixel (x, y).
    std::uint8_t* pixel(int x, int y) {
        return pixels() + (static_cast<std::size_t>(y) * width_ + x) * 4;
    }
    // [editor thread] Copies the w x h block at the buffer's top-left corner
    // to window point (x, y).
    virtual void copy_block(int x, int y, int w, int h) = 0;
    // [editor thread] Fills the buffer: mode 0 with the colour (0x00RRGGBB),
    // mode 1 with a checkerboard of 8 x 8 squares of the colour and white.
    virtual void fill(std::uint32_t colour, int mode) {
        const std::uint8_t b = colour & 0xFF;
        const std::uint8_t g = (colour >> 8) & 0xFF;
        const std::uint8_t r = (colour >> 16) & 0xFF;
        std::uint8_t* p = pixels();
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x, p += 4) {
                const bool white = mode == 1 && ((x / 8 + y / 8) & 1) != 0;
                p[0] = white ? 0xFF : b;
                p[1] = white ? 0xFF : g;
                p[2] = white ? 0xFF : r;
                p[3] = 0;
            }
        }
    }

    // [any thread]
    int width() const { return width_; }
    // [any thread]
    int height() const { return height_; }

private:
    int width_;
    int height_;
};

} // namespace pengui

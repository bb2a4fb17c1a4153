#include "pengui/PixelImage.h"

#include "pengui/PixelFormat.h"

namespace pengui {

PixelImage::PixelImage(int x, int y, int width, int height)
    : x_(x), y_(y), width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
      bytes_(static_cast<std::size_t>(width_) * height_ * 4) {}

std::uint32_t PixelImage::rgb(int px, int py) const {
    return bgrx_to_rgb(row(py) + px * 4);
}

} // namespace pengui

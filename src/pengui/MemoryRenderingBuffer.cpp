#include "pengui/MemoryRenderingBuffer.h"

#include "pengui/PixelFormat.h"

#include <algorithm>
#include <cstring>

namespace pengui {

MemoryRenderingBuffer::MemoryRenderingBuffer(int width, int height)
    : RenderingBufferInterface(std::max(width, 0), std::max(height, 0)),
      pixels_(static_cast<std::size_t>(std::max(width, 0)) * std::max(height, 0) * 4) {}

void MemoryRenderingBuffer::copy_block(int x, int y, int w, int h) {
    if (target_ == nullptr) {
        return;
    }
    // Clip the block to the buffer, then to the image, in 64 bits so that no
    // window point can overflow.
    const std::int64_t bw = std::min<std::int64_t>(w, width());
    const std::int64_t bh = std::min<std::int64_t>(h, height());
    const std::int64_t ix = std::int64_t{x} - target_->x();
    const std::int64_t iy = std::int64_t{y} - target_->y();
    const std::int64_t sx0 = std::max<std::int64_t>(0, -ix);
    const std::int64_t sy0 = std::max<std::int64_t>(0, -iy);
    const std::int64_t sx1 = std::min<std::int64_t>(bw, target_->width() - ix);
    const std::int64_t sy1 = std::min<std::int64_t>(bh, target_->height() - iy);
    if (sx0 >= sx1) {
        return;
    }
    for (std::int64_t sy = sy0; sy < sy1; ++sy) {
        const std::uint8_t* src = pixels_.data() + (sy * width() + sx0) * 4;
        std::uint8_t* dst = target_->row(static_cast<int>(sy + iy)) + (sx0 + ix) * 4;
        std::memcpy(dst, src, static_cast<std::size_t>(sx1 - sx0) * 4);
    }
}

std::uint32_t MemoryRenderingBuffer::rgb(int x, int y) const {
    return bgrx_to_rgb(pixels_.data() + (static_cast<std::size_t>(y) * width() + x) * 4);
}

} // namespace pengui

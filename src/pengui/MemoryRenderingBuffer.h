#pragma once

#include "pengui/PixelImage.h"
#include "pengui/RenderingBufferInterface.h"

#include <cstdint>
#include <vector>

namespace pengui {

// A rendering buffer in plain memory, 128 x 128 unless told otherwise. Its
// block copies land in a PixelImage (when one is attached), clipped to it:
// that is how a headless window composes a whole image from tiles.
class MemoryRenderingBuffer : public RenderingBufferInterface {
public:
    static constexpr int default_size = 128;

    // [editor thread] Allocates the pixels (all zero).
    explicit MemoryRenderingBuffer(int width = default_size, int height = default_size);

    std::uint8_t* pixels() override { return pixels_.data(); }
    void copy_block(int x, int y, int w, int h) override;

    // [editor thread] Where copy_block writes; null to discard. Not owned.
    void set_target(PixelImage* target) { target_ = target; }
    // [editor thread] Pixel (x, y) as 0x00RRGGBB.
    std::uint32_t rgb(int x, int y) const;

private:
    std::vector<std::uint8_t> pixels_;
    PixelImage* target_ = nullptr;
};

} // namespace pengui

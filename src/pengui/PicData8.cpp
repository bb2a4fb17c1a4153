#include "pengui/PicData8.h"

#include "pengui/ApicImage.h"
#include "pengui/RenderingBufferInterface.h"
#include "pengui/ViewClip.h"

#include <cstring>

namespace pengui {

PicData8::PicData8(const ApicImage& image)
    : PicDataInterface(image.width, image.height), pixels_(image.pixels), palette_(image.palette) {}

int PicData8::draw(const Rect& view, RenderingBufferInterface& buffer) const {
    const ViewClip clip(view, width(), height(), buffer.width(), buffer.height());
    for (int y = clip.src_y0; y < clip.src_y1; ++y) {
        const std::uint8_t* s = pixels_ + static_cast<std::size_t>(y) * width();
        std::uint8_t* d = buffer.pixel(clip.dst_x, clip.dst_row(y));
        for (int x = clip.src_x0; x < clip.src_x1; ++x, d += 4) {
            std::memcpy(d, palette_ + s[x] * 4, 4);
        }
    }
    return 0;
}

} // namespace pengui

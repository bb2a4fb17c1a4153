#include "pengui/PicData24.h"

#include "pengui/ApicImage.h"
#include "pengui/RenderingBufferInterface.h"
#include "pengui/ViewClip.h"

#include <cstring>

namespace pengui {

PicData24::PicData24(const ApicImage& image)
    : PicDataInterface(image.width, image.height), pixels_(image.pixels) {}

int PicData24::draw(const Rect& view, RenderingBufferInterface& buffer) const {
    const ViewClip clip(view, width(), height(), buffer.width(), buffer.height());
    const std::size_t bytes = static_cast<std::size_t>(clip.src_x1 - clip.src_x0) * 4;
    for (int y = clip.src_y0; y < clip.src_y1; ++y) {
        std::memcpy(buffer.pixel(clip.dst_x, clip.dst_row(y)),
                    pixels_ + (static_cast<std::size_t>(y) * width() + clip.src_x0) * 4, bytes);
    }
    return 0;
}

} // namespace pengui

#include "pengui/AlphaPicData24.h"

#include "pengui/AlphaSampling.h"
#include "pengui/ApicImage.h"

namespace pengui {

AlphaPicData24::AlphaPicData24(const ApicImage& image)
    : PicDataInterface(image.width, image.height), pixels_(image.pixels) {}

int AlphaPicData24::draw(const Rect& view, RenderingBufferInterface& buffer) const {
    return alpha_sampling::draw_view(
        *this, view, buffer, [](std::uint8_t* d, const std::uint8_t* s, int a) {
            for (int c = 0; c < 3; ++c) {
                d[c] = static_cast<std::uint8_t>((s[c] * a + d[c] * (255 - a)) >> 8);
            }
        });
}

int AlphaPicData24::draw_rotated(float origin_x, float origin_y, int view_width, int view_height,
                                 float angle, RenderingBufferInterface& buffer) const {
    return alpha_sampling::draw_rotated(*this, origin_x, origin_y, view_width, view_height, angle,
                                        buffer);
}

int AlphaPicData24::draw_at(float origin_x, float origin_y, int view_width, int view_height,
                            RenderingBufferInterface& buffer) const {
    return alpha_sampling::draw_at(*this, origin_x, origin_y, view_width, view_height, true,
                                   buffer);
}

} // namespace pengui

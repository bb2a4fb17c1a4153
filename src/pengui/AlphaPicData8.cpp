#include "pengui/AlphaPicData8.h"

#include "pengui/AlphaSampling.h"
#include "pengui/ApicImage.h"

namespace pengui {

AlphaPicData8::AlphaPicData8(const ApicImage& image)
    : PicDataInterface(image.width, image.height), pixels_(image.pixels), palette_(image.palette) {}

int AlphaPicData8::draw(const Rect& view, RenderingBufferInterface& buffer) const {
    return alpha_sampling::draw_view(
        *this, view, buffer, [](std::uint8_t* d, const std::uint8_t* s, int a) {
            for (int c = 0; c < 3; ++c) {
                d[c] = static_cast<std::uint8_t>(d[c] + ((a * (s[c] - d[c])) >> 8));
            }
        });
}

int AlphaPicData8::draw_rotated(float origin_x, float origin_y, int view_width, int view_height,
                                float angle, RenderingBufferInterface& buffer) const {
    return alpha_sampling::draw_rotated(*this, origin_x, origin_y, view_width, view_height, angle,
                                        buffer);
}

int AlphaPicData8::draw_at(float origin_x, float origin_y, int view_width, int view_height,
                           RenderingBufferInterface& buffer) const {
    return alpha_sampling::draw_at(*this, origin_x, origin_y, view_width, view_height, false,
                                   buffer);
}

} // namespace pengui

#include "pengui/PicDataInterface.h"

#include "pengui/ViewClip.h"

#include <cmath>

namespace pengui {

int PicDataInterface::draw_rotated(float, float, int, int, float, RenderingBufferInterface&) const {
    return 0;
}

int PicDataInterface::draw_at(float origin_x, float origin_y, int view_width, int view_height,
                              RenderingBufferInterface& buffer) const {
    const double x = std::floor(static_cast<double>(origin_x));
    const double y = std::floor(static_cast<double>(origin_y));
    if (!(std::fabs(x) < far_away && std::fabs(y) < far_away)) {
        return 0;
    }
    const auto ix = static_cast<std::int64_t>(x);
    const auto iy = static_cast<std::int64_t>(y);
    return draw(clamped_rect(ix, iy, ix + view_width, iy + view_height), buffer);
}

} // namespace pengui

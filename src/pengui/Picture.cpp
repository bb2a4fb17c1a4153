#include "pengui/Picture.h"

#include "pengui/PicDataInterface.h"
#include "pengui/Rotation.h"
#include "pengui/ViewClip.h"

#include <cmath>
#include <cstdint>

namespace pengui {

namespace {

// Whether c lies on a whole pixel: exactly, or (both positive) so close that
// float rounding alone explains the difference.
bool integral(double c) {
    const double r = std::nearbyint(c);
    if (r == c) {
        return true;
    }
    return c > 0 && r > 0 && (r - c) * (r - c) / (c * r) < 1e-9;
}

} // namespace

void Picture::set_data(const PicDataInterface* data) {
    data_ = data;
    set_box(0, 0, width(), height());
}

void Picture::set_anchor(int ax, int ay) {
    const auto ax64 = std::int64_t{ax};
    const auto ay64 = std::int64_t{ay};
    const Rect box = clamped_rect(-ax64, -ay64, width() - ax64, height() - ay64);
    set_box(box.x0, box.y0, box.x1, box.y1);
}

int Picture::width() const {
    return data_ != nullptr ? data_->width() : 0;
}

int Picture::height() const {
    return data_ != nullptr ? data_->height() : 0;
}

int Picture::draw(const Rect& rect, RenderingBufferInterface& buffer) const {
    if (data_ == nullptr) {
        return 0;
    }
    const std::int64_t vx0 = std::int64_t{rect.x0} - x0;
    const std::int64_t vy0 = std::int64_t{rect.y0} - y0;
    // A view whose top-left leaves the int32 range shows nothing of a picture
    // smaller than 2^31 pixels on a side.
    if (vx0 != static_cast<std::int32_t>(vx0) || vy0 != static_cast<std::int32_t>(vy0)) {
        return 0;
    }
    return data_->draw(
        clamped_rect(vx0, vy0, std::int64_t{rect.x1} - x0, std::int64_t{rect.y1} - y0), buffer);
}

int Picture::draw_at(float x, float y, int view_width, int view_height,
                     RenderingBufferInterface& buffer) const {
    if (data_ == nullptr) {
        return 0;
    }
    const double ox = static_cast<double>(x) - x0;
    const double oy = static_cast<double>(y) - y0;
    if (!(std::fabs(ox) < far_away && std::fabs(oy) < far_away)) {
        return 0;
    }
    if (integral(ox) && integral(oy)) {
        const auto ix = static_cast<std::int64_t>(std::nearbyint(ox));
        const auto iy = static_cast<std::int64_t>(std::nearbyint(oy));
        return data_->draw(clamped_rect(ix, iy, ix + view_width, iy + view_height), buffer);
    }
    return data_->draw_at(static_cast<float>(ox), static_cast<float>(oy), view_width, view_height,
                          buffer);
}

int Picture::draw_rotated(float x, float y, int view_width, int view_height, float angle,
                          RenderingBufferInterface& buffer, float pivot) const {
    if (data_ == nullptr || !std::isfinite(angle)) {
        return 0;
    }
    if (std::fabs(angle) < 1e-9) {
        return draw_at(x, y, view_width, view_height, buffer);
    }
    // Whole pixel positions give an origin on the rotation's grid, which
    // reaches the data exactly.
    const Rotation turn(angle);
    const double px = static_cast<double>(x) - pivot;
    const double py = static_cast<double>(y) - pivot;
    const double ox = px * turn.c - py * turn.s - x0 + pivot;
    const double oy = px * turn.s + py * turn.c - y0 + pivot;
    if (!(std::fabs(ox) < far_away && std::fabs(oy) < far_away)) {
        return 0;
    }
    return data_->draw_rotated(static_cast<float>(ox), static_cast<float>(oy), view_width,
                               view_height, angle, buffer);
}

} // namespace pengui

#include "pengui/PictureFrames.h"

#include <algorithm>
#include <cmath>

namespace pengui {

void PictureFrames::set_count(int count) {
    frames_.assign(static_cast<std::size_t>(std::max(count, 0)), Frame{});
}

void PictureFrames::set(int index, const Picture& picture) {
    if (index >= 0 && index < count()) {
        frames_[index] = Frame{picture, true};
    }
}

const Picture* PictureFrames::get(int index) const {
    if (index < 0 || index >= count() || !frames_[index].loaded) {
        return nullptr;
    }
    return &frames_[index].picture;
}

int PictureFrames::index_of(double position) const {
    const double p = position > 0 ? std::min(position, 1.0) : 0.0;
    return static_cast<int>(std::floor(p * (count() - 1) + 0.5));
}

} // namespace pengui

namespace pengui {

void PictureFrames::draw(double position, const Rect& rect,
                         RenderingBufferInterface& buffer) const {
    if (const Picture* frame = get(index_of(position))) {
        frame->draw(rect, buffer);
    }
}

} // namespace pengui

#include "pengui/Switch.h"

#include "pengui/Messages.h"

namespace pengui {

void Switch::cancel() {
    if (captured_) {
        captured_ = false;
        release_mouse(0, 0);
    }
}

int Switch::on_redraw(const Redraw& message) {
    const Rect r = local(message.rect);
    if (has_background_) {
        background_.draw(r, *message.buffer);
    }
    positions_.draw(value(), r, *message.buffer);
    return 0;
}

int Switch::on_click(const MouseClick& message) {
    if (message.buttons == 0) {
        cancel();
        return 0;
    }
    if (!enabled() || captured_) {
        return 0;
    }
    const Rect point = local(message.rect);
    for (int i = 0; i < positions_.count(); ++i) {
        const Picture* picture = positions_.get(i);
        if (picture != nullptr && picture->contains(point.x0, point.y0)) {
            const int last = positions_.count() - 1;
            set_value_from_user(last > 0 ? static_cast<double>(i) / last : 0.0, gesture_priority);
            captured_ = capture_mouse(0);
            return 0;
        }
    }
    return 0;
}

int Switch::on_capture_lost(const MouseCaptureLost&) {
    captured_ = false;
    return 0;
}

} // namespace pengui

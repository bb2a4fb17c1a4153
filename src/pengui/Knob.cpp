#include "pengui/Knob.h"

#include "pengui/EventListenerInterface.h"
#include "pengui/Messages.h"
#include "pengui/ToolkitClock.h"

#include <cmath>

namespace pengui {

namespace {
constexpr double two_pi = 6.283185307179586;
} // namespace

void Knob::set_picture(PictureKind kind, const Picture& picture) {
    pictures_[kind] = picture;
    picture_flags_ |= 1 << kind;
}

void Knob::cancel() {
    behaviour_.stop();
    released_ = false;
}

int Knob::on_redraw(const Redraw& message) {
    const Rect r = local(message.rect);
    const int vw = r.x1 - r.x0;
    const int vh = r.y1 - r.y0;
    const double angle = (value() * angle_range_ + angle_offset_) * two_pi;
    const double dx = std::cos(angle) * pointer_radius_;
    const double dy = -std::sin(angle) * pointer_radius_;
    const int count = frames_.count();
    const double q =
        (angle / two_pi - frame_angle_offset_) / frame_angle_span_ + 0.5 / std::max(count, 1);
    const double k = (q - std::floor(q)) * count;
    const int index = std::isfinite(k) ? static_cast<int>(std::floor(k)) : 0;
    // Pictures turn about the centre of the knob's logical pixel.
    const auto pivot = static_cast<float>((scale().factor() - 1) / 2);
    if (const Picture* frame = frames_.get(index)) {
        if (rotate_frame_) {
            const double turn = (frame_angle_span_ / count) * (k - index - 0.5) * two_pi;
            frame->draw_rotated(static_cast<float>(r.x0), static_cast<float>(r.y0), vw, vh,
                                static_cast<float>(turn), *message.buffer, pivot);
        } else {
            frame->draw(r, *message.buffer);
        }
    }
    if ((picture_flags_ & (1 << pointer_picture)) != 0) {
        const auto px = static_cast<float>(r.x0 - dx);
        const auto py = static_cast<float>(r.y0 - dy);
        if (rotate_pointer_) {
            pictures_[pointer_picture].draw_rotated(px, py, vw, vh, static_cast<float>(angle),
                                                    *message.buffer, pivot);
        } else {
            pictures_[pointer_picture].draw_at(px, py, vw, vh, *message.buffer);
        }
    }
    if (focused() && (picture_flags_ & (1 << focus_picture)) != 0) {
        pictures_[focus_picture].draw(r, *message.buffer);
    }
    if (behaviour_.mode() == PotBehaviour::drag && button_held_ &&
        (picture_flags_ & (1 << drag_picture)) != 0) {
        pictures_[drag_picture].draw(r, *message.buffer);
    }
    return 0;
}

int Knob::on_click(const MouseClick& message) {
    if (message.buttons == 0) {
        release();
    } else if (enabled() && !(behaviour_.mode() != PotBehaviour::idle && !released_)) {
        press(message);
    }
    return 0;
}

void Knob::press(const MouseClick& message) {
    cancel();
    // The corners are judged on frame 0's picture, or on the bounding box
    // when the knob has none.
    const Picture* face = frames_.get(0);
    const double left =
        face != nullptr ? double(absolute_x()) + face->x0 : double(absolute_x()) + x0;
    const double top =
        face != nullptr ? double(absolute_y()) + face->y0 : double(absolute_y()) + y0;
    const double w = face != nullptr ? face->width() : double(x1) - x0;
    const double h = face != nullptr ? face->height() : double(y1) - y0;
    const double nx = w > 0 ? (message.x - left) / w : 0.5;
    const double ny = h > 0 ? (message.y - top) / h : 0.5;
    const int sign = angle_range_ > 0 ? 1 : (angle_range_ < 0 ? -1 : 0);
    int direction = 0;
    if (ny - nx > 2.0 / 3) {
        direction = sign;
    } else if (nx + ny > 5.0 / 3) {
        direction = -sign;
    }
    button_held_ = true;
    press_x_ = message.x;
    if (direction == 0) {
        behaviour_.start_drag(value());
    } else {
        spin_speed_ = direction * static_cast<double>(spin_speed_factor_);
        behaviour_.start_spin();
    }
    invalidate();
}

void Knob::release() {
    const bool was_drag = behaviour_.mode() == PotBehaviour::drag;
    if (listener() != nullptr) {
        listener()->gesture_ended(gesture_priority);
    }
    behaviour_.release_capture(absolute_x(), absolute_y());
    released_ = true;
    button_held_ = false;
    if (was_drag) {
        invalidate();
    }
}

int Knob::on_mouse_move(const MouseMove& message) {
    // Once the button is up the moves are the pointer's place again, not
    // movements: the window puts the cursor back on release, and that
    // arrives as a move while the value still settles.
    if (behaviour_.mode() == PotBehaviour::drag && button_held_) {
        if (behaviour_.drag_move(message.x, message.y, ToolkitClock::now()) &&
            !set_value_from_user(behaviour_.value(), gesture_priority)) {
            cancel();
        }
    } else if (behaviour_.mode() == PotBehaviour::spin) {
        behaviour_.spin_move(message.x, press_x_);
    }
    return 0;
}

int Knob::on_timer(const Notify& message) {
    if (behaviour_.tick(message.time, released_)) {
        if (!set_value_from_user(behaviour_.value(),
                                 button_held_ ? gesture_priority : settle_priority)) {
            cancel();
        }
    } else if (released_) {
        cancel();
    }
    return 0;
}

int Knob::on_capture_lost(const MouseCaptureLost&) {
    behaviour_.capture_lost();
    return 0;
}

} // namespace pengui

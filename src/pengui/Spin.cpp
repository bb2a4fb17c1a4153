#include "pengui/Spin.h"

#include "pengui/Messages.h"
#include "pengui/ToolkitClock.h"

#include <algorithm>

namespace pengui {

namespace {
constexpr double repeat_delay = 0.5;
constexpr double fast_delay = 2.0;
constexpr float first_period = 0.1f;
constexpr float fast_period = 0.03f;
constexpr double drag_step = 1.0 / 180;
} // namespace

void Spin::set_picture(Part part, const Picture& picture) {
    pictures_[part] = picture;
    picture_flags_ |= 1 << part;
}

bool Spin::hit(Part part, const Rect& point) const {
    return (picture_flags_ & (1 << part)) != 0 && pictures_[part].contains(point.x0, point.y0);
}

void Spin::cancel() {
    // The pressed picture goes with the gesture: a release repaints at once.
    if (active_ != none) {
        active_ = none;
        invalidate();
    }
    stop_timer(timer_id_);
    stage_ = 0;
    // Only a holder gives the mouse back: another control may hold it now.
    if (captured_) {
        captured_ = false;
        release_mouse(press_x_, press_y_);
    }
}

void Spin::step(double delta) {
    if (!set_value_from_user(std::clamp(value() + delta, 0.0, 1.0), gesture_priority)) {
        cancel();
    }
}

int Spin::on_click(const MouseClick& message) {
    if (message.buttons == 0) {
        cancel();
        return 0;
    }
    if (!enabled()) {
        return 0;
    }
    cancel();
    const Rect point = local(message.rect);
    const bool up = hit(up_normal, point);
    const bool handle = hit(handle_normal, point);
    const bool down = hit(down_normal, point);
    if (handle && (handle_on_top_ || (!up && !down))) {
        active_ = handle_dragged;
        press_x_ = message.x;
        press_y_ = message.y;
        captured_ = capture_mouse(2);
    } else if (up || down) {
        captured_ = capture_mouse(0);
        if (start_timer(first_period, timer_id_)) {
            start_time_ = ToolkitClock::now();
        }
        active_ = up ? up_held : down_held;
        step(up ? slow_step_ : -slow_step_);
    }
    invalidate();
    return 0;
}

int Spin::on_mouse_move(const MouseMove& message) {
    if (active_ == handle_dragged) {
        step(-message.y * drag_step);
    }
    return 0;
}

int Spin::on_timer(const Notify& message) {
    if (active_ != up_held && active_ != down_held) {
        return 0;
    }
    const double direction = active_ == up_held ? 1.0 : -1.0;
    const double elapsed = message.time - start_time_;
    double delta = 0;
    if (stage_ == 0) {
        if (elapsed > repeat_delay) {
            stage_ = 1;
        }
        return 0;
    }
    if (stage_ == 1) {
        delta += slow_step_;
        if (elapsed > fast_delay) {
            stage_ = 2;
        }
    }
    if (stage_ == 2) {
        stop_timer(timer_id_);
        start_timer(fast_period, timer_id_);
        delta += fast_step_;
    }
    step(direction * delta);
    return 0;
}

int Spin::on_capture_lost(const MouseCaptureLost&) {
    captured_ = false;
    return 0;
}

void Spin::draw_part(Part normal, bool pressed, const Redraw& message) const {
    const Part other = static_cast<Part>(normal + 1);
    if ((picture_flags_ & (1 << normal)) != 0 && (picture_flags_ & (1 << other)) != 0) {
        pictures_[pressed ? other : normal].draw(local(message.rect), *message.buffer);
    }
}

int Spin::on_redraw(const Redraw& message) {
    if (!handle_on_top_) {
        draw_part(handle_normal, active_ == handle_dragged, message);
    }
    draw_part(up_normal, active_ == up_held, message);
    draw_part(down_normal, active_ == down_held, message);
    if (handle_on_top_) {
        draw_part(handle_normal, active_ == handle_dragged, message);
    }
    return 0;
}

} // namespace pengui

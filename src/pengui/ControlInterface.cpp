#include "pengui/ControlInterface.h"

#include "pengui/CtrlGroupItem.h"
#include "pengui/EventListenerInterface.h"
#include "pengui/Messages.h"

namespace pengui {

bool ControlInterface::contains(std::int32_t x, std::int32_t y) const {
    const std::int64_t lx = std::int64_t{x} - abs_x_;
    const std::int64_t ly = std::int64_t{y} - abs_y_;
    if (lx != static_cast<std::int32_t>(lx) || ly != static_cast<std::int32_t>(ly)) {
        return false;
    }
    return BoundingBoxDefaultChecker::contains(static_cast<std::int32_t>(lx),
                                               static_cast<std::int32_t>(ly));
}

bool ControlInterface::overlaps(const Rect& r) const {
    if (x0 >= x1 || y0 >= y1) {
        return false;
    }
    return std::int64_t{abs_x_} + x0 < r.x1 && r.x0 < std::int64_t{abs_x_} + x1 &&
           std::int64_t{abs_y_} + y0 < r.y1 && r.y0 < std::int64_t{abs_y_} + y1;
}

Rect ControlInterface::local(const Rect& r) const {
    return clamped_rect(std::int64_t{r.x0} - abs_x_, std::int64_t{r.y0} - abs_y_,
                        std::int64_t{r.x1} - abs_x_, std::int64_t{r.y1} - abs_y_);
}

int ControlInterface::invalidate() {
    return invalidate_self();
}

int ControlInterface::invalidate_self() {
    if (!shown_) {
        return 0;
    }
    return handle(Invalidate(clamped_rect(std::int64_t{abs_x_} + x0, std::int64_t{abs_y_} + y0,
                                          std::int64_t{abs_x_} + x1, std::int64_t{abs_y_} + y1)));
}

int ControlInterface::forward_up(const MessageInterface& m) {
    return group_ != nullptr ? group_->handle(m) : -1;
}

int ControlInterface::on_invalidate(const Invalidate& m) {
    return forward_up(m);
}
int ControlInterface::on_redraw(const Redraw&) {
    return -1;
}
int ControlInterface::on_capture(const MouseCapture& m) {
    return forward_up(m);
}
int ControlInterface::on_release(const MouseRelease& m) {
    return forward_up(m);
}
int ControlInterface::on_capture_lost(const MouseCaptureLost&) {
    return -1;
}
int ControlInterface::on_mouse_move(const MouseMove&) {
    return -1;
}
int ControlInterface::on_click(const MouseClick&) {
    return -1;
}
int ControlInterface::on_set_timer(const SetTimer& m) {
    return forward_up(m);
}
int ControlInterface::on_clear_timer(const ClearTimer& m) {
    return forward_up(m);
}
int ControlInterface::on_timer(const Notify&) {
    return -1;
}
int ControlInterface::on_key(const KeyPressed&) {
    return -1;
}
int ControlInterface::on_text_input_finished(const TextInputFinished&) {
    return -1;
}
int ControlInterface::on_show(const ShowObject&) {
    return -1;
}

int ControlInterface::handle(const MessageInterface& m) {
    if (listener_ != nullptr) {
        listener_->before_message(m);
    }
    int result = -1;
    if (const auto* inv = dynamic_cast<const Invalidate*>(&m)) {
        result = on_invalidate(*inv);
    } else if (const auto* redraw = dynamic_cast<const Redraw*>(&m)) {
        result = shown_ ? on_redraw(*redraw) : 0;
    } else if (const auto* capture = dynamic_cast<const MouseCapture*>(&m)) {
        result = on_capture(*capture);
    } else if (const auto* release = dynamic_cast<const MouseRelease*>(&m)) {
        result = on_release(*release);
    } else if (const auto* lost = dynamic_cast<const MouseCaptureLost*>(&m)) {
        result = on_capture_lost(*lost);
    } else if (const auto* move = dynamic_cast<const MouseMove*>(&m)) {
        result = on_mouse_move(*move);
    } else if (const auto* click = dynamic_cast<const MouseClick*>(&m)) {
        if (click->buttons != 0) {
            focused_ = true;
            if (listener_ != nullptr) {
                listener_->focus_gained();
            }
            focus_changed(true);
        }
        result = on_click(*click);
    } else if (const auto* set = dynamic_cast<const SetTimer*>(&m)) {
        result = on_set_timer(*set);
    } else if (const auto* clear = dynamic_cast<const ClearTimer*>(&m)) {
        result = on_clear_timer(*clear);
    } else if (const auto* notify = dynamic_cast<const Notify*>(&m)) {
        result = on_timer(*notify);
    } else if (const auto* key = dynamic_cast<const KeyPressed*>(&m)) {
        result = on_key(*key);
    } else if (const auto* finished = dynamic_cast<const TextInputFinished*>(&m)) {
        result = on_text_input_finished(*finished);
    } else if (const auto* show = dynamic_cast<const ShowObject*>(&m)) {
        shown_ = show->visible;
        result = on_show(*show);
        if (!shown_) {
            cancel();
        }
    } else if (dynamic_cast<const MessageUp*>(&m) != nullptr) {
        result = forward_up(m);
    }
    if (listener_ != nullptr) {
        listener_->after_message(m);
    }
    return result;
}

void ControlInterface::set_listener(EventListenerInterface* listener) {
    listener_ = listener;
    if (listener_ != nullptr) {
        listener_->attach(this);
    }
}

void ControlInterface::set_position_in_group(std::int32_t x, std::int32_t y) {
    group_x_ = x;
    group_y_ = y;
    if (group_ != nullptr && shown_) {
        place_in(group_->x(), group_->y());
    }
}

void ControlInterface::place_in(std::int32_t gx, std::int32_t gy) {
    abs_x_ = clamp32(std::int64_t{gx} + group_x_);
    abs_y_ = clamp32(std::int64_t{gy} + group_y_);
}

bool ControlInterface::set_value(double value, int priority, bool from_user) {
    if (listener_ != nullptr) {
        if (!listener_->accept_change(priority)) {
            return false;
        }
        value = from_user ? listener_->map_value_from_user(value, priority)
                          : listener_->map_value_from_outside(value, priority);
        value = listener_->map_value_for_storing(value, priority);
    }
    value_ = value;
    if (redraw_on_value_change_ || !from_user) {
        invalidate();
    }
    return true;
}

bool ControlInterface::set_value_from_user(double value, int priority) {
    return set_value(value, priority, true);
}

bool ControlInterface::set_value_from_outside(double value, int priority) {
    return set_value(value, priority, false);
}

void ControlInterface::clear_focus() {
    focused_ = false;
    if (listener_ != nullptr) {
        listener_->focus_lost();
    }
    focus_changed(false);
}

void ControlInterface::disable() {
    enable_changed(false);
    cancel();
    enabled_ = false;
}

bool ControlInterface::start_timer(float period, int& id) {
    int new_id = -1;
    if (handle(SetTimer(*this, period, &new_id)) != 0) {
        return false;
    }
    id = new_id;
    return true;
}

void ControlInterface::stop_timer(int& id) {
    if (id != -1) {
        handle(ClearTimer(id));
        id = -1;
    }
}

bool ControlInterface::capture_mouse(int mode) {
    return handle(MouseCapture(*this, mode)) == 0;
}

void ControlInterface::release_mouse(std::int32_t x, std::int32_t y) {
    handle(MouseRelease(*this, x, y));
}

} // namespace pengui

#include "pengui/FlipFlop.h"

#include "pengui/Messages.h"
#include "pengui/ToolkitClock.h"

#include <algorithm>
#include <cmath>

namespace pengui {

int FlipFlop::on_redraw(const Redraw& message) {
    frames_.draw(shown_position(), local(message.rect), *message.buffer);
    return 0;
}

int FlipFlop::on_click(const MouseClick& message) {
    if (message.buttons == 0 || !enabled()) {
        return 0;
    }
    cancel();
    position_ = value();
    set_value_from_user(1 - std::round(value()), gesture_priority);
    if (duration_ < 1e-9) {
        position_ = value();
        invalidate();
    } else if (start_timer(timer_period, timer_id_)) {
        start_time_ = ToolkitClock::now();
    }
    return 0;
}

int FlipFlop::on_timer(const Notify& message) {
    const double t = message.time - start_time_;
    if (t >= duration_) {
        position_ = std::clamp(value(), 0.0, 1.0);
        cancel();
    } else {
        const double f = t / duration_;
        position_ = value() >= 0.5 ? f : 1 - f;
    }
    invalidate();
    return 0;
}

} // namespace pengui

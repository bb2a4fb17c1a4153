#include "pengui/PushButton.h"

#include "pengui/EventListenerInterface.h"
#include "pengui/Messages.h"
#include "pengui/ToolkitClock.h"

namespace pengui {

void PushButton::cancel() {
    stop_timer(timer_id_);
}

int PushButton::on_redraw(const Redraw& message) {
    frames_.draw(position_, local(message.rect), *message.buffer);
    return 0;
}

int PushButton::on_click(const MouseClick& message) {
    if (message.buttons == 0 || !enabled()) {
        return 0;
    }
    cancel();
    if (listener() != nullptr) {
        listener()->action(EventListenerInterface::action_pressed, 0);
    }
    if (start_timer(timer_period, timer_id_)) {
        start_time_ = ToolkitClock::now();
    }
    return 0;
}

int PushButton::on_timer(const Notify& message) {
    const double t = message.time - start_time_;
    if (t >= duration_) {
        position_ = 0;
        cancel();
    } else if (t > duration_ / 2) {
        position_ = (1 - t / duration_) * 2;
    } else {
        position_ = t * 2 / duration_;
    }
    invalidate();
    return 0;
}

} // namespace pengui

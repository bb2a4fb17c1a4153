#include "mppi/binding/PresetNumberListener.h"

#include "mppi/binding/PresetListenerRefList.h"
#include "mppi/binding/PresetMemListener.h"
#include "mppi/binding/PresetTimeFaderListener.h"
#include "mppi/preset/ProgStLdInterface.h"
#include "pengui/ControlInterface.h"
#include "pengui/Messages.h"
#include "pengui/ToolkitClock.h"

#include <algorithm>
#include <cmath>

namespace mppi {

void PresetNumberListener::action(int kind, int) {
    if (kind != action_pressed || refs_ == nullptr || refs_->interpolator() == nullptr) {
        return;
    }
    PresetMemListener* mem = refs_->mem();
    if (mem != nullptr && mem->store_mode()) {
        store();
        mem->leave_store_mode();
    } else {
        recall();
    }
}

void PresetNumberListener::store() {
    ProgramSlot current;
    refs_->interpolator()->capture(current);
    refs_->interpolator()->store_to_bank(index_, current);
}

void PresetNumberListener::recall() {
    for (int i = 0; i < PresetListenerRefList::nbr_programs; ++i) {
        if (PresetNumberListener* other = refs_->number(i)) {
            other->stop_timer();
        }
    }
    ProgStLdInterface& seam = *refs_->interpolator();
    seam.capture(from_);
    seam.load_from_bank(index_, to_);
    start_time_ = pengui::ToolkitClock::now();
    pengui::ControlInterface* button = attached_control();
    int id = -1;
    if (button != nullptr && button->handle(pengui::SetTimer(*this, tick_period, &id)) == 0) {
        timer_id_ = id;
    }
}

void PresetNumberListener::stop_timer() {
    if (timer_id_ == -1) {
        return;
    }
    if (pengui::ControlInterface* button = attached_control()) {
        button->handle(pengui::ClearTimer(timer_id_));
    }
    timer_id_ = -1;
}

int PresetNumberListener::handle(const pengui::MessageInterface& message) {
    const auto* tick = dynamic_cast<const pengui::Notify*>(&message);
    if (tick == nullptr || tick->id != timer_id_) {
        return -1;
    }
    // Read at every tick: turning the knob during a morph changes its pace.
    const PresetTimeFaderListener* fader = refs_->time_fader();
    const double morph_time = fader != nullptr ? fader->morph_time() : 0.0;
    const double elapsed = tick->time - start_time_;
    const double x = std::abs(morph_time) < 1e-9 ? 1.0 : std::clamp(elapsed / morph_time, 0.0, 1.0);
    refs_->interpolator()->send(from_, to_, x);
    if (morph_time <= elapsed) {
        stop_timer();
    }
    return 0;
}

} // namespace mppi

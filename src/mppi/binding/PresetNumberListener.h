#pragma once

#include "mppi/binding/GenericPresetListener.h"
#include "mppi/preset/ProgramSlot.h"
#include "pengui/MessageHandlerInterface.h"

#include <cstdint>

namespace mppi {

// One program button of the preset panel. A press recalls memory `index`
// with a timed morph from the current sound, or stores the current sound into
// it while the store-mode switch is on. The morph runs on a 0.1 s window
// timer whose ticks this listener receives. Everything runs on the editor
// thread.
class PresetNumberListener : public pengui::MessageHandlerInterface, public GenericPresetListener {
public:
    static constexpr float tick_period = 0.1f;

    // [editor thread]
    void set_index(std::int32_t index) { index_ = index; }
    std::int32_t index() const { return index_; }
    // [editor thread] Kind 0 (pressed) stores or recalls; other kinds are ignored.
    void action(int kind, int data) override;
    // [editor thread] A timer tick: the next step of the morph.
    int handle(const pengui::MessageInterface& message) override;
    // [editor thread] Stops every program listener's morph, then captures
    // the current sound, takes the memory and asks for the timer. Without a
    // timer nothing is ever sent.
    void recall();
    // [editor thread] Stores the current sound, name included, into the memory.
    void store();
    // [editor thread] Clears the running timer, if any.
    void stop_timer();
    // [editor thread] The running timer's id, -1 when none runs.
    std::int32_t timer_id() const { return timer_id_; }

private:
    std::int32_t index_ = 0;
    std::int32_t timer_id_ = -1;
    double start_time_ = 0;
    ProgramSlot from_;
    ProgramSlot to_;
};

} // namespace mppi

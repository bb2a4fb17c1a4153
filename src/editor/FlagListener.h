#pragma once

#include "editor/GuiPart.h"
#include "mppi/binding/ListenerBase.h"

#include <cstdint>

namespace editor {

// The flags parameter's binding: the flags are written one bit at a time,
// each write made different from the last by a random fraction below 0.25,
// and a change of the flags sets the three flag switches from their bits.
//
// Everything runs on the editor thread.
class FlagListener : public mppi::ListenerBase, public GuiPart {
public:
    static constexpr int bit_sustain = 4;
    static constexpr int bit_delay2 = 5;
    static constexpr int bit_beats = 6;

    // [editor thread] The user never writes the flags whole.
    double map_value_from_user(double value, int) override { return value; }
    // [editor thread] The flag switches show the bits.
    double map_value_from_outside(double value, int priority) override;

    // [editor thread] Writes one bit with priority 200; the time-unit bit
    // also tells every part that the unit changed.
    void set_bit(int bit, bool on);
    // [editor thread] 2 when the second line is on (bit 5), else 1.
    int delay2_state() const;

private:
    int bits() const;

    std::int32_t seed_ = 1;
};

} // namespace editor

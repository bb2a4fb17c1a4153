#include "editor/FlagListener.h"

#include "editor/GuiMisc.h"
#include "editor/ZentrovaGui.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/NormalizedParamInterface.h"

#include <cmath>

namespace editor {

namespace {
// The Park-Miller generator: seed x 16807 mod (2^31 - 1).
constexpr std::int64_t modulus = 2147483647;
constexpr std::int64_t multiplier = 16807;
} // namespace

int FlagListener::bits() const {
    return get_param() != nullptr ? static_cast<int>(std::floor(get_param()->get_internal())) : 0;
}

int FlagListener::delay2_state() const {
    return (bits() & (1 << bit_delay2)) != 0 ? 2 : 1;
}

double FlagListener::map_value_from_outside(double value, int priority) {
    if (gui_ != nullptr && get_param() != nullptr) {
        const int b = static_cast<int>(std::floor(get_param()->to_internal(float(value))));
        gui_->misc().show_flags(b, priority);
    }
    return value;
}

void FlagListener::set_bit(int bit, bool on) {
    if (get_param() == nullptr || get_host() == nullptr) {
        return;
    }
    int b = static_cast<int>(std::floor(get_param()->get_internal() + 0.5));
    b = on ? b | (1 << bit) : b & ~(1 << bit);
    seed_ = static_cast<std::int32_t>(std::int64_t(seed_) * multiplier % modulus);
    const auto value = static_cast<float>((b + seed_ * 0.25 / double(modulus)) / 256.0);
    get_host()->set_param(get_index(), value, 200);
    if (bit == bit_beats && gui_ != nullptr) {
        gui_->time_unit_changed();
    }
}

} // namespace editor

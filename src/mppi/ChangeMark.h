#pragma once

#include <atomic>

namespace mppi {

// Takes a change mark that the editor thread sets: true once per setting.
// The plain load comes first, so that the audio thread pays for the locked
// exchange only when something changed, not at every control tick; a mark
// set after the load is taken at the next call, as if set after the exchange.
inline bool take_change(std::atomic<bool>& mark,
                        std::memory_order order = std::memory_order_relaxed) noexcept {
    return mark.load(std::memory_order_relaxed) && mark.exchange(false, order);
}

} // namespace mppi

#include "mppi/NormalizedParamInterface.h"

namespace mppi {

void NormalizedParamInterface::init(double internal, int attribute) {
    normalized_.store(static_cast<float>(to_normalized(internal)), std::memory_order_relaxed);
    internal_.store(internal, std::memory_order_relaxed);
    attribute_ = attribute;
}

void NormalizedParamInterface::set_normalized(float normalized) noexcept {
    normalized_.store(normalized, std::memory_order_relaxed);
    internal_.store(to_internal(normalized), std::memory_order_relaxed);
    update();
    notify_target();
}

void NormalizedParamInterface::set_internal(double internal) noexcept {
    normalized_.store(static_cast<float>(to_normalized(internal)), std::memory_order_relaxed);
    internal_.store(internal, std::memory_order_relaxed);
    update();
    notify_target();
}

} // namespace mppi

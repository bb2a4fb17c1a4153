#pragma once

#include "mppi/ParamNumbered.h"

namespace effect {

// A numbered parameter whose name prefix comes from a mix-in ("D", "Tap ").
template <class Mixin>
class NumberedParam : public mppi::ParamNumbered, public Mixin {
public:
    std::string get_prefix() const override { return Mixin::prefix(); }
};

// Delay-line parameters: D1 ..., D2 ...
struct ParamDlyMixin {
    static std::string prefix() { return "D"; }
};

// Tap parameters: Tap 1 ... Tap 4 ...
struct ParamTapMixin {
    static std::string prefix() { return "Tap "; }
};

} // namespace effect

#pragma once

#include "mppi/CubicTable.h"

namespace mppi {

// S(x) ~ sin(pi * x / 8) for x in [0, 16), from 16 cubic segments; arguments
// of 16 or more wrap. Built once per process, on first use.
class SineTable {
public:
    // [any thread]
    static double eval(double x) noexcept;

private:
    static const CubicTable<double>& table() noexcept;
};

} // namespace mppi

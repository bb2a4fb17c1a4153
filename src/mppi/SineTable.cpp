#include "mppi/SineTable.h"

namespace mppi {

const CubicTable<double>& SineTable::table() noexcept {
    static const CubicTable<double> t([](double i) { return std::sin(M_PI * i / 8.0); });
    return t;
}

double SineTable::eval(double x) noexcept {
    x = std::fmod(x, 16.0);
    if (x < 0.0)
        x += 16.0;
    int i = static_cast<int>(x);
    if (i > 15)
        i = 15;
    return table().eval(i, x);
}

} // namespace mppi

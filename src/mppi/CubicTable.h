#pragma once

#include <cmath>

namespace mppi {

// A curve over u in [0, 16) made of 16 cubic Hermite segments between the
// knots f(0), f(1), ..., f(16), with slopes taken as central differences of
// f over +-2^-11. Each segment is stored as the cubic of the absolute
// coordinate, so evaluating segment i at u needs no subtraction of the knot.
template <typename T>
class CubicTable {
public:
    static constexpr int segments = 16;

    template <typename F>
    explicit CubicTable(F f) {
        const double h = 1.0 / 2048.0;
        for (int i = 0; i < segments; ++i) {
            const double y0 = f(double(i));
            const double y1 = f(double(i + 1));
            const double d0 = (f(i + h) - f(i - h)) * 1024.0;
            const double d1 = (f(i + 1 + h) - f(i + 1 - h)) * 1024.0;
            // The cubic in t = u - i ...
            const double a0 = y0;
            const double a1 = d0;
            const double a2 = 3.0 * (y1 - y0) - 2.0 * d0 - d1;
            const double a3 = 2.0 * (y0 - y1) + d0 + d1;
            // ... rewritten in u.
            const double k = i;
            c_[i][3] = T(a3);
            c_[i][2] = T(a2 - 3.0 * a3 * k);
            c_[i][1] = T(a1 - 2.0 * a2 * k + 3.0 * a3 * k * k);
            c_[i][0] = T(a0 - a1 * k + a2 * k * k - a3 * k * k * k);
        }
    }

    // The four coefficients of segment `i`, constant term first; 16-byte aligned.
    const T* row(int i) const noexcept { return c_[i]; }

    // Segment `i` (0..15) evaluated at u.
    T eval(int i, T u) const noexcept {
        const T* c = c_[i];
        return ((c[3] * u + c[2]) * u + c[1]) * u + c[0];
    }

private:
    alignas(16) T c_[segments][4];
};

} // namespace mppi

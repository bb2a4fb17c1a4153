#include "mppi/preset/ProgStLdDefault.h"

#include "mppi/preset/ProgramSlot.h"

namespace mppi {

int ProgStLdDefault::interpolate(ProgramSlot& out, const ProgramSlot& from, const ProgramSlot& to,
                                 double position) {
    // Taken before resizing: `out` may be `from`.
    const int nbr_from = from.get_nbr_values();
    const int nbr_to = to.get_nbr_values();
    out.set_nbr_values(nbr_to);
    for (int i = 0; i < nbr_to; ++i) {
        const double b = to.get_value(i);
        const double a = i < nbr_from ? from.get_value(i) : b;
        out.set_value(i, static_cast<float>(a + position * (b - a)));
    }
    out.extra() = to.extra();
    return 0;
}

} // namespace mppi

#pragma once

#include "mppi/preset/ProgStLdInterface.h"

namespace mppi {

// Mixes every value linearly; used when the editor supplies no interpolator.
class ProgStLdDefault : public ProgStLdInterface {
public:
    using ProgStLdInterface::ProgStLdInterface;

    // out gets as many values as `to`, each from + position * (to - from)
    // computed in double, and `to`'s extra data. Where `from` holds fewer
    // values than `to` (a damaged program), the missing ones count as equal
    // to the target's, so those values jump straight to it. Always 0.
    int interpolate(ProgramSlot& out, const ProgramSlot& from, const ProgramSlot& to,
                    double position) override;
};

} // namespace mppi

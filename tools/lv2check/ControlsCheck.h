#pragma once

#include "CheckContext.h"
#include "Report.h"

// Control ports as hosts and their automation move them: every port to a
// random value of its range before every block, then garbage (not-a-number,
// infinities, ±1e30, subnormals, values outside the range). The output stays
// finite and within what the design allows, and the program the plug-in
// saves holds values it can restore.
class ControlsCheck {
public:
    explicit ControlsCheck(const CheckContext& context) : c_(context) {}
    void run(Report& report);

private:
    const CheckContext& c_;
};

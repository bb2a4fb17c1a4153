#pragma once

#include "mppi/NormalizedParamInterface.h"

#include <string>

// A value typed for a parameter on the command line, read as the editor reads
// it. The parameter's own parser limits and ignores what it cannot use; a
// user of the command line is told.
struct TypedValue {
    float normalized = 0.0f;
    // One sentence when the value was limited or carried text the parameter
    // ignored; empty when the text meant exactly the value taken.
    std::string warning;
};

// False when the parameter takes no such value.
bool read_typed_value(const mppi::NormalizedParamInterface& param, const std::string& text,
                      TypedValue& value);

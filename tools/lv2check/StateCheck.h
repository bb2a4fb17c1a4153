#pragma once

#include "CheckContext.h"
#include "Report.h"

// The state interface as sessions use it, and with records a session file
// could hold after damage: a save restored into a second instance gives the
// same record and plays bit for bit the same; truncated, mistyped and random
// records are refused or taken within range, never read past their end.
class StateCheck {
public:
    explicit StateCheck(const CheckContext& context) : c_(context) {}
    void run(Report& report);

private:
    const CheckContext& c_;
};

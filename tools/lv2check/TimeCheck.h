#pragma once

#include "CheckContext.h"
#include "Report.h"

// The time port as hosts fill it, and as a faulty or hostile one might:
// positions with odd tempos (float and double), then malformed sequences
// (wrong types, truncated events, sizes that claim more than holds them,
// lies nested inside objects) and thousands of random and damaged ones, each
// in memory that ends where a read past its stated end would fault.
class TimeCheck {
public:
    explicit TimeCheck(const CheckContext& context) : c_(context) {}
    void run(Report& report);

private:
    const CheckContext& c_;
};

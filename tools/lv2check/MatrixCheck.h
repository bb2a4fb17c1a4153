#pragma once

#include "CheckContext.h"
#include "Report.h"

// Hosts' ways of running a plug-in: sample rates from 1 Hz to 768 kHz (and
// the refusal of rates no engine serves), every block size from 0 to 16384
// and random ones, in-place buffers, ports reconnected between runs,
// deactivation and activation, a hundred instances at once, and a thousand
// created and destroyed with resident memory staying flat.
class MatrixCheck {
public:
    explicit MatrixCheck(const CheckContext& context) : c_(context) {}
    void run(Report& report);

private:
    void rate(double rate, int preset, Report& report);
    void refused_rates(Report& report);
    void many_instances(Report& report);
    void create_and_destroy(Report& report);

    const CheckContext& c_;
};

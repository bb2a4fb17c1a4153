#pragma once

#include "CallTimes.h"
#include "OutputMeter.h"
#include "Report.h"
#include "SoakTarget.h"

#include <cstdint>

// Seeded random automation: noise in, one in-range change of a random
// parameter before every block, a preset every few seconds and a new tempo
// now and then, for a given wall-clock time. It counts output samples that
// are not finite, above the ceiling the design keeps or subnormal,
// allocations inside the processing call, and that call's CPU time.
class Soak {
public:
    struct Settings {
        double rate = 48000.0;
        std::uint32_t block = 256;
        std::uint32_t seed = 1;
        double minutes = 1.0;
        // How far input noise goes (within ±amplitude).
        float amplitude = 0.5f;
        // Stop after this many calls instead (0: run for `minutes`).
        long calls = 0;
        // Calls whose changes and output peak are printed, to retrace a finding.
        long trace_from = -1, trace_to = -1;
    };

    // What a line's output never exceeds, whatever the program: the loop's
    // ceiling (the distortion stage's gain correction holds it).
    static constexpr double loop_ceiling = 4.0;
    // Output within this is always accepted (+12 dBFS).
    static constexpr double output_floor_ceiling = 3.981;

    // The largest output sample the design allows for input within ±peak under
    // these levels: the pre-delay path's gain (pre-delay level times every
    // tap's gain, a hard-panned tap passing both inputs to one side; a tap
    // level under an LFO anywhere within 0..1) plus the lines' output gains
    // times the loop's ceiling; never below +12 dBFS.
    static double ceiling(const SoakTarget::Levels& levels, double peak);

    Soak(SoakTarget& target, const Settings& settings) : target_(target), settings_(settings) {}
    // Runs and reports; false when anything was out of bounds.
    bool run(Report& report);

private:
    void trace(long call, const char* what, double limit) const;

    SoakTarget& target_;
    Settings settings_;
    OutputMeter meter_;
    CallTimes times_;
    // The calls no other thread or the kernel's paging interrupted.
    CallTimes undisturbed_;
};

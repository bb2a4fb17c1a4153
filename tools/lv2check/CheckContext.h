#pragma once

#include "PortMap.h"
#include "support/LilvHost.h"

#include <cstdint>
#include <vector>

// What every check works with: the host, the plug-in and its ports, the
// seed of its random choices.
struct CheckContext {
    LilvHost& host;
    const LilvPlugin* plugin;
    const PortMap& ports;
    std::uint32_t seed;
};

// The case a check is running, told when the process is stopped by a fault
// (a read past a guarded buffer, say).
void set_current_case(const char* text) noexcept;
// From then on, a segmentation fault or bus error prints the current case
// and ends the process with status 1.
void report_faults_with_case();

// A block of white noise within ±amplitude.
std::vector<float> noise(std::uint32_t frames, float amplitude, std::uint32_t& state);

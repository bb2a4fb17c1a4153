#pragma once

#include "Options.h"
#include "PluginModule.h"

#include "mppi/preset/BankManager.h"

#include <string>

namespace mppi {
class DspInterface;
}

// Setting the filter's program from the command line: presets, banks, states
// and typed values, all through the filter's host paths with the priority of
// a host change. Each throws UsageError naming the option or file at fault.

std::string lower(std::string text);
// One line on stderr that does not stop the command.
void warn(const std::string& sentence);
// A bank file that holds at least one program.
mppi::BankManager read_bank(const std::string& path);
std::string module_path(const Options& o);

// The index of the parameter of that full name (case ignored); throws
// UsageError naming it when there is none.
int find_param(mppi::DspInterface& dsp, const std::string& name);

// One change of the program: a whole preset, or one parameter's value.
struct Change {
    int preset = -1;
    int param = -1;
    float normalized = 0.0f;
};

// Reads "NAME=TEXT", or preset=NAME|INDEX, given to `option` as the change it
// makes, warning when a typed value was limited or partly ignored.
Change read_change(PluginModule& module, const std::string& name, const std::string& text,
                   const char* option);
void make_change(PluginModule& module, const Change& change);

// Everything that sets the filter's program, in the order a user expects:
// a whole program first, then single values on top.
void configure(PluginModule& module, const Options& o);

// Whether the program holds its loop (the sustain flag, shown as "SL").
bool holds_loop(mppi::DspInterface& dsp);

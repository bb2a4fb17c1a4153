#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Bad usage or bad input: one plain sentence for the user, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the commands read from their arguments.
struct Options {
    std::string command;                                   // render, presets, params, bank
    std::vector<std::string> operands;                     // files and subcommands, in order
    std::string module;                                    // --module PATH
    std::string preset;                                    // --preset NAME|INDEX
    std::string bank;                                      // --bank FILE
    int program = -1;                                      // --program N
    std::string state;                                     // --state FILE
    std::string save_state;                                // --save-state FILE
    std::vector<std::pair<std::string, std::string>> sets; // --set NAME=TEXT, in order
    std::vector<std::pair<int, float>> normalized_sets;    // --set-normalized INDEX=VALUE
    double tempo = 0.0;                                    // --tempo BPM; 0 when not given
    double tail = -1.0;                                    // --tail SECONDS; below 0 when not given
    int buffer_frames = 0;                                 // --buffer-frames N; 0 for the default
    int allocator_frames = 0; // --allocator-frames N; 0: as the buffers
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Reads the command line; throws UsageError for anything it cannot use.
Options parse_options(int argc, char** argv);

// The help text of a command, or of the program when `command` is empty.
std::string help_text(const std::string& command);

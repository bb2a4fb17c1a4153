#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Bad usage or bad input: one plain sentence for the user, exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A change during the render: a parameter typed as in --set, or a preset
// when `name` is "preset", at a time of the input.
struct TimedChange {
    double seconds;
    std::string name;
    std::string text;
};

// What the commands read from their arguments.
struct Options {
    static constexpr double max_tail_seconds = 15.0; // the longest tail the filter renders
    static constexpr int max_buffer_frames = 1 << 20;

    std::string command;               // render, presets, params, bank, screenshot, editor
    std::vector<std::string> operands; // files and subcommands, in order
    std::string module;                // --module PATH
    std::string preset;                // --preset NAME|INDEX
    std::string bank;                  // --bank FILE
    int program = -1;                  // --program N
    std::string state;                 // --state FILE
    std::string focus;                 // --focus NAME
    std::string audio;                 // --audio DEVICE|none; empty: the default output
    bool list_audio_devices = false;   // --list-audio-devices
    double latency_ms = 0.0;           // --latency MS: the live ring's length; 0 for the default
    std::string save_state;            // --save-state FILE
    std::vector<std::pair<std::string, std::string>> sets; // --set NAME=TEXT and --tempo, in order
    std::vector<std::pair<long long, float>> normalized_sets; // --set-normalized INDEX=VALUE
    std::vector<TimedChange> changes;                         // --at SECONDS CHANGE, in time order
    // --tail: auto (until the effect has died away), full (all the filter
    // renders, its last buffer included) or SECONDS after the input.
    enum class Tail { automatic, full, seconds } tail_mode = Tail::automatic;
    double tail = 0.0;        // the seconds of Tail::seconds
    std::string type;         // --type FORMAT: the output format when no extension gives it
    int buffer_frames = 0;    // --buffer-frames N; 0 for the default
    int allocator_frames = 0; // --allocator-frames N; 0: as the buffers
    bool demo = false;        // --demo: the built-in phrase is the input
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Reads the command line; throws UsageError for anything it cannot use.
Options parse_options(int argc, char** argv);

// The help text of a command, or of the program when `command` is empty.
std::string help_text(const std::string& command);

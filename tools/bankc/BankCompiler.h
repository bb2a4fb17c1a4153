#pragma once

#include "effect/Algo.h"

#include <map>
#include <string>

namespace mppi {
class BankManager;
}

namespace bankc {

// The number of programs a built-in bank holds, known by the base name of its
// source or output file ("static_presets.txt" gives 34); 0, meaning any number
// of at least one, for every other file.
int expected_program_count(const std::string& path);

// Turns a bank source into programs, as the engine itself would store them.
//
// A source holds one block per program: a line "[Program name]", then lines
// "Full parameter name = value as typed in the editor". Names are matched
// without regard to case; values go through the parameter's own text reader,
// or match a text the parameter shows. Lines apply in order, on top of the
// engine's defaults, so the unit set by the Flags (beats or seconds) is the
// one in which later time values are read. Lines starting with '#' and blank
// lines are ignored.
class BankCompiler {
public:
    // Builds and initialises an engine; no host, no sample rate needed.
    BankCompiler();

    // Compiles `source`, naming `file_name` in messages. `expected_programs` 0
    // accepts any number of at least one. On success the bank holds the
    // programs and the result is true; otherwise `error` is one line
    // "file:line: problem" and the bank is unchanged.
    bool compile(const std::string& source, const std::string& file_name, int expected_programs,
                 mppi::BankManager& bank, std::string& error);

private:
    // The parameter index of a full name, any case; -1 when there is none.
    int find_param(const std::string& name) const;

    effect::Algo algo_;
    std::map<std::string, int> index_by_name_; // lower-case full names
};

// Reads the source file, compiles it with the count its name calls for and
// writes the bank container. 0 on success; otherwise 2 (the tool's exit
// status) with `error` set to one line naming the file.
int compile_file(const std::string& source_path, const std::string& output_path,
                 std::string& error);

} // namespace bankc

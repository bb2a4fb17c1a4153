#pragma once

#include <string>
#include <vector>

namespace sys {

struct ProcessResult {
    bool started = false;
    int start_error = 0;  // errno when it could not start (ENOENT: not on PATH)
    int exit_status = -1; // -1 when the program did not exit normally
    std::string output;   // its standard output, when captured
};

// [any thread] Runs a program found on PATH with the given arguments (the
// first one names the program), without a shell, and waits for it to end.
// Its standard input and error are /dev/null; its standard output is
// captured when asked for and discarded otherwise. Blocks meanwhile.
ProcessResult run_process(const std::vector<std::string>& arguments, bool capture_output);

} // namespace sys

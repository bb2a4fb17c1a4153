#pragma once

#include <cstdio>
#include <string>
#include <vector>

// What the checks found: every failure with the check that saw it, printed
// as it is found and counted for the verdict.
class Report {
public:
    // Starts a check: its failures are named after it.
    void section(const std::string& name);
    // A failure of the current check (printf-style).
    void fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // A figure or a note (printf-style), printed under the current check.
    void note(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // fail() when `ok` is false.
    void expect(bool ok, const char* format, ...) __attribute__((format(printf, 3, 4)));

    int failures() const { return failures_; }
    const std::string& current() const { return section_; }

private:
    static constexpr int shown_per_section = 20;

    std::string section_;
    int failures_ = 0;
    int in_section_ = 0;
};

#pragma once

#include <string>

namespace mppi {

// printf-style text of one number, cut to at most `width` characters.
std::string format_number(const char* format, double value, int width);
// printf-style text of one integer.
std::string format_int(const char* format, long value);
// Reads the leading number of a typed text ("%lf"); false when there is none
// or when it is not a number.
bool read_number(const std::string& text, double& value);
// Whether `text` occurs in `within`, ignoring letter case.
bool occurs_within_ignoring_case(const std::string& text, const std::string& within);

} // namespace mppi

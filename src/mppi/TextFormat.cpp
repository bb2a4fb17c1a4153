#include "mppi/TextFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace mppi {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string format_number(const char* format, double value, int width) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string text = buffer;
    if (width >= 0 && static_cast<int>(text.size()) > width)
        text.resize(static_cast<std::size_t>(width));
    return text;
}

std::string format_int(const char* format, long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

bool read_number(const std::string& text, double& value) {
    double v = 0.0;
    if (std::sscanf(text.c_str(), "%lf", &v) != 1 || std::isnan(v))
        return false;
    value = v;
    return true;
}

bool occurs_within_ignoring_case(const std::string& text, const std::string& within) {
    return lower(within).find(lower(text)) != std::string::npos;
}

} // namespace mppi

#include "mppi/TimeUnit.h"

#include "mppi/TextFormat.h"

#include <cmath>
#include <cstdio>

namespace mppi {

namespace {

// Denominators tried for the fraction of a beat, in order of preference.
constexpr int denominators[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 20, 24, 32, 48, 64};

} // namespace

std::string TimeUnit::get_unit_name() const {
    switch (get_unit_mode()) {
    case seconds:
        return "s";
    case beats:
        return "beat";
    default:
        return "ms";
    }
}

std::string TimeUnit::format(double x, int width) const {
    const int unit = get_unit_mode();
    double v = x;
    if (unit == beats)
        v = x * get_tempo() * (1.0 / 60.0);
    else if (unit == milliseconds)
        v = x * 1000.0;
    // The tiny excess makes values that are exact in theory land on their side
    // of each rounding step.
    const double c = v * 1.00001;

    std::string text = unit == beats ? format_beats(c, width) : format_number("%g", c, -1);
    if (width < 0)
        width = 0;
    if (static_cast<int>(text.size()) > width)
        text.resize(static_cast<std::size_t>(width));
    return text;
}

std::string TimeUnit::format_beats(double c, int n) const {
    const long whole = std::lrint(2.0 * c - 0.5) >> 1; // floor(c)
    const bool has_whole = whole >= 1;
    char buffer[64] = "";
    if (has_whole)
        std::snprintf(buffer, sizeof buffer, "%ld", whole);
    std::string text = buffer;
    const int length = static_cast<int>(text.size());

    // Digits allowed for each of numerator and denominator.
    const int g = has_whole ? (n - length - 2) / 2 : (n - 1) / 2;
    if (g > 0) {
        const double frac = c - static_cast<double>(whole);
        double best_error = 1.0;
        long best_num = 0;
        int best_den = 1;
        for (int m : denominators) {
            if (g < 2 && m > 9)
                break;
            const long num = static_cast<long>(std::floor(m * frac + 0.5));
            const double err = std::abs(frac - static_cast<double>(num) / m);
            if (err < best_error) {
                best_error = err;
                best_num = num;
                best_den = m;
                if (g > 1 && m >= 16 && 2 * num > m)
                    break;
            }
        }
        if (whole == 0 && best_num == 0) {
            text = "0";
        } else if (best_num == best_den) {
            std::snprintf(buffer, sizeof buffer, "%ld", whole + 1);
            text = buffer;
        } else if (best_num > 0) {
            if (has_whole)
                std::snprintf(buffer, sizeof buffer, "%ld %ld/%d", whole, best_num, best_den);
            else
                std::snprintf(buffer, sizeof buffer, "%ld/%d", best_num, best_den);
            text = buffer;
        }
    } else if (n < length + 1) {
        text.clear();
    }
    return text;
}

double TimeUnit::parse(const std::string& text, bool& ok) const {
    ok = true;
    int unit = get_unit_mode();
    if (occurs_within_ignoring_case("ms", text))
        unit = milliseconds;
    else if (occurs_within_ignoring_case("s", text))
        unit = seconds;

    if (unit != beats) {
        double number = 0.0;
        if (!read_number(text, number) || number < 0.0) {
            ok = false;
            return 0.0;
        }
        return unit == milliseconds ? number * 0.001 : number;
    }

    double a = 0.0, b = 0.0, c = 0.0;
    char sep1[16], sep2[16];
    const int k = std::sscanf(text.c_str(), "%lf%15[/ ]%lf%15[/ ]%lf", &a, sep1, &b, sep2, &c);
    if ((k >= 1 && !(a >= 0.0)) || (k >= 3 && !(b >= 0.0)) || (k >= 5 && !(c >= 0.0))) {
        ok = false;
        return 0.0;
    }
    double count = 0.0;
    if (k == 1 || k == 2) {
        count = a;
    } else if (k == 3 || k == 4) {
        if (std::abs(b) < 1e-9) {
            ok = false;
            return 0.0;
        }
        count = a / b;
    } else if (k == 5) {
        if (std::abs(c) < 1e-9) {
            ok = false;
            return 0.0;
        }
        count = a + b / c;
    } else {
        ok = false;
        return 0.0;
    }
    return count * 60.0 / get_tempo();
}

} // namespace mppi

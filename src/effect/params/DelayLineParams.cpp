#include "effect/params/DelayLineParams.h"

#include "effect/params/ParamScales.h"
#include "effect/params/ParamTexts.h"
#include "mppi/TextFormat.h"

#include <cmath>

namespace effect {

namespace {

int rounded_index(double v, int count) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, count - 1);
}

} // namespace

double ParamDlyTime::to_internal(float n) const noexcept {
    return std::exp2(9.0 * n - 7.0);
}
double ParamDlyTime::to_normalized(double v) const noexcept {
    return unit_to_normalized((std::log2(v) + 7.0) / 9.0);
}
std::string ParamDlyTime::to_text(double v) const {
    return time_text(time_unit_, v);
}
double ParamDlyTime::from_text(const std::string& text, bool& ok) const {
    return parsed(ok,
                  [&](double& v) { return time_parse(time_unit_, text, min_beats, max_beats, v); });
}

double ParamDlyFdbk::to_normalized(double v) const noexcept {
    return unit_to_normalized(v);
}
std::string ParamDlyFdbk::to_text(double v) const {
    return mppi::format_number("%.1f", 100.0 * v, 5);
}
double ParamDlyFdbk::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return number_parse(text, 0.01, 0.0, 1.0, v); });
}

double ParamDlyFiltType::to_internal(float n) const noexcept {
    return std::floor(3.0 * n + 0.5);
}
double ParamDlyFiltType::to_normalized(double v) const noexcept {
    return unit_to_normalized(v / 3.0);
}
std::string ParamDlyFiltType::to_text(double v) const {
    static const char* const names[] = {"Low-pass", "High-pass", "Resonator", "Band-pass"};
    return names[rounded_index(v, 4)];
}
double ParamDlyFiltType::from_text(const std::string&, bool& ok) const {
    ok = false;
    return 0.0;
}

double ParamDlyFiltCutoff::to_internal(float n) const noexcept {
    return 40.0 * std::exp2(8.0 * n);
}
double ParamDlyFiltCutoff::to_normalized(double v) const noexcept {
    return unit_to_normalized(std::log2(v / 40.0) / 8.0);
}
std::string ParamDlyFiltCutoff::to_text(double v) const {
    return frequency_text(v);
}
double ParamDlyFiltCutoff::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return number_parse(text, 1.0, 40.0, 10240.0, v); });
}

double ParamDlyFiltReso::to_internal(float n) const noexcept {
    return std::exp2(8.0 * (n - 0.5));
}
double ParamDlyFiltReso::to_normalized(double v) const noexcept {
    return unit_to_normalized(std::log2(v) / 8.0 + 0.5);
}
std::string ParamDlyFiltReso::to_text(double v) const {
    return mppi::format_number("%.1f", 20.0 * std::log10(v), 5);
}
double ParamDlyFiltReso::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) {
        double db = 0.0;
        if (!mppi::read_number(text, db))
            return false;
        v = std::clamp(std::pow(10.0, db / 20.0), 0.0625, 16.0);
        return true;
    });
}

double ParamDlyFiltQ::to_internal(float n) const noexcept {
    return std::pow(10.0, 2.0 * n - 1.0);
}
double ParamDlyFiltQ::to_normalized(double v) const noexcept {
    return unit_to_normalized((std::log10(v) + 1.0) / 2.0);
}
std::string ParamDlyFiltQ::to_text(double v) const {
    return mppi::format_number("%.2f", v, 5);
}
double ParamDlyFiltQ::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return number_parse(text, 1.0, 0.1, 10.0, v); });
}

double ParamDlyDistType::to_normalized(double v) const noexcept {
    return unit_to_normalized(v);
}
std::string ParamDlyDistType::to_text(double v) const {
    return rounded_index(v, 2) == 0 ? "Overdrive" : "Puncher";
}
double ParamDlyDistType::from_text(const std::string&, bool& ok) const {
    ok = false;
    return 0.0;
}

double ParamDlyDistLvl::to_normalized(double v) const noexcept {
    return unit_to_normalized(v);
}
std::string ParamDlyDistLvl::to_text(double v) const {
    return mppi::format_number("%.1f", 100.0 * v, 5);
}
double ParamDlyDistLvl::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return number_parse(text, 0.01, 0.0, 1.0, v); });
}

double ParamDlyHsCutoff::to_internal(float n) const noexcept {
    return 200.0 * std::pow(10.0, 2.0 * n);
}
double ParamDlyHsCutoff::to_normalized(double v) const noexcept {
    return unit_to_normalized(std::log10(v / 200.0) / 2.0);
}
std::string ParamDlyHsCutoff::to_text(double v) const {
    return frequency_text(v);
}
double ParamDlyHsCutoff::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return number_parse(text, 1.0, 200.0, 20000.0, v); });
}

double ParamDlyHsLvl::to_normalized(double v) const noexcept {
    return unit_to_normalized(v);
}
std::string ParamDlyHsLvl::to_text(double v) const {
    return db_text(v);
}
double ParamDlyHsLvl::from_text(const std::string& text, bool& ok) const {
    return parsed(ok, [&](double& v) { return db_parse(text, 0.0, 1.0, v); });
}

} // namespace effect

#include "host/lv2/ControlPort.h"

#include "effect/params/DelayLineParams.h"
#include "effect/params/EngineParams.h"
#include "mppi/DspInterface.h"
#include "mppi/ParamLfoWf.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace host::lv2 {

namespace {

// A C identifier from a display name: "D1 filt cutoff" -> "d1_filt_cutoff".
std::string symbol_of(const std::string& name) {
    std::string s;
    for (const char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!s.empty() && s.back() != '_') {
            s += '_';
        }
    }
    while (!s.empty() && s.back() == '_') {
        s.pop_back();
    }
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s.front()))) {
        s.insert(0, "p_");
    }
    return s;
}

// The LV2 unit of a parameter's own unit string; empty when it has none there.
std::string unit_of(const std::string& unit) {
    if (unit == "dB") {
        return "db";
    }
    if (unit == "%") {
        return "pc";
    }
    if (unit == "Hz") {
        return "hz";
    }
    if (unit == "BPM") {
        return "bpm";
    }
    if (unit == "beat") {
        return "beat";
    }
    return "";
}

} // namespace

ControlPort::ControlPort(const mppi::NormalizedParamInterface& param)
    : param_(&param), symbol_(symbol_of(param.get_name())), name_(param.get_name()),
      unit_(unit_of(param.get_unit())) {
    const double v0 = param.to_internal(0.0f);
    const double v1 = param.to_internal(1.0f);
    if (dynamic_cast<const effect::ParamFlags*>(&param) != nullptr) {
        // The seven switches as one number: normalized 1 wraps to 0.
        kind_ = Kind::integer;
    } else if (dynamic_cast<const effect::ParamDlyFiltType*>(&param) != nullptr ||
               dynamic_cast<const effect::ParamDlyDistType*>(&param) != nullptr ||
               dynamic_cast<const mppi::ParamLfoWf*>(&param) != nullptr) {
        kind_ = Kind::enumeration;
        for (long k = std::lround(v0); k <= std::lround(v1); ++k) {
            scale_points_.push_back({static_cast<float>(k), param.to_text(static_cast<double>(k))});
        }
    } else if (unit_ == "db") {
        kind_ = Kind::decibel;
    } else if (unit_ == "pc") {
        kind_ = Kind::percent;
    }
    if (kind_ == Kind::integer) {
        minimum_ = 0.0f;
        maximum_ = 255.0f;
    } else {
        minimum_ = to_port(0.0f);
        maximum_ = to_port(1.0f);
    }
    default_ = to_port(param.get_normalized());
    // A scale is logarithmic when the middle of the normalized range gives the
    // geometric mean of its ends.
    const double mid = param.to_internal(0.5f);
    logarithmic_ =
        kind_ == Kind::plain && v0 > 0.0 && std::abs(mid - std::sqrt(v0 * v1)) < 1e-9 * v1;
}

bool ControlPort::integer() const {
    return kind_ == Kind::integer || kind_ == Kind::enumeration;
}

float ControlPort::to_port(float normalized) const noexcept {
    const double v = param_->to_internal(normalized);
    switch (kind_) {
    case Kind::decibel:
        return std::max(silence_db, static_cast<float>(20.0 * std::log10(v)));
    case Kind::percent:
        return static_cast<float>(100.0 * v);
    case Kind::enumeration:
        // A list shows one of its choices: a blend between two (a morph's
        // distortion type) shows as the nearer.
        return static_cast<float>(std::round(v));
    default:
        return static_cast<float>(v);
    }
}

double ControlPort::port_to_internal(float port) const noexcept {
    const float p = std::clamp(port, std::min(minimum_, maximum_), std::max(minimum_, maximum_));
    switch (kind_) {
    case Kind::decibel:
        return p <= silence_db ? 0.0 : std::pow(10.0, p / 20.0);
    case Kind::percent:
        return p / 100.0;
    case Kind::integer:
    case Kind::enumeration:
        // Hosts may send fractions (0.25) even to a list of choices.
        return std::round(p);
    default:
        return p;
    }
}

bool ControlPort::shows(float normalized, float port) const noexcept {
    // One part in a million of the range: finer than any host's control.
    const float tolerance = 1e-6f * (maximum_ - minimum_);
    return std::abs(to_port(normalized) - port) <= tolerance;
}

float ControlPort::to_normalized(float port) const noexcept {
    const float n =
        static_cast<float>(std::clamp(param_->to_normalized(port_to_internal(port)), 0.0, 1.0));
    if (to_port(n) == port) {
        return n;
    }
    // The conversions round twice; a neighbour may be the value that was meant.
    float up = n;
    float down = n;
    for (int step = 0; step < 4; ++step) {
        up = std::nextafter(up, 2.0f);
        down = std::nextafter(down, -1.0f);
        if (up <= 1.0f && to_port(up) == port) {
            return up;
        }
        if (down >= 0.0f && to_port(down) == port) {
            return down;
        }
    }
    return n;
}

std::vector<ControlPort> control_ports_of(mppi::DspInterface& dsp) {
    std::vector<ControlPort> ports;
    ports.reserve(static_cast<std::size_t>(dsp.get_nbr_param()));
    for (int i = 0; i < dsp.get_nbr_param(); ++i) {
        ports.emplace_back(*dsp.get_param(i));
    }
    return ports;
}

} // namespace host::lv2

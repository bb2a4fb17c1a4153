#pragma once

#include "mppi/NormalizedParamInterface.h"

#include <string>
#include <vector>

namespace mppi {
class DspInterface;
}

namespace host::lv2 {

// How one parameter shows as an LV2 control port: a value in the unit users
// read (decibels for gains, percent for fractions and pans, Hz, BPM, beats,
// choices as their index), its range, default and properties, and the
// conversions between that value and the parameter's normalized value.
//
// The description is made once from the parameter (it allocates); the
// conversions never allocate and run on the audio thread.
class ControlPort {
public:
    enum class Kind { plain, decibel, percent, integer, enumeration };

    struct ScalePoint {
        float value;
        std::string label;
    };

    // Gains at or below this many decibels are silence: the port's floor.
    static constexpr float silence_db = -100.0f;

    // [editor thread] The port of param, whose normalized value is its default.
    // The parameter must outlive the port.
    explicit ControlPort(const mppi::NormalizedParamInterface& param);

    // [any thread] The port value showing a normalized value.
    float to_port(float normalized) const noexcept;
    // [any thread] The normalized value a port value asks for, limited to the
    // range. Of the normalized values next to the converted one, the one
    // whose port form is exactly the port value is taken, so a value written
    // from to_port comes back bit for bit.
    float to_normalized(float port) const noexcept;

    // [any thread] Whether a port value shows a normalized value, up to the
    // precision hosts keep: session files hold port values to about seven
    // digits, so a value read back must not move the parameter.
    bool shows(float normalized, float port) const noexcept;

    const std::string& symbol() const { return symbol_; }
    const std::string& name() const { return name_; }
    // The LV2 units vocabulary's local name ("db", "hz", ...), empty when none.
    const std::string& unit() const { return unit_; }
    Kind kind() const { return kind_; }
    float minimum() const { return minimum_; }
    float maximum() const { return maximum_; }
    float default_value() const { return default_; }
    bool logarithmic() const { return logarithmic_; }
    // Whether the port takes only whole values.
    bool integer() const;
    const std::vector<ScalePoint>& scale_points() const { return scale_points_; }

private:
    double port_to_internal(float port) const noexcept;

    const mppi::NormalizedParamInterface* param_;
    std::string symbol_;
    std::string name_;
    std::string unit_;
    Kind kind_ = Kind::plain;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
    float default_ = 0.0f;
    bool logarithmic_ = false;
    std::vector<ScalePoint> scale_points_;
};

// [editor thread] One port per parameter of dsp, in the parameters' order:
// the plug-in and its UI describe and convert their ports alike. Allocates.
std::vector<ControlPort> control_ports_of(mppi::DspInterface& dsp);

} // namespace host::lv2

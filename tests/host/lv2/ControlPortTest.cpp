// The control ports a host shows: ranges, defaults, units and choices come from
// the parameters, and a value crosses a port and back unchanged.
#include "host/lv2/QuevrinLv2.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

using namespace host::lv2;

namespace {

TEST(ControlPort, every_port_has_a_symbol_of_its_own) {
    QuevrinLv2 plugin(48000.0, nullptr);
    std::set<std::string> symbols;
    for (const ControlPort& p : plugin.control_ports()) {
        EXPECT_TRUE(symbols.insert(p.symbol()).second) << p.name();
    }
    EXPECT_EQ(symbols.size(), std::size_t(plugin.dsp().get_nbr_param()));
}

// A port's range and default are its parameter's own ends and default, and
// every value it shows is the parameter's in the unit the editor names:
// decibels of a gain, a hundred percent for 1, a list's whole choices by the
// editor's texts, a logarithmic scale where equal steps are equal ratios.
TEST(ControlPort, shows_each_parameter_in_the_unit_users_read) {
    QuevrinLv2 plugin(48000.0, nullptr);
    for (int i = 0; i < plugin.dsp().get_nbr_param(); ++i) {
        const mppi::NormalizedParamInterface& param = *plugin.dsp().get_param(i);
        const ControlPort& port = plugin.control_ports()[std::size_t(i)];
        SCOPED_TRACE(port.name());
        std::string unit = param.get_unit();
        std::transform(unit.begin(), unit.end(), unit.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        EXPECT_EQ(port.unit(), unit == "%" ? "pc" : unit);
        EXPECT_EQ(port.kind() == ControlPort::Kind::decibel, unit == "db");
        EXPECT_EQ(port.kind() == ControlPort::Kind::percent, unit == "%");
        // The value a port value stands for, in the parameter's own unit.
        const auto internal = [&](float p) { return param.to_internal(port.to_normalized(p)); };
        const double tolerance = 1e-5 * std::max(1.0, std::abs(param.to_internal(1.0f)));
        if (port.kind() != ControlPort::Kind::integer) { // the switches: 1 wraps to 0
            EXPECT_NEAR(internal(port.minimum()), param.to_internal(0.0f), tolerance);
            EXPECT_NEAR(internal(port.maximum()), param.to_internal(1.0f), tolerance);
        }
        EXPECT_NEAR(internal(port.default_value()), param.get_internal(), tolerance);
        for (const float end : {port.minimum(), port.maximum()}) {
            EXPECT_EQ(port.to_port(port.to_normalized(end)), end);
        }
        for (float n = 0.0f; n < 1.0f; n += 0.125f) {
            const float shown = port.to_port(n);
            const double v = param.to_internal(n);
            EXPECT_EQ(port.to_port(port.to_normalized(shown)), shown) << n;
            if (port.kind() == ControlPort::Kind::decibel) {
                const double gain = std::max(v, std::pow(10.0, ControlPort::silence_db / 20.0));
                EXPECT_NEAR(std::pow(10.0, shown / 20.0), gain, 1e-4 * gain) << n;
            } else if (port.kind() == ControlPort::Kind::enumeration) {
                // A blend of two choices (a morph's) shows as the editor names it;
                // hosts send fractions even to a list, and the nearest choice is taken.
                EXPECT_EQ(port.scale_points().at(std::size_t(shown - port.minimum())).label,
                          param.to_text(v))
                    << n;
                EXPECT_TRUE(port.integer());
                EXPECT_EQ(port.to_port(port.to_normalized(shown + 0.3f)), shown) << n;
                EXPECT_EQ(port.to_port(port.to_normalized(shown - 0.3f)), shown) << n;
            } else {
                const double scale = port.kind() == ControlPort::Kind::percent ? 100.0 : 1.0;
                EXPECT_NEAR(shown, scale * v, 1e-5 * std::max(1.0, scale * std::abs(v))) << n;
            }
        }
        const float q[] = {port.to_port(0.0f), port.to_port(0.25f), port.to_port(0.5f)};
        EXPECT_EQ(port.logarithmic(),
                  port.kind() == ControlPort::Kind::plain && q[0] > 0.0f &&
                      std::abs(q[1] * q[1] - q[0] * q[2]) < 1e-4f * q[1] * q[1]);
    }
}

} // namespace

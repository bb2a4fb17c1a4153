#pragma once

#include "mppi/NormalizedParamInterface.h"

#include <string>

namespace mppi {

// A value typed for a parameter, as its normalized value: the parameter's
// own parser first; for a parameter that parses no text (switches, types,
// waveforms), any text it shows for one of its values (case ignored), taking
// the value whose internal form is a whole number when there is one.
// False when the text fits neither.
bool read_param_text(const NormalizedParamInterface& param, const std::string& text,
                     float& normalized);

} // namespace mppi

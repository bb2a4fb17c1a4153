#include "host/lv2/HostDspLv2.h"

#include "mppi/PropertyKeys.h"

#include <cstring>

namespace host::lv2 {

double HostDspLv2::get_num_property(const char* key) {
    return std::strcmp(key, mppi::property::can_tempo) == 0 ? 1.0 : 0.0;
}

} // namespace host::lv2

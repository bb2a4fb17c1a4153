#pragma once

#include <string>
#include <vector>

namespace mppi {

// A named group of audio channels; its channel count is the list's length.
struct BusDescription {
    std::string name;
    std::vector<std::string> channels;

    int get_nbr_channels() const { return static_cast<int>(channels.size()); }
};

} // namespace mppi

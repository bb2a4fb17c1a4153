#include "PortMap.h"

#include <lv2/core/lv2.h>

#include <cmath>

PortMap::PortMap(LilvWorld* world, const LilvPlugin* plugin) : plugin_(plugin), world_(world) {
    nbr_ports_ = lilv_plugin_get_num_ports(plugin);
    std::vector<float> minimum(nbr_ports_), maximum(nbr_ports_), defaults(nbr_ports_);
    lilv_plugin_get_port_ranges_float(plugin, minimum.data(), maximum.data(), defaults.data());
    LilvNode* control = lilv_new_uri(world, LV2_CORE__ControlPort);
    LilvNode* input = lilv_new_uri(world, LV2_CORE__InputPort);
    LilvNode* integer = lilv_new_uri(world, LV2_CORE__integer);
    LilvNode* enumeration = lilv_new_uri(world, LV2_CORE__enumeration);
    for (std::uint32_t i = 0; i < nbr_ports_; ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        if (!lilv_port_is_a(plugin, port, control) || !lilv_port_is_a(plugin, port, input)) {
            continue;
        }
        Control c;
        c.symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
        c.index = i;
        c.minimum = minimum[i];
        c.maximum = maximum[i];
        c.default_value = std::isnan(defaults[i]) ? minimum[i] : defaults[i];
        c.integer = lilv_port_has_property(plugin, port, integer);
        c.enumeration = lilv_port_has_property(plugin, port, enumeration);
        controls_.push_back(c);
    }
    for (LilvNode* n : {control, input, integer, enumeration}) {
        lilv_node_free(n);
    }
    const long found[] = {index("in_left"),   index("in_right"), index("out_left"),
                          index("out_right"), index("control"),  index("tempo_in_use")};
    complete_ = true;
    for (const long f : found) {
        complete_ = complete_ && f >= 0;
    }
    if (complete_) {
        audio_in[0] = std::uint32_t(found[0]);
        audio_in[1] = std::uint32_t(found[1]);
        audio_out[0] = std::uint32_t(found[2]);
        audio_out[1] = std::uint32_t(found[3]);
        time = std::uint32_t(found[4]);
        tempo_in_use = std::uint32_t(found[5]);
    }
}

const PortMap::Control* PortMap::control(const std::string& symbol) const {
    for (const Control& c : controls_) {
        if (c.symbol == symbol) {
            return &c;
        }
    }
    return nullptr;
}

long PortMap::index(const std::string& symbol) const {
    LilvNode* s = lilv_new_string(world_, symbol.c_str());
    const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin_, s);
    lilv_node_free(s);
    return port != nullptr ? long(lilv_port_get_index(plugin_, port)) : -1;
}

#pragma once

#include <lilv/lilv.h>

#include <cstdint>
#include <string>
#include <vector>

// The plug-in's ports as its description gives them: every input control
// port with its range, and the indices of the audio, time and output ports.
class PortMap {
public:
    struct Control {
        std::string symbol;
        std::uint32_t index = 0;
        float minimum = 0.0f;
        float maximum = 1.0f;
        float default_value = 0.0f;
        bool integer = false;
        bool enumeration = false;
    };

    PortMap(LilvWorld* world, const LilvPlugin* plugin);

    const std::vector<Control>& controls() const { return controls_; }
    // The control port of a symbol; null when there is none.
    const Control* control(const std::string& symbol) const;
    // The index of a port of any kind; -1 when there is none.
    long index(const std::string& symbol) const;

    std::uint32_t nbr_ports() const { return nbr_ports_; }
    std::uint32_t audio_in[2] = {0, 0};
    std::uint32_t audio_out[2] = {0, 0};
    std::uint32_t time = 0;
    std::uint32_t tempo_in_use = 0;
    // Whether all of the above were found.
    bool complete() const { return complete_; }

private:
    const LilvPlugin* plugin_;
    LilvWorld* world_;
    std::vector<Control> controls_;
    std::uint32_t nbr_ports_ = 0;
    bool complete_ = false;
};

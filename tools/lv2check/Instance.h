#pragma once

#include "PortMap.h"
#include "support/LilvHost.h"

#include <lv2/state/state.h>

#include <cstdint>
#include <vector>

// One instance of the plug-in as the validator drives it: control ports on
// the lilv host's values (Lv2Runner), audio ports on whatever buffers the
// check connects, and the time port on a sequence the check fills.
class Instance {
public:
    // Instantiated and activated; ok() is false when the plug-in refused.
    Instance(LilvHost& host, const LilvPlugin* plugin, const PortMap& ports, double rate);

    bool ok() const { return runner_.instance() != nullptr; }
    LilvInstance* lilv() const { return runner_.instance(); }
    Lv2Runner& runner() { return runner_; }
    // The value of a control port (inputs and outputs alike).
    float* control(const std::string& symbol) { return runner_.control(symbol); }

    // Audio ports to these buffers (input and output may be the same).
    void connect_audio(const float* in_left, const float* in_right, float* out_left,
                       float* out_right);
    // The time port to the instance's own sequence, holding these bytes
    // (an empty sequence when there are none).
    void set_time(const std::vector<std::uint8_t>& image);
    // The time port to memory of the check's own.
    void connect_time(void* sequence);
    void run(std::uint32_t frames) { lilv_instance_run(runner_.instance(), frames); }

    // The state interface's save into a program record (empty when it fails)
    // and its restore from one, with a type; the restore's status.
    std::vector<std::uint8_t> save_record();
    LV2_State_Status restore_record(const void* bytes, std::size_t size, LV2_URID type);

private:
    const LV2_State_Interface* state() const;

    LilvHost& host_;
    const PortMap& ports_;
    Lv2Runner runner_;
    std::vector<std::uint64_t> time_words_ = std::vector<std::uint64_t>(512, 0);
};

#pragma once

#include "mppi/HostDspInterface.h"

namespace host::dx {

class CAudioTransform;

// What the filter offers the DSP side of the plug-in core. Owned by the DSP.
class HostDspDx : public mppi::HostDspInterface {
public:
    explicit HostDspDx(CAudioTransform* core) : core_(core) {}

    // [editor thread] Returns 0.
    int init_notice() override { return 0; }
    // [editor thread] 0.0 for every key: this host supplies no tempo.
    double get_num_property(const char*) override { return 0.0; }
    // [editor thread] Sets the record's third field to 1.
    mppi::HostRecord* query_record(mppi::HostRecord* record) override;
    // [audio thread] Whether channel is below the negotiated input channel count.
    bool is_in_channel(int bus, int channel) noexcept override;
    // [audio thread] Whether channel is below the negotiated output channel count.
    bool is_out_channel(int bus, int channel) noexcept override;

private:
    CAudioTransform* const core_;
};

} // namespace host::dx

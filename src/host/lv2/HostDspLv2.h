#pragma once

#include "mppi/HostDspInterface.h"

namespace host::lv2 {

// What an LV2 host offers the DSP side of the plug-in core. Owned by the DSP.
// The host hands the tempo in through the plug-in's time port, so programs
// leave the tempo alone; both audio channels always flow.
class HostDspLv2 : public mppi::HostDspInterface {
public:
    // [editor thread] Returns 0.
    int init_notice() override { return 0; }
    // [editor thread] Non-zero for "can_tempo"; 0.0 for every other key.
    double get_num_property(const char* key) override;
    // [editor thread] Returns the record unchanged.
    mppi::HostRecord* query_record(mppi::HostRecord* record) override { return record; }
    // [audio thread] True: stereo in and out.
    bool is_in_channel(int, int) noexcept override { return true; }
    // [audio thread] True.
    bool is_out_channel(int, int) noexcept override { return true; }
};

} // namespace host::lv2

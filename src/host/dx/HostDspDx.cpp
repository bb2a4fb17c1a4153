#include "host/dx/HostDspDx.h"

#include "host/dx/CAudioTransform.h"

namespace host::dx {

mppi::HostRecord* HostDspDx::query_record(mppi::HostRecord* record) {
    record->fields[2] = 1;
    return record;
}

// The bus index is not looked at: the filter has one bus each way.
bool HostDspDx::is_in_channel(int, int channel) noexcept {
    return channel < core_->input_channels();
}

bool HostDspDx::is_out_channel(int, int channel) noexcept {
    return channel < core_->output_channels();
}

} // namespace host::dx

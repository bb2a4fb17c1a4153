#pragma once

#include <cstdint>

namespace mppi {

// A record passed through the host's record query; its meaning is the host's.
struct HostRecord {
    std::int32_t fields[4] = {0, 0, 0, 0};
};

// What a host offers the DSP side of a plug-in: queries on the editor thread
// while the DSP initialises, channel questions on the audio thread.
class HostDspInterface {
public:
    virtual ~HostDspInterface() = default;
    // [editor thread] Called once at the start of the DSP's init; the result is not used.
    virtual int init_notice() = 0;
    // [editor thread] A capability of the host; 0.0 means no.
    virtual double get_num_property(const char* key) = 0;
    // [editor thread] A query the host answers by filling in the record.
    virtual HostRecord* query_record(HostRecord* record) = 0;
    // [audio thread] Whether the host feeds that input channel.
    virtual bool is_in_channel(int bus, int channel) noexcept = 0;
    // [audio thread] Whether the host takes that output channel.
    virtual bool is_out_channel(int bus, int channel) noexcept = 0;
};

} // namespace mppi

// A host's time port: any bytes as the body of the sequence run() reads
// (its header says exactly their length, and the memory ends there). The
// plug-in reads nothing past them, plays finite samples and keeps its tempo
// within 60..240 BPM.
#include "host/lv2/QuevrinLv2.h"

#include <lv2/atom/atom.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

// URIDs in the order first asked, as a host's map gives them: the seeds are
// written with the plug-in's (chunk 1, sequence 2, object 3, blank 4,
// float 5, double 6, position 7, beats per minute 8).
LV2_URID map_uri(LV2_URID_Map_Handle handle, const char* uri) {
    auto& ids = *static_cast<std::map<std::string, LV2_URID>*>(handle);
    return ids.emplace(uri, LV2_URID(ids.size() + 1)).first->second;
}

struct Host {
    std::map<std::string, LV2_URID> ids;
    LV2_URID_Map map{&ids, map_uri};
    host::lv2::QuevrinLv2 plugin{48000.0, &map};
    float in[16] = {};
    float out[2][16] = {};
    float tempo_in_use = 0.0f;

    Host() {
        plugin.connect_port(host::lv2::QuevrinLv2::port_in_left, in);
        plugin.connect_port(host::lv2::QuevrinLv2::port_in_right, in);
        plugin.connect_port(host::lv2::QuevrinLv2::port_out_left, out[0]);
        plugin.connect_port(host::lv2::QuevrinLv2::port_out_right, out[1]);
        plugin.connect_port(host::lv2::QuevrinLv2::port_tempo_in_use, &tempo_in_use);
        plugin.activate();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    if (size > 1 << 16) {
        return 0;
    }
    // An atom header, then the body the sequence's size gives; nothing after.
    const std::size_t total = sizeof(LV2_Atom) + size;
    std::unique_ptr<std::uint64_t[]> words(new std::uint64_t[(total + 7) / 8]);
    auto* bytes = reinterpret_cast<std::uint8_t*>(words.get());
    const LV2_Atom header{std::uint32_t(size), host.map.map(host.map.handle, LV2_ATOM__Sequence)};
    std::memcpy(bytes, &header, sizeof header);
    if (size > 0) {
        std::memcpy(bytes + sizeof header, data, size);
    }
    host.plugin.connect_port(host::lv2::QuevrinLv2::port_time, bytes);
    host.plugin.run(16);
    if (!std::isfinite(host.out[0][15]) || !(host.tempo_in_use >= 60.0f) ||
        !(host.tempo_in_use <= 240.0f)) {
        std::abort();
    }
    return 0;
}

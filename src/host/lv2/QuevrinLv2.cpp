#include "host/lv2/QuevrinLv2.h"

#include "effect/Algo.h"
#include "host/lv2/HostDspLv2.h"
#include "mppi/FiniteSample.h"
#include "mppi/NormalizedParamInterface.h"

#include <lv2/atom/atom.h>
#include <lv2/time/time.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

namespace host::lv2 {

QuevrinLv2::QuevrinLv2(double rate, const LV2_URID_Map* map) {
    auto algo = std::make_unique<effect::Algo>();
    algo->set_host(std::make_unique<HostDspLv2>());
    // The DSP side runs without a GUI peer: an LV2 UI speaks through ports.
    algo->set_gui(nullptr);
    algo->init();
    algo->set_sample_rate(static_cast<float>(rate));
    dsp_ = std::move(algo);
    control_ports_ = control_ports_of(*dsp_);
    shown_.fill(std::numeric_limits<float>::quiet_NaN());
    if (map != nullptr) {
        auto id = [map](const char* u) { return map->map(map->handle, u); };
        urids_.atom_chunk = id(LV2_ATOM__Chunk);
        urids_.atom_sequence = id(LV2_ATOM__Sequence);
        urids_.atom_object = id(LV2_ATOM__Object);
        urids_.atom_blank = id(LV2_ATOM__Blank);
        urids_.atom_float = id(LV2_ATOM__Float);
        urids_.atom_double = id(LV2_ATOM__Double);
        urids_.time_position = id(LV2_TIME__Position);
        urids_.time_bpm = id(LV2_TIME__beatsPerMinute);
        urids_.program = id(program_key);
    }
}

QuevrinLv2::~QuevrinLv2() {
    dsp_->stop();
}

void QuevrinLv2::connect_port(std::uint32_t port, void* data) noexcept {
    if (port < port_in_left) {
        controls_[port] = static_cast<const float*>(data);
    } else if (port == port_in_left || port == port_in_right) {
        audio_in_[port - port_in_left] = static_cast<const float*>(data);
    } else if (port == port_out_left || port == port_out_right) {
        audio_out_[port - port_out_left] = static_cast<float*>(data);
    } else if (port == port_time) {
        time_port_ = data;
    } else if (port == port_tempo_in_use) {
        tempo_in_use_ = static_cast<float*>(data);
    }
}

void QuevrinLv2::activate() {
    dsp_->request_reset();
}

void QuevrinLv2::apply_control_ports() noexcept {
    for (int i = 0; i < nbr_params; ++i) {
        const float* port = controls_[static_cast<std::size_t>(i)];
        if (port == nullptr) {
            continue;
        }
        const float p = *port;
        float& shown = shown_[static_cast<std::size_t>(i)];
        if (p == shown || !std::isfinite(p)) {
            continue;
        }
        shown = p;
        const ControlPort& cp = control_ports_[static_cast<std::size_t>(i)];
        mppi::NormalizedParamInterface* param = dsp_->get_param(i);
        if (!cp.shows(param->get_normalized(), p)) {
            param->set_normalized(cp.to_normalized(p));
        }
    }
}

namespace {

// Atoms as the host hands them over, trusted no further than their sizes
// allow: each header and body is read only when it lies inside what encloses
// it, so a size that lies (a 3.9 GB object in a 400-byte sequence) ends the
// reading instead of leading it out of the buffer.
const std::uint8_t* bytes_of(const void* p) {
    return static_cast<const std::uint8_t*>(p);
}

// The atom at `at` when its header and its body fit before `end`.
const LV2_Atom* atom_within(const std::uint8_t* at, const std::uint8_t* end) noexcept {
    if (end - at < std::ptrdiff_t(sizeof(LV2_Atom))) {
        return nullptr;
    }
    const auto* atom = reinterpret_cast<const LV2_Atom*>(at);
    const auto room = std::size_t(end - at) - sizeof(LV2_Atom);
    return atom->size <= room ? atom : nullptr;
}

// Where the atom after one of `size` body bytes starts (bodies are padded to
// 8 bytes), or `end` when that lies beyond it.
const std::uint8_t* after(const std::uint8_t* body, std::uint32_t size,
                          const std::uint8_t* end) noexcept {
    const std::uint64_t padded = (std::uint64_t(size) + 7) & ~std::uint64_t(7);
    return padded < std::uint64_t(end - body) ? body + padded : end;
}

// The value of property `key` of an object atom already known to fit; null
// when it has none or one of its properties does not fit.
const LV2_Atom* property(const LV2_Atom* object, LV2_URID key) noexcept {
    if (object->size < sizeof(LV2_Atom_Object_Body)) {
        return nullptr;
    }
    const std::uint8_t* end = bytes_of(object + 1) + object->size;
    const std::uint8_t* at = bytes_of(object + 1) + sizeof(LV2_Atom_Object_Body);
    // A property is its key and context (8 bytes) and then its value atom.
    constexpr std::ptrdiff_t key_size = 2 * sizeof(std::uint32_t);
    while (end - at >= key_size) {
        const LV2_Atom* value = atom_within(at + key_size, end);
        if (value == nullptr) {
            return nullptr;
        }
        std::uint32_t k = 0;
        std::memcpy(&k, at, sizeof k);
        if (k == key) {
            return value;
        }
        at = after(bytes_of(value + 1), value->size, end);
    }
    return nullptr;
}

} // namespace

void QuevrinLv2::apply_time_events() noexcept {
    const auto* seq = static_cast<const LV2_Atom_Sequence*>(time_port_);
    if (seq == nullptr || urids_.time_position == 0 || seq->atom.type != urids_.atom_sequence ||
        seq->atom.size < sizeof(LV2_Atom_Sequence_Body)) {
        return;
    }
    // The sequence's own size is the host's buffer, the one size taken on trust.
    const std::uint8_t* end = bytes_of(&seq->body) + seq->atom.size;
    const std::uint8_t* at = bytes_of(&seq->body) + sizeof(LV2_Atom_Sequence_Body);
    // An event is its time (8 bytes), then its body atom; one that does not
    // fit ends the sequence, since nothing after it can be found.
    constexpr std::ptrdiff_t time_size = sizeof(std::int64_t);
    while (end - at >= time_size) {
        const LV2_Atom* body = atom_within(at + time_size, end);
        if (body == nullptr) {
            return;
        }
        at = after(bytes_of(body + 1), body->size, end);
        if ((body->type != urids_.atom_object && body->type != urids_.atom_blank) ||
            body->size < sizeof(LV2_Atom_Object_Body)) {
            continue;
        }
        const auto* object = reinterpret_cast<const LV2_Atom_Object*>(body);
        if (object->body.otype != urids_.time_position) {
            continue;
        }
        const LV2_Atom* bpm = property(body, urids_.time_bpm);
        float value = 0.0f;
        if (bpm == nullptr) {
            continue;
        }
        if (bpm->type == urids_.atom_float && bpm->size >= sizeof(float)) {
            std::memcpy(&value, bpm + 1, sizeof value);
        } else if (bpm->type == urids_.atom_double && bpm->size >= sizeof(double)) {
            double d = 0.0;
            std::memcpy(&d, bpm + 1, sizeof d);
            value = static_cast<float>(d);
        } else {
            continue;
        }
        // Hosts repeat the position every cycle; only a new tempo is applied.
        // The engine refuses tempos that are not positive numbers.
        if (value != last_host_bpm_) {
            last_host_bpm_ = value;
            dsp_->set_tempo(value);
        }
    }
}

void QuevrinLv2::run(std::uint32_t frames) noexcept {
    if (audio_in_[0] == nullptr || audio_in_[1] == nullptr || audio_out_[0] == nullptr ||
        audio_out_[1] == nullptr) {
        return;
    }
    // Ports first: a tempo the host sends in this cycle wins over the tempo port.
    apply_control_ports();
    apply_time_events();
    if (tempo_in_use_ != nullptr) {
        *tempo_in_use_ =
            control_ports_[port_tempo].to_port(dsp_->get_param(port_tempo)->get_normalized());
    }
    const float* in_table[2] = {in_blocks_[0].data(), in_blocks_[1].data()};
    float* out_table[2] = {out_blocks_[0].data(), out_blocks_[1].data()};
    // Input and output may share buffers: each chunk is copied in before any
    // of it is written out.
    for (std::uint32_t done = 0; done < frames;) {
        const std::uint32_t chunk = std::min<std::uint32_t>(block_frames, frames - done);
        for (int c = 0; c < 2; ++c) {
            const float* in = audio_in_[c] + done;
            std::transform(in, in + chunk, in_blocks_[static_cast<std::size_t>(c)].begin(),
                           mppi::finite_or_zero);
        }
        dsp_->process_replace(out_table, in_table, static_cast<int>(chunk), false);
        for (int c = 0; c < 2; ++c) {
            const float* out = out_blocks_[static_cast<std::size_t>(c)].data();
            std::copy(out, out + chunk, audio_out_[c] + done);
        }
        done += chunk;
    }
}

LV2_State_Status QuevrinLv2::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    if (urids_.program == 0) {
        return LV2_STATE_ERR_NO_FEATURE;
    }
    mppi::ProgramSlot program;
    program.set_prog_name(dsp_->get_prog_name());
    dsp_->store_prog(program);
    std::vector<unsigned char> record(static_cast<std::size_t>(program.get_size()));
    if (program.write(record.data()) != 0) {
        return LV2_STATE_ERR_UNKNOWN;
    }
    return store(handle, urids_.program, record.data(), record.size(), urids_.atom_chunk,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status QuevrinLv2::restore(LV2_State_Retrieve_Function retrieve,
                                     LV2_State_Handle handle) {
    if (urids_.program == 0) {
        return LV2_STATE_ERR_NO_FEATURE;
    }
    std::size_t size = 0;
    std::uint32_t type = 0;
    std::uint32_t flags = 0;
    const void* data = retrieve(handle, urids_.program, &size, &type, &flags);
    if (data == nullptr) {
        return LV2_STATE_ERR_NO_PROPERTY;
    }
    if (type != urids_.atom_chunk) {
        return LV2_STATE_ERR_BAD_TYPE;
    }
    mppi::ProgramSlot program;
    const int limit =
        static_cast<int>(std::min<std::size_t>(size, std::numeric_limits<int>::max()));
    if (program.read(static_cast<const unsigned char*>(data), limit) != 0) {
        return LV2_STATE_ERR_UNKNOWN;
    }
    dsp_->set_prog_name(program.get_prog_name());
    dsp_->load_prog(program);
    // The restored values are what the ports show now: connected ports keep
    // their current values as seen, so only a later move of theirs applies.
    for (int i = 0; i < nbr_params; ++i) {
        const float* port = controls_[static_cast<std::size_t>(i)];
        shown_[static_cast<std::size_t>(i)] =
            port != nullptr ? *port
                            : control_ports_[static_cast<std::size_t>(i)].to_port(
                                  dsp_->get_param(i)->get_normalized());
    }
    return LV2_STATE_SUCCESS;
}

} // namespace host::lv2

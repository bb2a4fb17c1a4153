#include "Instance.h"

#include <lv2/atom/atom.h>

#include <algorithm>
#include <cstring>

Instance::Instance(LilvHost& host, const LilvPlugin* plugin, const PortMap& ports, double rate)
    : host_(host), ports_(ports), runner_(host, plugin, rate, 1) {
    if (ok()) {
        set_time({});
    }
}

void Instance::connect_audio(const float* in_left, const float* in_right, float* out_left,
                             float* out_right) {
    LilvInstance* i = lilv();
    lilv_instance_connect_port(i, ports_.audio_in[0], const_cast<float*>(in_left));
    lilv_instance_connect_port(i, ports_.audio_in[1], const_cast<float*>(in_right));
    lilv_instance_connect_port(i, ports_.audio_out[0], out_left);
    lilv_instance_connect_port(i, ports_.audio_out[1], out_right);
}

void Instance::set_time(const std::vector<std::uint8_t>& image) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(time_words_.data());
    const std::size_t capacity = time_words_.size() * sizeof(std::uint64_t);
    if (image.empty()) {
        LV2_Atom_Sequence empty{};
        empty.atom.size = sizeof(LV2_Atom_Sequence_Body);
        empty.atom.type = host_.map(LV2_ATOM__Sequence);
        std::memcpy(bytes, &empty, sizeof empty);
    } else {
        std::memcpy(bytes, image.data(), std::min(capacity, image.size()));
    }
    connect_time(bytes);
}

void Instance::connect_time(void* sequence) {
    lilv_instance_connect_port(lilv(), ports_.time, sequence);
}

const LV2_State_Interface* Instance::state() const {
    return static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(lilv(), LV2_STATE__interface));
}

std::vector<std::uint8_t> Instance::save_record() {
    std::vector<std::uint8_t> record;
    auto store = [](LV2_State_Handle h, uint32_t, const void* value, size_t size, uint32_t,
                    uint32_t) {
        const auto* p = static_cast<const std::uint8_t*>(value);
        static_cast<std::vector<std::uint8_t>*>(h)->assign(p, p + size);
        return LV2_STATE_SUCCESS;
    };
    const LV2_State_Interface* s = state();
    if (s == nullptr || s->save(lilv_instance_get_handle(lilv()), store, &record, 0,
                                host_.features()) != LV2_STATE_SUCCESS) {
        record.clear();
    }
    return record;
}

LV2_State_Status Instance::restore_record(const void* bytes, std::size_t size, LV2_URID type) {
    struct Stored {
        const void* bytes;
        std::size_t size;
        LV2_URID type;
    } stored{bytes, size, type};
    auto retrieve = [](LV2_State_Handle h, uint32_t, size_t* s, uint32_t* t,
                       uint32_t* flags) -> const void* {
        const auto* st = static_cast<const Stored*>(h);
        *s = st->size;
        *t = st->type;
        *flags = LV2_STATE_IS_POD;
        return st->bytes;
    };
    const LV2_State_Interface* s = state();
    return s != nullptr ? s->restore(lilv_instance_get_handle(lilv()), retrieve, &stored, 0,
                                     host_.features())
                        : LV2_STATE_ERR_NO_FEATURE;
}

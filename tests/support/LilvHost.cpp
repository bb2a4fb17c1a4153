#include "support/LilvHost.h"

#include <lv2/atom/forge.h>
#include <lv2/time/time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

LilvHost::LilvHost(const std::vector<std::string>& bundles) : world_(lilv_world_new()) {
    lilv_world_load_specifications(world_);
    lilv_world_load_plugin_classes(world_);
    for (std::string dir : bundles) {
        if (dir.empty() || dir.back() != '/') {
            dir += '/';
        }
        LilvNode* uri = lilv_new_file_uri(world_, nullptr, dir.c_str());
        lilv_world_load_bundle(world_, uri);
        lilv_node_free(uri);
    }
}

LilvHost::~LilvHost() {
    lilv_world_free(world_);
}

const LilvPlugin* LilvHost::plugin(const std::string& uri) const {
    LilvNode* node = lilv_new_uri(world_, uri.c_str());
    const LilvPlugin* p = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), node);
    lilv_node_free(node);
    return p;
}

LV2_URID LilvHost::map(const char* uri) {
    const auto it = urids_.find(uri);
    if (it != urids_.end()) {
        return it->second;
    }
    const auto id = static_cast<LV2_URID>(urids_.size() + 1);
    uris_.push_back(&urids_.emplace(uri, id).first->first);
    return id;
}

const char* LilvHost::unmap_urid(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
    const auto& uris = static_cast<LilvHost*>(handle)->uris_;
    return urid >= 1 && urid <= uris.size() ? uris[urid - 1]->c_str() : nullptr;
}

int LilvHost::log_printf(LV2_Log_Handle handle, LV2_URID type, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = log_vprintf(handle, type, format, args);
    va_end(args);
    return n;
}

int LilvHost::log_vprintf(LV2_Log_Handle handle, LV2_URID, const char* format, va_list args) {
    char text[512];
    const int n = std::vsnprintf(text, sizeof text, format, args);
    std::string& last = static_cast<LilvHost*>(handle)->last_log_;
    last = text;
    while (!last.empty() && last.back() == '\n') {
        last.pop_back();
    }
    return n;
}

LV2_URID LilvHost::map_uri(LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<LilvHost*>(handle)->map(uri);
}

Lv2Runner::Lv2Runner(LilvHost& host, const LilvPlugin* plugin, double rate,
                     std::uint32_t max_frames)
    : host_(host), plugin_(plugin), rate_(rate), max_frames_(max_frames) {
    LilvWorld* w = host.world();
    LilvNode* audio = lilv_new_uri(w, LV2_CORE__AudioPort);
    LilvNode* control = lilv_new_uri(w, LV2_CORE__ControlPort);
    LilvNode* input = lilv_new_uri(w, LV2_CORE__InputPort);
    LilvNode* atom = lilv_new_uri(w, LV2_ATOM__AtomPort);
    const std::uint32_t n = lilv_plugin_get_num_ports(plugin);
    controls_.assign(n, 0.0f);
    std::vector<float> defaults(n, 0.0f);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
    atoms_.resize(n);
    port_data_.assign(n, nullptr);
    for (std::uint32_t i = 0; i < n; ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, i);
        symbols_[lilv_node_as_string(lilv_port_get_symbol(plugin, port))] = i;
        const bool is_input = lilv_port_is_a(plugin, port, input);
        if (lilv_port_is_a(plugin, port, control)) {
            controls_[i] = std::isnan(defaults[i]) ? 0.0f : defaults[i];
            port_data_[i] = &controls_[i];
        } else if (lilv_port_is_a(plugin, port, audio)) {
            auto& list = is_input ? audio_in_ : audio_out_;
            list.emplace_back(max_frames, 0.0f);
            port_data_[i] = list.back().data();
        } else if (lilv_port_is_a(plugin, port, atom)) {
            atoms_[i].words.assign(1024, 0);
            atoms_[i].input = is_input;
            port_data_[i] = atoms_[i].words.data();
        }
    }
    for (LilvNode* node : {audio, control, input, atom}) {
        lilv_node_free(node);
    }
    instantiate();
}

Lv2Runner::~Lv2Runner() {
    free_instance();
}

void Lv2Runner::free_instance() {
    if (instance_ != nullptr) {
        lilv_instance_deactivate(instance_);
        lilv_instance_free(instance_);
        instance_ = nullptr;
    }
}

void Lv2Runner::instantiate() {
    free_instance();
    instance_ = lilv_plugin_instantiate(plugin_, rate_, host_.features());
    if (instance_ == nullptr) {
        return;
    }
    for (std::uint32_t i = 0; i < port_data_.size(); ++i) {
        lilv_instance_connect_port(instance_, i, port_data_[i]);
    }
    reset_atoms();
    lilv_instance_activate(instance_);
}

float* Lv2Runner::control(const std::string& symbol) {
    const auto it = symbols_.find(symbol);
    return it != symbols_.end() ? &controls_[it->second] : nullptr;
}

void Lv2Runner::queue_tempo(float bpm) {
    queued_bpm_ = bpm;
}

void Lv2Runner::reset_atoms() {
    for (AtomBuffer& a : atoms_) {
        if (a.words.empty()) {
            continue;
        }
        const auto bytes = static_cast<std::uint32_t>(a.words.size() * sizeof(std::uint64_t));
        auto* seq = reinterpret_cast<LV2_Atom_Sequence*>(a.words.data());
        if (!a.input) {
            // An output sequence is given its capacity to fill.
            seq->atom.type = host_.map(LV2_ATOM__Chunk);
            seq->atom.size = bytes - sizeof(LV2_Atom);
            continue;
        }
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, host_.urid_map());
        lv2_atom_forge_set_buffer(&forge, reinterpret_cast<std::uint8_t*>(a.words.data()), bytes);
        LV2_Atom_Forge_Frame seq_frame;
        lv2_atom_forge_sequence_head(&forge, &seq_frame, 0);
        if (queued_bpm_ > 0.0f) {
            lv2_atom_forge_frame_time(&forge, 0);
            LV2_Atom_Forge_Frame obj;
            lv2_atom_forge_object(&forge, &obj, 0, host_.map(LV2_TIME__Position));
            lv2_atom_forge_key(&forge, host_.map(LV2_TIME__beatsPerMinute));
            lv2_atom_forge_float(&forge, queued_bpm_);
            lv2_atom_forge_pop(&forge, &obj);
        }
        lv2_atom_forge_pop(&forge, &seq_frame);
    }
    queued_bpm_ = 0.0f;
}

void Lv2Runner::run(const float* in_left, const float* in_right, float* out_left, float* out_right,
                    std::uint32_t frames) {
    const float* in[2] = {in_left, in_right};
    for (std::size_t c = 0; c < audio_in_.size(); ++c) {
        std::copy(in[std::min<std::size_t>(c, 1)], in[std::min<std::size_t>(c, 1)] + frames,
                  audio_in_[c].begin());
    }
    reset_atoms();
    lilv_instance_run(instance_, frames);
    float* out[2] = {out_left, out_right};
    for (std::size_t c = 0; c < std::min<std::size_t>(audio_out_.size(), 2); ++c) {
        std::copy(audio_out_[c].begin(), audio_out_[c].begin() + frames, out[c]);
    }
}

void Lv2Runner::render(const std::vector<float>& left, const std::vector<float>& right,
                       std::vector<float>& out_left, std::vector<float>& out_right,
                       std::uint32_t block) {
    out_left.assign(left.size(), 0.0f);
    out_right.assign(right.size(), 0.0f);
    for (std::size_t done = 0; done < left.size();) {
        const auto n = static_cast<std::uint32_t>(
            std::min<std::size_t>({block, max_frames_, left.size() - done}));
        run(left.data() + done, right.data() + done, out_left.data() + done,
            out_right.data() + done, n);
        done += n;
    }
}

const void* Lv2Runner::get_port_value(const char* symbol, void* self, uint32_t* size,
                                      uint32_t* type) {
    auto* r = static_cast<Lv2Runner*>(self);
    float* v = r->control(symbol);
    if (v == nullptr) {
        *size = 0;
        *type = 0;
        return nullptr;
    }
    *size = sizeof(float);
    *type = r->host_.map(LV2_ATOM__Float);
    return v;
}

// Presets hold numbers as Turtle writes them: decimals come as floats,
// numbers with an exponent as doubles, whole ones as integers.
void Lv2Runner::set_port_value(const char* symbol, void* self, const void* value, uint32_t size,
                               uint32_t type) {
    auto* r = static_cast<Lv2Runner*>(self);
    float* v = r->control(symbol);
    if (v == nullptr) {
        return;
    }
    LilvHost& h = r->host_;
    if (size == sizeof(float) && type == h.map(LV2_ATOM__Float)) {
        std::memcpy(v, value, sizeof(float));
    } else if (size == sizeof(double) && type == h.map(LV2_ATOM__Double)) {
        double d = 0.0;
        std::memcpy(&d, value, sizeof d);
        *v = static_cast<float>(d);
    } else if (size == sizeof(std::int32_t) &&
               (type == h.map(LV2_ATOM__Int) || type == h.map(LV2_ATOM__Bool))) {
        std::int32_t i = 0;
        std::memcpy(&i, value, sizeof i);
        *v = static_cast<float>(i);
    } else if (size == sizeof(std::int64_t) && type == h.map(LV2_ATOM__Long)) {
        std::int64_t i = 0;
        std::memcpy(&i, value, sizeof i);
        *v = static_cast<float>(i);
    }
}

#include "Lv2SoakTarget.h"

#include <lv2/presets/presets.h>

#include <cmath>
#include <cstdio>

Lv2SoakTarget::Lv2SoakTarget(LilvHost& host, const LilvPlugin* plugin, const PortMap& ports,
                             double rate, std::uint32_t max_frames)
    : host_(host), ports_(ports), instance_(host, plugin, ports, rate), urids_(host.urid_map()) {
    for (int c = 0; c < 2; ++c) {
        in_[c].assign(max_frames, 0.0f);
        out_[c].assign(max_frames, 0.0f);
    }
    if (!instance_.ok()) {
        return;
    }
    instance_.connect_audio(in_[0].data(), in_[1].data(), out_[0].data(), out_[1].data());
    for (const PortMap::Control& c : ports.controls()) {
        controls_.push_back(instance_.control(c.symbol));
    }
    predelay_ = instance_.control("predly_lvl");
    for (int t = 0; t < 4; ++t) {
        const std::string tap = "tap_" + std::to_string(t + 1) + "_level";
        taps_[t] = instance_.control(tap);
        tap_depths_[t] = instance_.control(tap + "_lfo_depth");
    }
    lines_[0] = instance_.control("d1_level");
    lines_[1] = instance_.control("d2_level");
    flags_ = instance_.control("flags");
    db_floor_ = ports.control("predly_lvl")->minimum;

    LilvNode* preset_class = lilv_new_uri(host.world(), LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(plugin, preset_class);
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(host.world(), preset);
        if (LilvState* state = lilv_state_new_from_world(host.world(), host.urid_map(), preset)) {
            presets_.push_back(state);
        }
    }
    lilv_nodes_free(presets);
    lilv_node_free(preset_class);
}

Lv2SoakTarget::~Lv2SoakTarget() {
    for (LilvState* s : presets_) {
        lilv_state_free(s);
    }
}

void Lv2SoakTarget::change_random_parameter(std::mt19937& rng, char* what, std::size_t size) {
    const std::size_t k = rng() % controls_.size();
    const PortMap::Control& c = ports_.controls()[k];
    float value = 0.0f;
    if (c.integer) {
        const auto span = unsigned(std::lround(c.maximum - c.minimum)) + 1;
        value = c.minimum + float(rng() % span);
    } else {
        value = std::uniform_real_distribution<float>(c.minimum, c.maximum)(rng);
    }
    *controls_[k] = value;
    std::snprintf(what, size, "%s = %.6g", c.symbol.c_str(), double(value));
}

std::string Lv2SoakTarget::preset_name(int index) const {
    return lilv_state_get_label(presets_[std::size_t(index)]);
}

void Lv2SoakTarget::apply_preset(int index) {
    lilv_state_restore(presets_[std::size_t(index)], instance_.lilv(), Lv2Runner::set_port_value,
                       &instance_.runner(), 0, host_.features());
}

void Lv2SoakTarget::send_tempo(double bpm) {
    pending_time_ = AtomImage::positions(urids_, {bpm});
}

double Lv2SoakTarget::gain(const float* port) const {
    return *port <= db_floor_ ? 0.0 : std::pow(10.0, double(*port) / 20.0);
}

SoakTarget::Levels Lv2SoakTarget::levels() const {
    Levels l;
    l.predelay = gain(predelay_);
    for (int t = 0; t < 4; ++t) {
        l.tap[t] = gain(taps_[t]);
        l.tap_modulated[t] = *tap_depths_[t] > 0.0f;
    }
    l.line[0] = gain(lines_[0]);
    l.line[1] = gain(lines_[1]);
    l.two_lines = (std::lround(*flags_) & 32) != 0;
    return l;
}

void Lv2SoakTarget::prepare(const float* left, const float* right, std::uint32_t frames) {
    std::copy(left, left + frames, in_[0].begin());
    std::copy(right, right + frames, in_[1].begin());
    if (!pending_time_.empty()) {
        instance_.set_time(pending_time_);
        pending_time_.clear();
        time_sent_ = true;
    } else if (time_sent_) {
        instance_.set_time({});
        time_sent_ = false;
    }
}

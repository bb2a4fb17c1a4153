#pragma once

#include "Instance.h"
#include "PortMap.h"
#include "SoakTarget.h"
#include "support/AtomImage.h"

#include <lilv/lilv.h>

#include <vector>

// The soak through the LV2 plug-in, as a host drives it: port writes,
// presets restored through lilv (state, then port values), the transport's
// tempo as a time:Position.
class Lv2SoakTarget : public SoakTarget {
public:
    Lv2SoakTarget(LilvHost& host, const LilvPlugin* plugin, const PortMap& ports, double rate,
                  std::uint32_t max_frames);
    ~Lv2SoakTarget() override;

    bool ok() const { return instance_.ok() && !presets_.empty(); }

    const char* name() const override { return "LV2 plug-in"; }
    void change_random_parameter(std::mt19937& rng, char* what, std::size_t size) override;
    int nbr_presets() const override { return int(presets_.size()); }
    std::string preset_name(int index) const override;
    void apply_preset(int index) override;
    void send_tempo(double bpm) override;
    Levels levels() const override;
    void prepare(const float* left, const float* right, std::uint32_t frames) override;
    void process(std::uint32_t frames) override { instance_.run(frames); }
    const float* output(int channel) const override { return out_[channel].data(); }

private:
    // A dB port's gain: the port's floor is silence.
    double gain(const float* port) const;

    LilvHost& host_;
    const PortMap& ports_;
    Instance instance_;
    AtomImage::Urids urids_;
    std::vector<LilvState*> presets_;
    std::vector<float*> controls_; // in the port map's order
    const float* predelay_ = nullptr;
    const float* taps_[4] = {};
    const float* tap_depths_[4] = {};
    const float* lines_[2] = {};
    const float* flags_ = nullptr;
    float db_floor_ = 0.0f;
    std::vector<float> in_[2];
    std::vector<float> out_[2];
    std::vector<std::uint8_t> pending_time_;
    bool time_sent_ = false;
};

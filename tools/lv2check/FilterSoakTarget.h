#pragma once

#include "SoakTarget.h"
#include "host/dx/CSfPlugIn.h"

#include <vector>

// The soak through the DirectShow filter, built in: the same engine behind
// the other adapter, driven as a DirectShow host and its property page drive
// it. Parameters change through the adapter (with a host's priority),
// presets through IStaticFilterPreset, the tempo as its parameter (the
// filter's hosts have no transport); blocks of 32-bit float stereo go
// through the adapter's block processing.
class FilterSoakTarget : public SoakTarget {
public:
    FilterSoakTarget(double rate, std::uint32_t max_frames);
    ~FilterSoakTarget() override;
    FilterSoakTarget(const FilterSoakTarget&) = delete;
    FilterSoakTarget& operator=(const FilterSoakTarget&) = delete;

    bool ok() const { return streaming_; }

    const char* name() const override { return "DirectShow filter"; }
    void change_random_parameter(std::mt19937& rng, char* what, std::size_t size) override;
    int nbr_presets() const override;
    std::string preset_name(int index) const override;
    void apply_preset(int index) override;
    void send_tempo(double bpm) override;
    Levels levels() const override;
    void prepare(const float* left, const float* right, std::uint32_t frames) override;
    void process(std::uint32_t frames) override;
    const float* output(int channel) const override;

private:
    double internal(int index) const;

    host::dx::CSfPlugIn* filter_ = nullptr;
    WAVEFORMATEX format_{};
    bool streaming_ = false;
    std::vector<float> in_;                 // interleaved
    std::vector<float> out_;                // interleaved
    mutable std::vector<float> channel_[2]; // one channel of out_
    std::uint32_t frames_ = 0;
};

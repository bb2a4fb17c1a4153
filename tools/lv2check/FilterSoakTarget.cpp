#include "FilterSoakTarget.h"

#include "mppi/NormalizedParamInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Parameter indices of the levels that bound the output.
constexpr int flags_index = 0;
constexpr int tempo_index = 1;
constexpr int predelay_index = 2;
constexpr int tap_level_index = 11;       // + 12 per tap
constexpr int tap_level_depth_index = 13; // + 12 per tap
constexpr int line_level_index = 55;      // + 33 per line
constexpr int host_priority = 200;

} // namespace

FilterSoakTarget::FilterSoakTarget(double rate, std::uint32_t max_frames)
    : in_(2 * std::size_t(max_frames)), out_(2 * std::size_t(max_frames)) {
    HRESULT hr = S_OK;
    filter_ = static_cast<host::dx::CSfPlugIn*>(host::dx::CSfPlugIn::CreateInstance(nullptr, &hr));
    if (filter_ == nullptr) {
        return;
    }
    filter_->NonDelegatingAddRef();
    format_.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    format_.nChannels = 2;
    format_.nSamplesPerSec = DWORD(rate);
    format_.wBitsPerSample = 32;
    format_.nBlockAlign = 8;
    format_.nAvgBytesPerSec = format_.nSamplesPerSec * format_.nBlockAlign;
    filter_->set_input_format(&format_);
    filter_->set_output_format(&format_);
    streaming_ = filter_->start_streaming() == S_OK;
}

FilterSoakTarget::~FilterSoakTarget() {
    if (filter_ != nullptr) {
        filter_->NonDelegatingRelease();
    }
}

double FilterSoakTarget::internal(int index) const {
    return filter_->GetDsp()->get_param(index)->get_internal();
}

void FilterSoakTarget::change_random_parameter(std::mt19937& rng, char* what, std::size_t size) {
    const int index = int(rng() % unsigned(filter_->GetDsp()->get_nbr_param()));
    const float value = std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
    filter_->set_param(index, value, host_priority);
    std::snprintf(what, size, "%s = %.6g (normalized)",
                  filter_->GetDsp()->get_param(index)->get_name().c_str(), double(value));
}

int FilterSoakTarget::nbr_presets() const {
    LONG count = 0;
    filter_->GetPresetCount(&count);
    return int(count);
}

std::string FilterSoakTarget::preset_name(int index) const {
    WCHAR wide[128] = {};
    filter_->GetPresetName(LONG(index), wide, 128);
    std::string name;
    for (int i = 0; i < 128 && wide[i] != 0; ++i) {
        name += char(wide[i]);
    }
    return name;
}

void FilterSoakTarget::apply_preset(int index) {
    filter_->SetPreset(LONG(index));
}

// The tempo parameter (60..240 BPM) set to the host's tempo folded into it.
void FilterSoakTarget::send_tempo(double bpm) {
    while (bpm < 60.0) {
        bpm *= 2.0;
    }
    while (bpm > 240.0) {
        bpm /= 2.0;
    }
    const mppi::NormalizedParamInterface* tempo = filter_->GetDsp()->get_param(tempo_index);
    filter_->set_param(tempo_index, float(tempo->to_normalized(bpm)), host_priority);
}

SoakTarget::Levels FilterSoakTarget::levels() const {
    Levels l;
    l.predelay = internal(predelay_index);
    for (int t = 0; t < 4; ++t) {
        l.tap[t] = internal(tap_level_index + 12 * t);
        l.tap_modulated[t] = internal(tap_level_depth_index + 12 * t) > 0.0;
    }
    l.line[0] = internal(line_level_index);
    l.line[1] = internal(line_level_index + 33);
    l.two_lines = (std::lround(internal(flags_index)) & 32) != 0;
    return l;
}

void FilterSoakTarget::prepare(const float* left, const float* right, std::uint32_t frames) {
    for (std::uint32_t i = 0; i < frames; ++i) {
        in_[2 * i] = left[i];
        in_[2 * i + 1] = right[i];
    }
    frames_ = frames;
}

void FilterSoakTarget::process(std::uint32_t frames) {
    int in_frames = int(frames);
    int out_frames = int(frames);
    filter_->process_block(false, reinterpret_cast<const BYTE*>(in_.data()), in_frames,
                           reinterpret_cast<BYTE*>(out_.data()), out_frames);
}

const float* FilterSoakTarget::output(int channel) const {
    std::vector<float>& c = channel_[channel];
    c.resize(frames_);
    for (std::uint32_t i = 0; i < frames_; ++i) {
        c[i] = out_[2 * i + std::size_t(channel)];
    }
    return c.data();
}

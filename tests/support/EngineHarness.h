#pragma once

// Drives the effect engine as a host would, for tests: a host-services fake,
// an initialised engine at a sample rate, and block-wise rendering.
#include "effect/Algo.h"
#include "mppi/HostDspInterface.h"
#include "mppi/preset/ProgramSlot.h"
#include "support/Noise.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace test {

class FakeHostDsp : public mppi::HostDspInterface {
public:
    int init_notice() override {
        ++init_notices;
        return 0;
    }
    double get_num_property(const char* key) override {
        return std::strcmp(key, "can_tempo") == 0 ? can_tempo : 0.0;
    }
    mppi::HostRecord* query_record(mppi::HostRecord* record) override { return record; }
    bool is_in_channel(int, int channel) noexcept override { return channel < 2; }
    bool is_out_channel(int, int channel) noexcept override { return channel < out_channels; }

    double can_tempo = 0.0;
    int out_channels = 2;
    int init_notices = 0;
};

struct Stereo {
    std::vector<float> left, right;
    std::size_t size() const { return left.size(); }
};

// An engine with its defaults at `rate`, as the host adapter prepares it.
class Engine {
public:
    explicit Engine(float rate = 44100.0f, double can_tempo = 0.0) {
        auto owned = std::make_unique<FakeHostDsp>();
        host = owned.get();
        host->can_tempo = can_tempo;
        algo.set_host(std::move(owned));
        algo.init();
        algo.reset();
        algo.set_sample_rate(rate);
        algo.reset();
        algo.request_reset();
    }

    mppi::NormalizedParamInterface& param(const std::string& name) {
        for (int i = 0; i < algo.get_nbr_param(); ++i)
            if (algo.get_param(i)->get_name() == name)
                return *algo.get_param(i);
        throw std::runtime_error("no parameter " + name);
    }
    // Sets a parameter by name from an internal value, as a typed value would.
    void set(const std::string& name, double internal) { param(name).set_internal(internal); }

    // Renders the input in host blocks of `block` frames.
    Stereo render(const Stereo& input, int block, bool add = false) {
        Stereo out{std::vector<float>(input.size()), std::vector<float>(input.size())};
        for (std::size_t pos = 0; pos < input.size(); pos += std::size_t(block)) {
            const int n = int(std::min<std::size_t>(std::size_t(block), input.size() - pos));
            const float* in[2] = {input.left.data() + pos, input.right.data() + pos};
            float* o[2] = {out.left.data() + pos, out.right.data() + pos};
            if (add)
                algo.process_add(o, in, n, false);
            else
                algo.process_replace(o, in, n, false);
        }
        return out;
    }

    effect::Algo algo;
    FakeHostDsp* host; // owned by the engine
};

inline Stereo silence(std::size_t frames) {
    return Stereo{std::vector<float>(frames), std::vector<float>(frames)};
}

inline Stereo impulse(std::size_t frames, float amplitude = 1.0f) {
    Stereo s = silence(frames);
    s.left[0] = s.right[0] = amplitude;
    return s;
}

// Deterministic white noise in [-a, a].
inline Stereo noise(std::size_t frames, float a = 0.5f, unsigned seed = 1) {
    Stereo s = silence(frames);
    Noise draw(seed);
    for (std::size_t i = 0; i < frames; ++i) {
        s.left[i] = draw.next_signed(a);
        s.right[i] = draw.next_signed(a);
    }
    return s;
}

} // namespace test

#pragma once

#include "effect/stages/DistortionStage.h"
#include "effect/stages/FilterStage.h"
#include "effect/stages/ShelfStage.h"
#include "mppi/PluginInternal.h"

#include <complex>
#include <vector>

// Stages on their own parameter lists, set through their parameters as the
// editor would, then reset so the glides sit at their targets.

// Parameter positions in a stage's own list (a modulated base is followed by
// its LFO period, depth and waveform).
namespace filter_index {
constexpr int type = 0, cutoff = 1, cutoff_depth = 3, reso = 5, q = 9;
}
namespace dist_index {
constexpr int type = 0, level = 1, level_depth = 3;
}
namespace shelf_index {
constexpr int cutoff = 0, level = 1;
}

constexpr int block_size = 256;

struct FilterRig {
    mppi::PluginInternal plugin;
    effect::FilterStage stage;

    FilterRig(float rate, int type, double cutoff, double reso, double q) {
        stage.init(0, plugin);
        stage.set_sample_rate(rate);
        set(filter_index::type, type);
        set(filter_index::cutoff, cutoff);
        set(filter_index::reso, reso);
        set(filter_index::q, q);
        stage.reset();
    }
    void set(int index, double value) { plugin.param_at(index)->set_internal(value); }
    // Runs `in` through read() in control blocks.
    std::vector<float> run(const std::vector<float>& in) {
        std::vector<float> out(in.size());
        for (std::size_t i = 0; i < in.size(); i += block_size) {
            const int n = int(std::min<std::size_t>(block_size, in.size() - i));
            stage.read(out.data() + i, in.data() + i, n);
        }
        return out;
    }
};

struct ShelfRig {
    mppi::PluginInternal plugin;
    effect::ShelfStage stage;

    ShelfRig(float rate, double cutoff, double level) {
        stage.init(0, plugin);
        stage.set_sample_rate(rate);
        plugin.param_at(shelf_index::cutoff)->set_internal(cutoff);
        plugin.param_at(shelf_index::level)->set_internal(level);
        stage.reset();
    }
    std::vector<float> run(std::vector<float> block) {
        for (std::size_t i = 0; i < block.size(); i += block_size)
            stage.process(block.data() + i,
                          int(std::min<std::size_t>(block_size, block.size() - i)));
        return block;
    }
};

struct DistortionRig {
    mppi::PluginInternal plugin;
    effect::DistortionStage stage;

    DistortionRig(float rate, double type, double level) {
        stage.init(0, plugin);
        stage.set_sample_rate(rate);
        set(dist_index::type, type);
        set(dist_index::level, level);
        stage.reset();
    }
    void set(int index, double value) { plugin.param_at(index)->set_internal(value); }
};

std::vector<float> impulse(std::size_t length);
std::vector<float> sine(std::size_t length, double freq, double rate, double amplitude);
double rms(const float* x, std::size_t n);
// Gain in dB of the response h at freq, by a direct Fourier sum.
double gain_db(const std::vector<float>& h, double freq, double rate);

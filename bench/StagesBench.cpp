// Cost per sample of the delay line's stages on a 256-sample control block.

#include "effect/stages/DistortionStage.h"
#include "effect/stages/FilterStage.h"
#include "effect/stages/ShelfStage.h"
#include "mppi/PluginInternal.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int block = 256;

std::vector<float> signal_block() {
    std::vector<float> x(block);
    for (int i = 0; i < block; ++i)
        x[std::size_t(i)] = 0.8f * float(std::sin(0.05 * i));
    return x;
}

void per_sample(benchmark::State& state) {
    state.SetItemsProcessed(int64_t(state.iterations()) * block);
}

void filter_read(benchmark::State& state) {
    mppi::PluginInternal plugin;
    effect::FilterStage stage;
    stage.init(0, plugin);
    plugin.param_at(0)->set_internal(double(state.range(0)));
    plugin.param_at(5)->set_internal(4.0);
    stage.reset();
    const std::vector<float> src = signal_block();
    std::vector<float> dst(block);
    for (auto _ : state) {
        stage.read(dst.data(), src.data(), block);
        benchmark::DoNotOptimize(dst.data());
    }
    per_sample(state);
}

void distortion_process(benchmark::State& state) {
    mppi::PluginInternal plugin;
    effect::DistortionStage stage;
    stage.init(0, plugin);
    plugin.param_at(0)->set_internal(double(state.range(0)) / 2.0);
    plugin.param_at(1)->set_internal(0.6);
    stage.reset();
    const std::vector<float> src = signal_block();
    std::vector<float> x(block);
    for (auto _ : state) {
        x = src;
        stage.process(x.data(), block);
        benchmark::DoNotOptimize(x.data());
    }
    per_sample(state);
}

void shelf_process(benchmark::State& state) {
    mppi::PluginInternal plugin;
    effect::ShelfStage stage;
    stage.init(0, plugin);
    plugin.param_at(1)->set_internal(0.3);
    stage.reset();
    std::vector<float> x = signal_block();
    for (auto _ : state) {
        stage.process(x.data(), block);
        benchmark::DoNotOptimize(x.data());
    }
    per_sample(state);
}

} // namespace

// Argument: filter type 0..3.
BENCHMARK(filter_read)->DenseRange(0, 3);
// Argument: 0 overdrive, 1 blend, 2 puncher.
BENCHMARK(distortion_process)->DenseRange(0, 2);
BENCHMARK(shelf_process);

// Cost of the whole engine per stereo frame, in host blocks of 256 frames at
// 44.1 kHz, for three programs: the defaults, a busy program and the busy
// program with every LFO running; and the cost of the first block after a
// reset at 192 kHz.
#include "effect/Algo.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int block = 256;
constexpr double rate = 44100.0;

void set(effect::Algo& algo, const std::string& name, double value) {
    for (int i = 0; i < algo.get_nbr_param(); ++i)
        if (algo.get_param(i)->get_name() == name)
            algo.get_param(i)->set_internal(value);
}

// Four taps, two lines, resonant low-pass filters, distortion blend 0.5 at
// level 0.7, shelves active.
void busy(effect::Algo& algo) {
    set(algo, "Flags", 64 + 32);
    const char* taps[] = {"Tap 1", "Tap 2", "Tap 3", "Tap 4"};
    for (int t = 0; t < 4; ++t) {
        set(algo, std::string(taps[t]) + " level", 0.5);
        set(algo, std::string(taps[t]) + " time", 0.25 * t + 0.1);
        set(algo, std::string(taps[t]) + " pan", t % 2 == 0 ? -0.5 : 0.5);
    }
    for (const char* d : {"D1", "D2"}) {
        const std::string p(d);
        set(algo, p + " filt type", 0);
        set(algo, p + " filt reso", 4.0);
        set(algo, p + " filt cutoff", 2500.0);
        set(algo, p + " disto type", 0.5);
        set(algo, p + " disto lvl", 0.7);
        set(algo, p + " HS level", 0.5);
        set(algo, p + " fdbk", 0.6);
    }
    set(algo, "D2 time", 0.5);
    set(algo, "Fdbk sep.", 0.3);
}

void everything_modulated(effect::Algo& algo) {
    busy(algo);
    for (int i = 0; i < algo.get_nbr_param(); ++i) {
        const std::string name = algo.get_param(i)->get_name();
        if (name.size() > 10 && name.compare(name.size() - 10, 10, " LFO depth") == 0)
            algo.get_param(i)->set_internal(0.5);
    }
}

void run(benchmark::State& state, void (*program)(effect::Algo&)) {
    effect::Algo algo;
    algo.init();
    algo.set_sample_rate(float(rate));
    algo.reset();
    if (program != nullptr)
        program(algo);
    std::vector<float> in_l(block), in_r(block), out_l(block), out_r(block);
    unsigned x = 1;
    for (int i = 0; i < block; ++i) {
        x = x * 1664525u + 1013904223u;
        in_l[std::size_t(i)] = float(x >> 8) / float(1u << 24) - 0.5f;
        in_r[std::size_t(i)] = -in_l[std::size_t(i)];
    }
    const float* in[2] = {in_l.data(), in_r.data()};
    float* out[2] = {out_l.data(), out_r.data()};
    // Fill the lines first, so the loops carry signal.
    for (int i = 0; i < 2000; ++i)
        algo.process_replace(out, in, block, false);
    for (auto _ : state) {
        algo.process_replace(out, in, block, false);
        benchmark::DoNotOptimize(out_l.data());
        benchmark::ClobberMemory();
    }
    const double frames = double(state.iterations()) * block;
    state.counters["ns_per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                           benchmark::Counter::kIs1000);
    state.counters["x_realtime"] = benchmark::Counter(frames / rate, benchmark::Counter::kIsRate);
    state.SetItemsProcessed(std::int64_t(frames));
}

void BM_Defaults(benchmark::State& state) {
    run(state, nullptr);
}
void BM_Busy(benchmark::State& state) {
    run(state, busy);
}
void BM_EverythingModulated(benchmark::State& state) {
    run(state, everything_modulated);
}

// The first block after a reset (a host's transport jump, an LV2 activate) at
// a high rate, every buffer full of signal: the one call that empties seconds
// of delay memory.
void BM_FirstBlockAfterReset(benchmark::State& state) {
    const float high_rate = 192000.0f;
    effect::Algo algo;
    algo.init();
    algo.set_sample_rate(high_rate);
    algo.reset();
    busy(algo);
    std::vector<float> noise(block), out_l(block), out_r(block);
    unsigned x = 7;
    for (float& v : noise) {
        x = x * 1664525u + 1013904223u;
        v = float(x >> 8) / float(1u << 24) - 0.5f;
    }
    const float* in[2] = {noise.data(), noise.data()};
    float* out[2] = {out_l.data(), out_r.data()};
    const int blocks_per_buffer = int(5 * high_rate) / block; // past every delay
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < blocks_per_buffer; ++i)
            algo.process_replace(out, in, block, false);
        algo.request_reset();
        state.ResumeTiming();
        algo.process_replace(out, in, block, false);
        benchmark::DoNotOptimize(out_l.data());
    }
}

} // namespace

BENCHMARK(BM_FirstBlockAfterReset)->Unit(benchmark::kMicrosecond)->Iterations(40);
BENCHMARK(BM_Defaults);
BENCHMARK(BM_Busy);
BENCHMARK(BM_EverythingModulated);

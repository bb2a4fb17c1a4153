// The cost of run() per stereo frame at 256-frame blocks, through lilv as an
// LV2 host calls it: Quevrin at its defaults and with a busy program, and the
// vintage delay of Debian's calf-plugins on the same input. Then what a host
// pays to add the plug-in (instantiate, activate, a first run of 256 frames),
// with its library loaded anew or already loaded, and the memory an instance
// holds before and after its first run.
#include "support/LilvHost.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <string>

namespace {

constexpr std::uint32_t block = 256;
constexpr double rate = 48000.0;
constexpr const char* calf_bundle = "/usr/lib/lv2/calf.lv2";
constexpr const char* calf_vintage_delay = "http://calf.sourceforge.net/plugins/VintageDelay";

// The bundle built beside the benchmark, or QUEVRIN_LV2_BUNDLE (another
// build's, to measure a change beside what it replaces).
LilvHost& host() {
    const char* other = std::getenv("QUEVRIN_LV2_BUNDLE");
    static LilvHost h({other != nullptr ? other : QUEVRIN_LV2_BUNDLE, calf_bundle});
    return h;
}

// Two lines, every LFO at half depth, both lines distorted, all taps sounding.
void busy_program(Lv2Runner& r) {
    *r.control("flags") = 96.0f;
    for (const char* line : {"d1", "d2"}) {
        const std::string l = line;
        *r.control(l + "_disto_lvl") = 50.0f;
        *r.control(l + "_fdbk") = 70.0f;
    }
    for (int t = 2; t <= 4; ++t) {
        const std::string tap = "tap_" + std::to_string(t);
        *r.control(tap + "_level") = -6.0f;
        *r.control(tap + "_time") = 0.25f * static_cast<float>(t);
    }
    const LilvPlugin* p = r.plugin();
    for (std::uint32_t i = 0; i < lilv_plugin_get_num_ports(p); ++i) {
        const std::string symbol =
            lilv_node_as_string(lilv_port_get_symbol(p, lilv_plugin_get_port_by_index(p, i)));
        if (symbol.size() > 10 && symbol.compare(symbol.size() - 10, 10, "_lfo_depth") == 0) {
            *r.control(symbol) = 50.0f;
        }
    }
}

void run_plugin(benchmark::State& state, const char* uri, bool busy) {
    const LilvPlugin* plugin = host().plugin(uri);
    if (plugin == nullptr) {
        state.SkipWithError("plug-in not installed");
        return;
    }
    Lv2Runner r(host(), plugin, rate, block);
    if (r.instance() == nullptr) {
        state.SkipWithError("plug-in failed to instantiate");
        return;
    }
    if (busy) {
        busy_program(r);
    }
    std::vector<float> left(block);
    std::vector<float> right(block);
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    for (std::uint32_t i = 0; i < block; ++i) {
        left[i] = noise(rng);
        right[i] = noise(rng);
    }
    std::vector<float> out_left(block);
    std::vector<float> out_right(block);
    // The same input block stays in the plug-in's buffers; two seconds first
    // so that glides have ended and the lines are full.
    for (int i = 0; i < 400; ++i) {
        r.run(left.data(), right.data(), out_left.data(), out_right.data(), block);
    }
    for (auto _ : state) {
        r.run_in_place(block);
    }
    // Stereo frames per second of CPU time; its inverse is the cost per frame.
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * block);
}

void Quevrin_defaults(benchmark::State& s) {
    run_plugin(s, "urn:vantrel:quevrin", false);
}
void Quevrin_busy(benchmark::State& s) {
    run_plugin(s, "urn:vantrel:quevrin", true);
}
void Calf_vintage_delay(benchmark::State& s) {
    run_plugin(s, calf_vintage_delay, false);
}

// Instantiate, activate and a first run of 256 frames; with `loaded` another
// instance keeps the library loaded, else lilv loads it each time.
void add_plugin(benchmark::State& state, const char* uri, bool loaded) {
    const LilvPlugin* plugin = host().plugin(uri);
    if (plugin == nullptr) {
        state.SkipWithError("plug-in not installed");
        return;
    }
    std::optional<Lv2Runner> keeper;
    if (loaded) {
        keeper.emplace(host(), plugin, rate, block);
    }
    Lv2Runner r(host(), plugin, rate, block);
    for (auto _ : state) {
        state.PauseTiming();
        r.free_instance();
        state.ResumeTiming();
        r.instantiate();
        r.run_in_place(block);
    }
}

void Quevrin_add_library_loaded(benchmark::State& s) {
    add_plugin(s, "urn:vantrel:quevrin", true);
}
void Quevrin_add_library_unloaded(benchmark::State& s) {
    add_plugin(s, "urn:vantrel:quevrin", false);
}
void Calf_vintage_delay_add_library_loaded(benchmark::State& s) {
    add_plugin(s, calf_vintage_delay, true);
}

// The process's address space and resident memory, in KiB (/proc/self/statm).
struct Memory {
    double size_kib, resident_kib;
    static Memory now() {
        std::ifstream statm("/proc/self/statm");
        double pages = 0.0, resident = 0.0;
        statm >> pages >> resident;
        return Memory{4.0 * pages, 4.0 * resident};
    }
};

// A second instance, the library already loaded: the address space it takes
// (its delay memory among it), and the part of that resident once
// instantiated and activated, and after a first run of 256 frames.
void Quevrin_instance_memory(benchmark::State& state) {
    const LilvPlugin* plugin = host().plugin("urn:vantrel:quevrin");
    Lv2Runner keeper(host(), plugin, rate, block);
    keeper.run_in_place(block);
    Memory idle{}, first_run{}, before{};
    for (auto _ : state) {
        before = Memory::now();
        Lv2Runner r(host(), plugin, rate, block);
        idle = Memory::now();
        r.run_in_place(block);
        first_run = Memory::now();
    }
    state.counters["reserved_KiB"] = idle.size_kib - before.size_kib;
    state.counters["resident_idle_KiB"] = idle.resident_kib - before.resident_kib;
    state.counters["resident_first_run_KiB"] = first_run.resident_kib - before.resident_kib;
}

} // namespace

// First, so that no instance freed before has left memory behind to reuse.
BENCHMARK(Quevrin_instance_memory)->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(Quevrin_defaults);
BENCHMARK(Quevrin_busy);
BENCHMARK(Calf_vintage_delay);
BENCHMARK(Quevrin_add_library_loaded)->Unit(benchmark::kMicrosecond);
BENCHMARK(Quevrin_add_library_unloaded)->Unit(benchmark::kMicrosecond);
BENCHMARK(Calf_vintage_delay_add_library_loaded)->Unit(benchmark::kMicrosecond);

// A DSP with plain parameters (three unless told) whose output is a script,
// for checking what a host side hands the plug-in core and what it makes of
// the answers: every call is logged, every input sample and chunk size
// recorded.
#pragma once

#include "mppi/DspInterface.h"
#include "mppi/HostDspInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/PropertyKeys.h"
#include "mppi/preset/ProgramSlot.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

// A parameter whose internal value is its normalized value.
class PlainParam : public mppi::NormalizedParamInterface {
public:
    std::string get_name() const override { return "Plain"; }
    std::string get_unit() const override { return ""; }
    double to_internal(float normalized) const noexcept override { return normalized; }
    double to_normalized(double internal) const noexcept override { return internal; }
    std::string to_text(double internal) const override { return std::to_string(internal); }
    double from_text(const std::string& text, bool& ok) const override {
        ok = true;
        return std::stod(text);
    }
};

class FakeDsp : public mppi::DspInterface {
public:
    static constexpr int nbr_params = 3;
    // init() throws, as an engine that cannot get its memory does.
    bool fail_init = false;

    // log: shared with the test, so the order of calls survives the object.
    explicit FakeDsp(std::shared_ptr<std::vector<std::string>> log =
                         std::make_shared<std::vector<std::string>>(),
                     int params = nbr_params)
        : log_(std::move(log)), params_(static_cast<std::size_t>(params)) {}
    ~FakeDsp() override { note("dsp.destroyed"); }

    void init() override {
        note("dsp.init");
        if (fail_init)
            throw std::bad_alloc();
    }
    void reset() override { note("dsp.reset"); }
    void stop() override { note("dsp.stop"); }
    mppi::HostDspInterface* get_host() override { return host_.get(); }
    void set_host(mppi::HostDspInterface* host) override {
        host_.reset(host);
        note("dsp.set_host");
    }
    mppi::GuiInterface* get_gui() override { return gui_; }
    void set_gui(mppi::GuiInterface* gui) override {
        gui_ = gui;
        note("dsp.set_gui");
    }
    int get_nbr_in_buses() override { return 1; }
    const mppi::BusDescription& get_in_bus(int) override { return in_bus_; }
    int get_nbr_out_buses() override { return 1; }
    const mppi::BusDescription& get_out_bus(int) override { return out_bus_; }
    int get_min_sample_rate() override { return 1; }
    int get_max_sample_rate() override { return 1000000; }
    void set_sample_rate(float rate) override { sample_rate = rate; }
    void set_sample_scale(float scale) override { sample_scale = scale; }
    int get_nbr_param() noexcept override { return static_cast<int>(params_.size()); }
    mppi::NormalizedParamInterface* get_param(int index) noexcept override {
        return &params_[static_cast<std::size_t>(index)];
    }
    void set_prog_name(const std::string& name) override { prog_name_ = name; }
    std::string get_prog_name() override {
        note("dsp.get_prog_name");
        return prog_name_;
    }
    double get_num_property(const char* key) override {
        note(std::string("dsp.get_num_property ") + key);
        if (std::strcmp(key, mppi::property::can_mono) == 0) {
            return can_mono ? 1.0 : 0.0;
        }
        if (std::strcmp(key, mppi::property::can_scaled_val) == 0) {
            return can_scaled_val ? 1.0 : 0.0;
        }
        return 0.0;
    }
    std::string get_str_property(const char*) override { return ""; }
    void request_reset() override { note("dsp.request_reset"); }
    void set_tempo(float) noexcept override {}
    void load_prog(const mppi::ProgramSlot& program) override {
        note("dsp.load_prog");
        const int count = std::min(get_nbr_param(), program.get_nbr_values());
        for (int i = 0; i < count; ++i) {
            get_param(i)->set_normalized(program.get_value(i));
        }
    }
    void store_prog(mppi::ProgramSlot& program) override {
        note("dsp.store_prog");
        program.set_nbr_values(get_nbr_param());
        for (int i = 0; i < get_nbr_param(); ++i) {
            program.set_value(i, get_param(i)->get_normalized());
        }
    }
    bool process_replace(float* const* out, const float* const* in, int frames,
                         bool tail) noexcept override {
        chunks.push_back(frames);
        tail_flags.push_back(tail);
        for (int c = 0; c < 2; ++c) {
            seen[c].insert(seen[c].end(), in[c], in[c] + frames);
        }
        for (int i = 0; i < frames; ++i, ++produced_) {
            const float v = script.empty() ? 0.0f : script[produced_ % script.size()];
            out[0][i] = v;
            out[1][i] = v;
        }
        return silent_from_call > 0 && static_cast<int>(chunks.size()) >= silent_from_call;
    }
    bool process_add(float* const*, const float* const*, int, bool) noexcept override {
        return false;
    }

    // Configuration.
    bool can_mono = true;
    bool can_scaled_val = false;
    // Output sample n (counted over all calls) is script[n % size] on both
    // channels; an empty script gives silence.
    std::vector<float> script;
    // The call (1-based) from which process_replace reports silence; 0: never.
    int silent_from_call = 0;

    // Observations.
    float sample_rate = 0.0f;
    float sample_scale = 0.0f;
    std::vector<float> seen[2];
    std::vector<int> chunks;
    std::vector<bool> tail_flags;

private:
    void note(const std::string& call) { log_->push_back(call); }

    std::shared_ptr<std::vector<std::string>> log_;
    std::unique_ptr<mppi::HostDspInterface> host_;
    mppi::GuiInterface* gui_ = nullptr;
    std::vector<PlainParam> params_;
    std::string prog_name_ = "Fake";
    mppi::BusDescription in_bus_{"Input", {"Left input", "Right input"}};
    mppi::BusDescription out_bus_{"Output", {"Left output", "Right output"}};
    std::size_t produced_ = 0;
};

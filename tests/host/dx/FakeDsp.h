// A DSP with three plain parameters whose output is a script, for checking
// what the adapter core hands the plug-in core and what it makes of the
// answers: every call is logged, every input sample and chunk size recorded.
#pragma once

#include "mppi/DspInterface.h"
#include "mppi/HostDspInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/preset/ProgramSlot.h"

#include <memory>
#include <string>
#include <vector>

// A parameter whose internal value is its normalized value.
class PlainParam : public mppi::NormalizedParamInterface {
public:
    std::string get_name() const override { return "Plain"; }
    std::string get_unit() const override { return ""; }
    double to_internal(float normalized) const override { return normalized; }
    double to_normalized(double internal) const override { return internal; }
    std::string to_text(double internal) const override { return std::to_string(internal); }
    double from_text(const std::string& text, bool& ok) const override {
        ok = true;
        return std::stod(text);
    }
};

class FakeDsp : public mppi::DspInterface {
public:
    static constexpr int nbr_params = 3;

    // log: shared with the test, so the order of calls survives the object.
    explicit FakeDsp(std::shared_ptr<std::vector<std::string>> log);
    ~FakeDsp() override;

    void init() override { note("dsp.init"); }
    void reset() override { note("dsp.reset"); }
    void stop() override { note("dsp.stop"); }
    mppi::HostDspInterface* get_host() override { return host_.get(); }
    void set_host(mppi::HostDspInterface* host) override;
    mppi::GuiInterface* get_gui() override { return gui_; }
    void set_gui(mppi::GuiInterface* gui) override;
    int get_nbr_in_buses() override { return 1; }
    const mppi::BusDescription& get_in_bus(int) override { return in_bus_; }
    int get_nbr_out_buses() override { return 1; }
    const mppi::BusDescription& get_out_bus(int) override { return out_bus_; }
    int get_min_sample_rate() override { return 1; }
    int get_max_sample_rate() override { return 1000000; }
    void set_sample_rate(float rate) override { sample_rate = rate; }
    void set_sample_scale(float scale) override { sample_scale = scale; }
    int get_nbr_param() override { return nbr_params; }
    mppi::NormalizedParamInterface* get_param(int index) override { return &params_[index]; }
    void set_prog_name(const std::string& name) override { prog_name_ = name; }
    std::string get_prog_name() override;
    double get_num_property(const char* key) override;
    std::string get_str_property(const char*) override { return ""; }
    void request_reset() override { note("dsp.request_reset"); }
    void set_tempo(float) override {}
    void load_prog(const mppi::ProgramSlot& program) override;
    void store_prog(mppi::ProgramSlot& program) override;
    bool process_replace(float* const* out, const float* const* in, int frames,
                         bool tail) noexcept override;
    bool process_add(float* const* out, const float* const* in, int frames,
                     bool tail) noexcept override;

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
    PlainParam params_[nbr_params];
    std::string prog_name_ = "Fake";
    mppi::BusDescription in_bus_{"Input", {"Left input", "Right input"}};
    mppi::BusDescription out_bus_{"Output", {"Left output", "Right output"}};
    std::size_t produced_ = 0;
};

#pragma once

#include "PresetTestData.h"

#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The plug-in as the preset panel sees it: a DSP holding one program, a host
// that records the programs it is sent, and a GUI that joins them.
namespace preset_test {

using namespace mppi;

// A DSP whose current program is `program`.
class FakeDsp : public DspInterface {
public:
    ProgramSlot program = make_prog("Ping-pong delay - 1/4 beat", 121, 3);

    void init() override {}
    void reset() override {}
    void stop() override {}
    HostDspInterface* get_host() override { return nullptr; }
    void set_host(HostDspInterface*) override {}
    GuiInterface* get_gui() override { return nullptr; }
    void set_gui(GuiInterface*) override {}
    int get_nbr_in_buses() override { return 0; }
    const BusDescription& get_in_bus(int) override { return bus_; }
    int get_nbr_out_buses() override { return 0; }
    const BusDescription& get_out_bus(int) override { return bus_; }
    int get_min_sample_rate() override { return 0; }
    int get_max_sample_rate() override { return 0; }
    void set_sample_rate(float) override {}
    void set_sample_scale(float) override {}
    int get_nbr_param() override { return program.get_nbr_values(); }
    NormalizedParamInterface* get_param(int) override { return nullptr; }
    void set_prog_name(const std::string& name) override { program.set_prog_name(name); }
    std::string get_prog_name() override { return program.get_prog_name(); }
    double get_num_property(const char*) override { return 0.0; }
    std::string get_str_property(const char*) override { return {}; }
    void request_reset() override {}
    void set_tempo(float) override {}
    // Takes the values, as a host applying a whole program does.
    void load_prog(const ProgramSlot& slot) override {
        for (int i = 0; i < std::min(slot.get_nbr_values(), program.get_nbr_values()); ++i)
            program.set_value(i, slot.get_value(i));
    }
    void store_prog(ProgramSlot& slot) override {
        slot.set_nbr_values(program.get_nbr_values());
        for (int i = 0; i < program.get_nbr_values(); ++i)
            slot.set_value(i, program.get_value(i));
    }
    bool process_replace(float* const*, const float* const*, int, bool) noexcept override {
        return true;
    }
    bool process_add(float* const*, const float* const*, int, bool) noexcept override {
        return true;
    }

private:
    BusDescription bus_;
};

// Records every whole program the editor sends, and applies it to the DSP
// when it has one.
class FakeHostGui : public HostGuiInterface {
public:
    std::vector<std::pair<ProgramSlot, int>> sent;
    DspInterface* dsp = nullptr;

    void init_notice() override {}
    double get_num_property(const char*) override { return 0.0; }
    bool may_change_param(int, int) override { return true; }
    void release_param(int, int) override {}
    bool set_param(int, float, int) override { return true; }
    void set_prog(const ProgramSlot& program, int priority) override {
        sent.emplace_back(program, priority);
        if (dsp != nullptr)
            dsp->load_prog(program);
    }
    int resize_window(int, int) override { return 0; }
};

// The GUI side of the plug-in without an editor: it only joins the DSP and
// the host services it owns.
class FakeGui : public GuiInterface {
public:
    void load_resources() override {}
    void build() override {}
    void stop() override {}
    HostGuiInterface* get_host() override { return host_.get(); }
    void set_host(HostGuiInterface* host) override { host_.reset(host); }
    DspInterface* get_dsp() override { return dsp_; }
    void set_dsp(DspInterface* dsp) override { dsp_ = dsp; }
    void set_window(pengui::WindowInterface*) override {}
    pengui::WindowInterface* get_window() override { return nullptr; }
    void get_size(int& w, int& h) override { w = h = 0; }
    void get_view_size(int& w, int& h) override { w = h = 0; }
    void open(void*) override {}
    void close() override {}
    void param_changed(int, float, int) override {}
    void reserved(int, int) override {}
    void tempo_changed() override {}

private:
    std::unique_ptr<HostGuiInterface> host_;
    DspInterface* dsp_ = nullptr;
};

} // namespace preset_test

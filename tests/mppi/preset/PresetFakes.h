#pragma once

#include "PresetTestData.h"

#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"
#include "support/FakeDsp.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The plug-in as the preset panel sees it: a DSP holding one program, a host
// that records the programs it is sent, and a GUI that joins them.
namespace preset_test {

using namespace mppi;

// The tests' fake DSP with the effect's 121 parameters, its current program
// set and read whole.
class ProgramDsp : public ::FakeDsp {
public:
    ProgramDsp() : ::FakeDsp(std::make_shared<std::vector<std::string>>(), 121) {
        set_program(make_prog("Ping-pong delay - 1/4 beat", 121, 3));
    }
    void set_program(const ProgramSlot& program) {
        set_prog_name(program.get_prog_name());
        load_prog(program);
    }
    ProgramSlot program() {
        ProgramSlot slot;
        slot.set_prog_name(get_prog_name());
        store_prog(slot);
        return slot;
    }
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

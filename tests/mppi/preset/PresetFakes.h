#pragma once

#include "PresetTestData.h"

#include "mppi/DspInterface.h"
#include "mppi/HostGuiInterface.h"
#include "support/FakeDsp.h"
#include "support/FakeGui.h"

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

} // namespace preset_test

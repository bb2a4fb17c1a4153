// The GUI side of the plug-in without an editor: it joins the DSP and the
// host services it owns, and records the parameter changes it is told of.
#pragma once

#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"

#include <memory>
#include <vector>

class FakeGui : public mppi::GuiInterface {
public:
    struct Change {
        int index;
        float normalized;
        int priority;
    };

    void load_resources() override {}
    void build() override {}
    void stop() override {}
    mppi::HostGuiInterface* get_host() override { return host_.get(); }
    void set_host(mppi::HostGuiInterface* host) override { host_.reset(host); }
    mppi::DspInterface* get_dsp() override { return dsp_; }
    void set_dsp(mppi::DspInterface* dsp) override { dsp_ = dsp; }
    void set_window(pengui::WindowInterface*) override {}
    pengui::WindowInterface* get_window() override { return nullptr; }
    void get_size(int& w, int& h) override { w = h = 0; }
    void get_view_size(int& w, int& h) override { w = h = 0; }
    void open(void*) override {}
    void close() override {}
    void param_changed(int index, float normalized, int priority) override {
        changes.push_back({index, normalized, priority});
    }
    void reserved(int, int) override {}
    void tempo_changed() override {}

    std::vector<Change> changes;

private:
    std::unique_ptr<mppi::HostGuiInterface> host_;
    mppi::DspInterface* dsp_ = nullptr;
};

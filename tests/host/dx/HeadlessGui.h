#pragma once

#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"
#include "pengui/WindowInterface.h"

#include <deque>
#include <memory>
#include <string>

// A stand-in for the editor in the adapter's tests: it shows nothing
// and records what the host tells it, in a record that may outlive it, so the
// host's wiring can be checked. Every operation runs on the editor thread.
class HeadlessGui : public mppi::GuiInterface {
public:
    static constexpr int width = 500;
    static constexpr int height = 422;

    struct ParamChange {
        int index;
        float normalized;
        int priority;
    };
    // The most recent calls and parameter changes are kept, up to this many
    // each, so a long-lived filter does not grow with every change.
    static constexpr std::size_t max_recorded = 1024;

    struct Record {
        // Operation names in the order they were called ("set_host", "load_resources", ...).
        std::deque<std::string> calls;
        std::deque<ParamChange> param_changes;
        int nbr_params = 0;
    };

    HeadlessGui() : record_(std::make_shared<Record>()) {}
    ~HeadlessGui() override;

    void load_resources() override;
    void build() override { note("build"); }
    void stop() override { note("stop"); }
    mppi::HostGuiInterface* get_host() override { return host_.get(); }
    void set_host(mppi::HostGuiInterface* host) override;
    mppi::DspInterface* get_dsp() override { return dsp_; }
    void set_dsp(mppi::DspInterface* dsp) override;
    // Takes the window; it is destroyed with this GUI.
    void set_window(pengui::WindowInterface* window) override;
    pengui::WindowInterface* get_window() override { return window_.get(); }
    void get_size(int& w, int& h) override;
    void get_view_size(int& w, int& h) override;
    // Opens and closes the window with nothing in it.
    void open(void* parent) override;
    void close() override;
    void param_changed(int index, float normalized, int priority) override;
    void reserved(int, int) override {}
    void tempo_changed() override { note("tempo_changed"); }

    // What this GUI was told so far; shared, so it can be read after destruction.
    std::shared_ptr<const Record> record() const { return record_; }

private:
    void note(const char* call);

    std::shared_ptr<Record> record_;
    std::unique_ptr<mppi::HostGuiInterface> host_;
    mppi::DspInterface* dsp_ = nullptr;
    std::unique_ptr<pengui::WindowInterface> window_;
};

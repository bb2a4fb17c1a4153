// A filter built statically around a FakeDsp and a logging headless GUI, with
// formats set by hand, so the adapter core can be driven block by block.
#pragma once

#include "HeadlessGui.h"
#include "host/dx/CSfPlugIn.h"
#include "support/FakeDsp.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// Logs the wiring calls into the log the DSP shares.
class LoggingGui : public HeadlessGui {
public:
    explicit LoggingGui(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {}
    ~LoggingGui() override { log_->push_back("gui.destroyed"); }

    void load_resources() override;
    void build() override;
    void stop() override;
    void set_host(mppi::HostGuiInterface* host) override;
    void set_dsp(mppi::DspInterface* dsp) override;
    void set_window(pengui::WindowInterface* window) override;

    // Build throws the GUI's failure text when set.
    bool fail_build = false;

private:
    std::shared_ptr<std::vector<std::string>> log_;
};

WAVEFORMATEX make_format(WORD tag, WORD channels, DWORD rate);

struct CoreHarness {
    // A filter around a FakeDsp; configure() runs on the DSP before wiring.
    explicit CoreHarness(void (*configure)(FakeDsp&) = nullptr);
    ~CoreHarness();

    // Sets both formats (the output is stereo) and starts streaming.
    HRESULT start(WORD tag, WORD in_channels, DWORD rate);
    // Interleaved 16-bit or float input through process_block in normal mode.
    std::vector<std::int16_t> run_pcm16(const std::vector<std::int16_t>& input);
    std::vector<float> run_float(const std::vector<float>& input);

    std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
    FakeDsp* dsp = nullptr;
    std::shared_ptr<const HeadlessGui::Record> gui_record;
    host::dx::CSfPlugIn* filter = nullptr;
    WAVEFORMATEX in_format{};
    WAVEFORMATEX out_format{};
};

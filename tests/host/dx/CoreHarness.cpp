#include "CoreHarness.h"

#include <stdexcept>

void LoggingGui::load_resources() {
    HeadlessGui::load_resources();
    log_->push_back("gui.load_resources");
}

void LoggingGui::build() {
    if (fail_build) {
        throw std::runtime_error("Build GUI");
    }
    HeadlessGui::build();
    log_->push_back("gui.build");
}

void LoggingGui::stop() {
    HeadlessGui::stop();
    log_->push_back("gui.stop");
}

void LoggingGui::set_host(mppi::HostGuiInterface* host) {
    HeadlessGui::set_host(host);
    log_->push_back("gui.set_host");
}

void LoggingGui::set_dsp(mppi::DspInterface* dsp) {
    HeadlessGui::set_dsp(dsp);
    log_->push_back("gui.set_dsp");
}

void LoggingGui::set_window(pengui::WindowInterface* window) {
    HeadlessGui::set_window(window);
    log_->push_back("gui.set_window");
}

WAVEFORMATEX make_format(WORD tag, WORD channels, DWORD rate) {
    WAVEFORMATEX f{};
    f.wFormatTag = tag;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = tag == WAVE_FORMAT_PCM ? 16 : 32;
    f.nBlockAlign = static_cast<WORD>(channels * f.wBitsPerSample / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

CoreHarness::CoreHarness(void (*configure)(FakeDsp&)) {
    auto fake = std::make_unique<FakeDsp>(log);
    if (configure != nullptr) {
        configure(*fake);
    }
    dsp = fake.get();
    auto gui = std::make_unique<LoggingGui>(log);
    gui_record = gui->record();
    HRESULT hr = S_OK;
    filter = host::dx::CSfPlugIn::create(nullptr, &hr, std::move(fake), std::move(gui));
    if (filter != nullptr) {
        filter->NonDelegatingAddRef();
    }
}

CoreHarness::~CoreHarness() {
    if (filter != nullptr) {
        filter->NonDelegatingRelease();
    }
}

HRESULT CoreHarness::start(WORD tag, WORD in_channels, DWORD rate) {
    in_format = make_format(tag, in_channels, rate);
    out_format = make_format(tag, 2, rate);
    filter->set_input_format(&in_format);
    filter->set_output_format(&out_format);
    return filter->start_streaming();
}

namespace {

template <typename T>
std::vector<T> run(host::dx::CSfPlugIn* filter, const std::vector<T>& input, int in_channels) {
    int in_frames = static_cast<int>(input.size()) / in_channels;
    int out_frames = in_frames;
    std::vector<T> output(static_cast<std::size_t>(out_frames) * 2);
    filter->process_block(false, reinterpret_cast<const BYTE*>(input.data()), in_frames,
                          reinterpret_cast<BYTE*>(output.data()), out_frames);
    output.resize(static_cast<std::size_t>(out_frames) * 2);
    return output;
}

} // namespace

std::vector<std::int16_t> CoreHarness::run_pcm16(const std::vector<std::int16_t>& input) {
    return run(filter, input, in_format.nChannels);
}

std::vector<float> CoreHarness::run_float(const std::vector<float>& input) {
    return run(filter, input, in_format.nChannels);
}

// The audio thread processes blocks while the editor thread (the test's own,
// which made the filter) turns knobs in the editor with the mouse, changes
// parameters and applies presets and persisted programs. Built with
// -fsanitize=thread (make test-tsan) this proves the lock-free hand-over of
// parameter values free of data races; with the thread tags asserted (there
// and in make test-sanitize), that no editor-thread operation runs on the
// audio thread, nor the reverse.
#include "editor/EditorLayout.h"
#include "host/dx/CSfPlugIn.h"
#include "host/dx/platform/MemoryStream.h"
#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"
#include "pengui/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

WAVEFORMATEX float_format(WORD channels) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_IEEE_FLOAT;
    f.nChannels = channels;
    f.nSamplesPerSec = 44100;
    f.wBitsPerSample = 32;
    f.nBlockAlign = static_cast<WORD>(channels * 4);
    f.nAvgBytesPerSec = 44100 * f.nBlockAlign;
    return f;
}

TEST(ConcurrencyTest, streaming_runs_while_parameters_and_programs_change) {
    HRESULT hr = S_OK;
    auto* filter =
        static_cast<host::dx::CSfPlugIn*>(host::dx::CSfPlugIn::CreateInstance(nullptr, &hr));
    ASSERT_NE(filter, nullptr);
    filter->NonDelegatingAddRef();
    const WAVEFORMATEX in = float_format(2);
    const WAVEFORMATEX out = float_format(2);
    filter->set_input_format(&in);
    filter->set_output_format(&out);
    ASSERT_EQ(filter->start_streaming(), S_OK);
    dshow::MemoryStream saved;
    ASSERT_EQ(filter->Save(&saved, TRUE), S_OK);
    LONG presets = 0;
    ASSERT_EQ(filter->GetPresetCount(&presets), S_OK);

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::atomic<bool> finite{true};
    std::thread streaming([&] {
        std::vector<float> input(2 * 512);
        std::vector<float> output(2 * 512);
        for (long n = 0; !done.load(); ++n) {
            for (std::size_t i = 0; i < input.size(); ++i) {
                input[i] = std::sin(0.01f * static_cast<float>(n * 512 + i));
            }
            int in_frames = 512;
            int out_frames = 512;
            filter->process_block(false, reinterpret_cast<const BYTE*>(input.data()), in_frames,
                                  reinterpret_cast<BYTE*>(output.data()), out_frames);
            for (float v : output) {
                if (!std::isfinite(v)) {
                    finite = false;
                }
            }
            ++blocks;
        }
    });

    // Knobs of the taps and lines under the mouse, dragged up and down.
    const editor::layout::ControlId knobs[] = {
        editor::layout::ControlId::line_fdbk, editor::layout::ControlId::line_time,
        editor::layout::ControlId::tap_level, editor::layout::ControlId::filter_cutoff};
    long changes = 0;
    long drags = 0;
    // The editor thread is the one that made the filter: this one.
    [&] {
        auto* window = static_cast<pengui::HeadlessWindow*>(filter->GetEditorWindow());
        mppi::GuiInterface* gui = filter->GetGui();
        gui->open(nullptr);
        mppi::HostGuiInterface* host = gui->get_host();
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (int step = 0; std::chrono::steady_clock::now() < end; ++step) {
            const int index = (step * 37) % 121;
            host->set_param(index, static_cast<float>((step * 13) % 100) / 99.0f, 200);
            ++changes;
            if (step % 50 == 0 && presets > 0) {
                EXPECT_EQ(filter->SetPreset(step / 50 % presets), S_OK);
            }
            if (step % 50 == 25) {
                saved.rewind();
                EXPECT_EQ(filter->Load(&saved), S_OK);
            }
            if (step % 10 == 5) {
                const editor::layout::Point p =
                    editor::layout::window_position(editor::layout::control(knobs[step / 10 % 4]));
                window->mouse_button(p.x, p.y, 1);
                for (int dy = 4; dy <= 40; dy += 4) {
                    window->mouse_move(p.x, p.y + (step % 20 < 10 ? -dy : dy));
                    window->run_timers();
                }
                window->mouse_button(p.x, p.y, 0);
                window->run_timers();
                ++drags;
            }
        }
        gui->close();
    }();
    done = true;
    streaming.join();

    EXPECT_TRUE(finite.load());
    EXPECT_GT(blocks.load(), 0);
    EXPECT_GT(changes, 0);
    EXPECT_GT(drags, 0);
    filter->NonDelegatingRelease();
}

} // namespace

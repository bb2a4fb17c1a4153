// The adapter core around a scripted DSP: creation and destruction order,
// sample conversion both ways, mono feeding, 256-frame chunks, the tail, and
// parameter changes and programs under write priorities.
#include "CoreHarness.h"

#include "pengui/WindowInterface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

TEST(AdapterCoreTest, wires_the_core_in_the_contracts_order_and_stops_it_before_destruction) {
    std::shared_ptr<std::vector<std::string>> log;
    std::shared_ptr<const HeadlessGui::Record> record;
    {
        CoreHarness core;
        ASSERT_NE(core.filter, nullptr);
        log = core.log;
        record = core.gui_record;
        const std::vector<std::string> creation = {
            "dsp.set_host",   "gui.set_host",
            "dsp.set_gui",    "gui.set_dsp",
            "dsp.init",       "dsp.get_prog_name",
            "dsp.store_prog", "dsp.get_num_property can_scaled_val",
            "dsp.reset"};
        EXPECT_EQ(*log, creation);
        EXPECT_EQ(record->nbr_params, FakeDsp::nbr_params);
        // The editor is made when its window is first asked for, once.
        log->clear();
        EXPECT_NE(core.filter->GetGui(), nullptr);
        EXPECT_TRUE(log->empty());
        pengui::WindowInterface* window = core.filter->GetEditorWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(core.filter->GetEditorWindow(), window);
        const std::vector<std::string> editor = {"gui.set_window", "gui.load_resources",
                                                 "gui.build"};
        EXPECT_EQ(*log, editor);
        // The GUI holds the window the adapter made; the editor's resize
        // request through its host reaches that window, whose size the
        // property page reports.
        EXPECT_EQ(window, core.filter->GetGui()->get_window());
        EXPECT_EQ(window->window_width(), 100);
        EXPECT_EQ(window->window_height(), 100);
        EXPECT_EQ(core.filter->GetGui()->get_host()->resize_window(500, 422), 0);
        EXPECT_EQ(window->window_width(), 500);
        EXPECT_EQ(window->window_height(), 422);
        EXPECT_FALSE(core.filter->HasNoDsp());
        log->clear();
    }
    const std::vector<std::string> destruction = {"gui.stop", "dsp.stop", "gui.destroyed",
                                                  "dsp.destroyed"};
    EXPECT_EQ(*log, destruction);
    EXPECT_EQ(record->calls.back(), "stop");
}

TEST(AdapterCoreTest, a_failed_creation_destroys_what_was_made_and_reports_out_of_memory) {
    const LONG baseline = dshow::CBaseObject::ObjectsActive();
    auto log = std::make_shared<std::vector<std::string>>();
    auto dsp = std::make_unique<FakeDsp>(log);
    dsp->fail_init = true;
    HRESULT hr = S_OK;
    host::dx::CSfPlugIn* filter = host::dx::CSfPlugIn::create(nullptr, &hr, std::move(dsp),
                                                              std::make_unique<LoggingGui>(log));
    EXPECT_EQ(filter, nullptr);
    EXPECT_EQ(hr, E_OUTOFMEMORY);
    EXPECT_EQ(log->back(), "dsp.destroyed");
    EXPECT_EQ(dshow::CBaseObject::ObjectsActive(), baseline);
}

TEST(AdapterCoreTest, an_editor_that_cannot_be_built_is_missing_and_the_filter_streams_on) {
    CoreHarness core([](FakeDsp&) {});
    static_cast<LoggingGui*>(core.dsp->get_gui())->fail_build = true;
    EXPECT_EQ(core.filter->GetEditorWindow(), nullptr);
    // Tried once: asking again does not load the skin again.
    EXPECT_EQ(core.filter->GetEditorWindow(), nullptr);
    EXPECT_EQ(std::count(core.log->begin(), core.log->end(), "gui.load_resources"), 1);
    ASSERT_EQ(core.start(WAVE_FORMAT_IEEE_FLOAT, 2, 44100), S_OK);
    EXPECT_EQ(core.run_float(std::vector<float>(512, 0.25f)).size(), 512u);
}

TEST(AdapterCoreTest, start_of_streaming_resets_the_dsp_to_the_current_program) {
    CoreHarness core;
    core.log->clear();
    ASSERT_EQ(core.start(WAVE_FORMAT_PCM, 2, 48000), S_OK);
    EXPECT_EQ(core.dsp->sample_rate, 48000.0f);
    EXPECT_EQ(core.dsp->sample_scale, 65536.0f);
    const std::vector<std::string> calls = {"dsp.reset", "dsp.load_prog", "dsp.request_reset"};
    EXPECT_EQ(*core.log, calls);
    ASSERT_EQ(core.start(WAVE_FORMAT_IEEE_FLOAT, 2, 44100), S_OK);
    EXPECT_EQ(core.dsp->sample_scale, 1.0f);
}

TEST(AdapterCoreTest, mono_is_refused_by_a_dsp_that_cannot_take_it) {
    CoreHarness core([](FakeDsp& dsp) { dsp.can_mono = false; });
    EXPECT_EQ(core.start(WAVE_FORMAT_PCM, 1, 44100), VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(core.start(WAVE_FORMAT_PCM, 2, 44100), S_OK);
}

TEST(AdapterCoreTest, pcm16_input_is_scaled_by_one_over_32768) {
    CoreHarness core;
    ASSERT_EQ(core.start(WAVE_FORMAT_PCM, 2, 44100), S_OK);
    // Left and right interleaved.
    core.run_pcm16({-32768, 32767, -1, 1, 0, 16384});
    EXPECT_EQ(core.dsp->seen[0], (std::vector<float>{-1.0f, -1.0f / 32768, 0.0f}));
    EXPECT_EQ(core.dsp->seen[1], (std::vector<float>{32767.0f / 32768, 1.0f / 32768, 0.5f}));
}

TEST(AdapterCoreTest, pcm16_output_rounds_halves_upwards_and_clips) {
    struct Case {
        float dsp_output;
        std::int16_t expected;
    };
    static const Case cases[] = {
        {1.0f, 32767},
        {-1.0f, -32768},
        {2.5f / 32768, 3},
        {-2.5f / 32768, -2},
        {0.5f / 32768, 1},
        {-0.5f / 32768, 0},
        {1.4f / 32768, 1},
        {-1.6f / 32768, -2},
        {1.5f, 32767},
        {-7.0f, -32768},
        {32766.5f / 32768, 32767},
        {std::nanf(""), 0},
        {std::numeric_limits<float>::infinity(), 32767},
    };
    CoreHarness core([](FakeDsp& dsp) {
        for (const Case& c : cases) {
            dsp.script.push_back(c.dsp_output);
        }
    });
    ASSERT_EQ(core.start(WAVE_FORMAT_PCM, 2, 44100), S_OK);
    const std::vector<std::int16_t> out = core.run_pcm16(std::vector<std::int16_t>(2 * 13, 0));
    ASSERT_EQ(out.size(), 2u * 13);
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(out[2 * i], cases[i].expected) << "output " << cases[i].dsp_output;
        EXPECT_EQ(out[2 * i + 1], cases[i].expected) << "right channel";
    }
}

TEST(AdapterCoreTest, scaled_values_pass_integers_unscaled_both_ways) {
    CoreHarness core([](FakeDsp& dsp) {
        dsp.can_scaled_val = true;
        dsp.script = {2.5f, -2.5f, 40000.0f};
    });
    ASSERT_EQ(core.start(WAVE_FORMAT_PCM, 1, 44100), S_OK);
    const auto out = core.run_pcm16({-32768, 7, 100});
    EXPECT_EQ(core.dsp->seen[0], (std::vector<float>{-32768.0f, 7.0f, 100.0f}));
    EXPECT_EQ(out, (std::vector<std::int16_t>{3, 3, -2, -2, 32767, 32767}));
}

TEST(AdapterCoreTest, float_samples_pass_unchanged_and_non_finite_input_enters_as_silence) {
    const float inf = std::numeric_limits<float>::infinity();
    CoreHarness core([](FakeDsp& dsp) { dsp.script = {0.1f, -1.5f, 3e-41f, 2.0f}; });
    ASSERT_EQ(core.start(WAVE_FORMAT_IEEE_FLOAT, 2, 96000), S_OK);
    const auto out = core.run_float({std::nanf(""), 0.25f, inf, -inf, 1e-30f, -3.0f, -0.0f, 7.5f});
    EXPECT_EQ(core.dsp->seen[0], (std::vector<float>{0.0f, 0.0f, 1e-30f, -0.0f}));
    EXPECT_EQ(core.dsp->seen[1], (std::vector<float>{0.25f, 0.0f, -3.0f, 7.5f}));
    EXPECT_EQ(out, (std::vector<float>{0.1f, 0.1f, -1.5f, -1.5f, 3e-41f, 3e-41f, 2.0f, 2.0f}));
}

TEST(AdapterCoreTest, mono_input_feeds_both_dsp_inputs_and_gives_stereo) {
    CoreHarness core([](FakeDsp& dsp) { dsp.script = {0.5f}; });
    ASSERT_EQ(core.start(WAVE_FORMAT_PCM, 1, 44100), S_OK);
    std::vector<std::int16_t> input(600);
    for (std::size_t i = 0; i < input.size(); ++i) {
        input[i] = static_cast<std::int16_t>(i * 37 - 9000);
    }
    const auto out = core.run_pcm16(input);
    ASSERT_EQ(out.size(), 1200u);
    EXPECT_EQ(core.dsp->seen[0], core.dsp->seen[1]);
    ASSERT_EQ(core.dsp->seen[0].size(), 600u);
    EXPECT_EQ(core.dsp->seen[0][599], static_cast<float>(input[599]) / 32768);
    EXPECT_EQ(out[1198], 16384);
    EXPECT_EQ(out[1199], 16384);
}

TEST(AdapterCoreTest, processes_in_chunks_of_at_most_256_frames) {
    struct Case {
        int in_frames;
        int out_frames;
        std::vector<int> chunks;
    };
    const Case cases[] = {
        {1000, 1000, {256, 256, 256, 232}},
        {1000, 300, {256, 44}},
        {256, 512, {256}},
        {0, 100, {}},
    };
    for (const Case& c : cases) {
        CoreHarness core;
        ASSERT_EQ(core.start(WAVE_FORMAT_IEEE_FLOAT, 2, 44100), S_OK);
        std::vector<float> in(static_cast<std::size_t>(c.in_frames) * 2, 0.1f);
        std::vector<float> out(static_cast<std::size_t>(c.out_frames) * 2);
        int in_frames = c.in_frames;
        int out_frames = c.out_frames;
        EXPECT_FALSE(core.filter->process_block(false, reinterpret_cast<const BYTE*>(in.data()),
                                                in_frames, reinterpret_cast<BYTE*>(out.data()),
                                                out_frames));
        const int expected = std::min(c.in_frames, c.out_frames);
        EXPECT_EQ(in_frames, expected);
        EXPECT_EQ(out_frames, expected);
        EXPECT_EQ(core.dsp->chunks, c.chunks) << c.in_frames << " into " << c.out_frames;
    }
}

// Runs tail calls of `frames` frames until the core reports the tail finished.
int tail_calls_until_finished(CoreHarness& core, int frames, std::vector<float>& last_output) {
    for (int call = 1; call <= 1000; ++call) {
        last_output.assign(static_cast<std::size_t>(frames) * 2, 9.0f);
        int in_frames = 0;
        int out_frames = frames;
        const bool finished = core.filter->process_block(
            true, nullptr, in_frames, reinterpret_cast<BYTE*>(last_output.data()), out_frames);
        EXPECT_EQ(out_frames, frames);
        if (finished) {
            return call;
        }
    }
    return -1;
}

TEST(AdapterCoreTest, the_tail_ends_after_more_than_15_seconds_or_at_a_silent_chunk) {
    struct Case {
        DWORD rate;
        int frames_per_call;
        int silent_from_call;
        int expected_calls;
    };
    const Case cases[] = {
        {1000, 1000, 0, 16},   // 15.0 s is not yet more than 15
        {1000, 999, 0, 16},    // 15.984 s
        {32768, 4096, 0, 121}, // 120 calls make exactly 15.0 s
        {1000, 256, 3, 3},     // the third call's chunk reports silence
        {1000, 256, 1, 1},
    };
    for (const Case& c : cases) {
        CoreHarness core([](FakeDsp& dsp) { dsp.script = {0.25f}; });
        core.dsp->silent_from_call = c.silent_from_call;
        ASSERT_EQ(core.start(WAVE_FORMAT_IEEE_FLOAT, 2, c.rate), S_OK);
        std::vector<float> out;
        EXPECT_EQ(tail_calls_until_finished(core, c.frames_per_call, out), c.expected_calls)
            << c.rate << " Hz, " << c.frames_per_call << " frames a call";
        for (float v : core.dsp->seen[0]) {
            ASSERT_EQ(v, 0.0f) << "the tail is rendered from silence";
        }
        EXPECT_TRUE(core.dsp->tail_flags.back());
        if (c.silent_from_call > 0) {
            // The chunk the DSP called silent is zeroed, whatever it wrote.
            EXPECT_EQ(out.back(), 0.0f);
        } else {
            EXPECT_EQ(out.back(), 0.25f);
        }
    }
}

TEST(AdapterCoreTest, the_tail_time_restarts_with_streaming) {
    CoreHarness core;
    ASSERT_EQ(core.start(WAVE_FORMAT_IEEE_FLOAT, 2, 1000), S_OK);
    std::vector<float> out;
    ASSERT_EQ(tail_calls_until_finished(core, 1000, out), 16);
    ASSERT_EQ(core.start(WAVE_FORMAT_IEEE_FLOAT, 2, 1000), S_OK);
    EXPECT_EQ(tail_calls_until_finished(core, 1000, out), 16);
}

// The write protocol itself is ParamWriter's; the filter adds its current
// program, what streaming restarts from and what the state saves.
TEST(AdapterCoreTest, a_granted_write_is_kept_in_the_current_program_a_refused_one_is_not) {
    CoreHarness core;
    mppi::HostGuiInterface* host = core.filter->GetGui()->get_host();
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(core.filter->is_dirty());
    EXPECT_TRUE(host->set_param(1, 0.25f, 200));
    EXPECT_TRUE(core.filter->is_dirty());
    EXPECT_FALSE(host->set_param(1, 0.75f, 50)) << "locked out by the first writer";
    // Streaming starts from the current program, whatever the DSP holds.
    core.dsp->get_param(1)->set_normalized(0.5f);
    ASSERT_EQ(core.start(WAVE_FORMAT_PCM, 2, 44100), S_OK);
    EXPECT_EQ(core.dsp->get_param(1)->get_normalized(), 0.25f);
}

TEST(AdapterCoreTest, a_program_becomes_the_current_one_with_a_value_for_every_parameter) {
    CoreHarness core;
    mppi::HostGuiInterface* host = core.filter->GetGui()->get_host();
    ASSERT_TRUE(host->set_param(2, 0.75f, 200));
    mppi::ProgramSlot program;
    program.set_prog_name("Short");
    program.set_nbr_values(2); // one value fewer than the DSP has
    program.set_value(0, 0.5f);
    program.set_value(1, 0.125f);
    host->set_prog(program, 150);
    EXPECT_EQ(core.dsp->get_prog_name(), "Short");
    EXPECT_EQ(core.dsp->get_param(1)->get_normalized(), 0.125f);

    // The current program holds what the DSP held for the value it lacks.
    core.dsp->get_param(2)->set_normalized(0.0f);
    ASSERT_EQ(core.start(WAVE_FORMAT_PCM, 2, 44100), S_OK);
    EXPECT_EQ(core.dsp->get_param(0)->get_normalized(), 0.5f);
    EXPECT_EQ(core.dsp->get_param(2)->get_normalized(), 0.75f);
}

TEST(AdapterCoreTest, the_headless_gui_keeps_only_the_latest_changes) {
    CoreHarness core;
    mppi::HostGuiInterface* host = core.filter->GetGui()->get_host();
    const int changes = static_cast<int>(HeadlessGui::max_recorded) + 10;
    for (int i = 0; i < changes; ++i) {
        ASSERT_TRUE(host->set_param(0, static_cast<float>(i) / changes, 200));
    }
    const auto& recorded = core.gui_record->param_changes;
    ASSERT_EQ(recorded.size(), HeadlessGui::max_recorded);
    EXPECT_EQ(recorded.front().normalized, 10.0f / changes);
    EXPECT_EQ(recorded.back().normalized, static_cast<float>(changes - 1) / changes);
}

} // namespace

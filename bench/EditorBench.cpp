// The editor's costs on the editor thread: creating it (skin and scene) and
// repainting the whole window through the tile loop at each scale (argument:
// 0 for 1, 1 for 1.5, 2 for 2), and a change of all 121 parameters reaching
// their controls with the repaint of what they invalidate.
#include "editor/ZentrovaGui.h"
#include "effect/Algo.h"
#include "host/dx/CSfPlugIn.h"
#include "mppi/DspInterface.h"
#include "pengui/HeadlessWindow.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The filter with its engine and editor, the editor open offscreen.
struct Filter {
    Filter() {
        HRESULT hr = S_OK;
        filter =
            static_cast<host::dx::CSfPlugIn*>(host::dx::CSfPlugIn::CreateInstance(nullptr, &hr));
        filter->NonDelegatingAddRef();
        window = static_cast<pengui::HeadlessWindow*>(filter->GetEditorWindow());
        gui = filter->GetGui();
        gui->open(nullptr);
        window->paint();
    }
    ~Filter() { filter->NonDelegatingRelease(); }
    host::dx::CSfPlugIn* filter;
    mppi::GuiInterface* gui;
    pengui::HeadlessWindow* window;
};

// The editor of dsp in an offscreen window at the benchmark's scale.
std::unique_ptr<editor::ZentrovaGui> make_editor(effect::Algo& dsp, const benchmark::State& state) {
    auto gui = std::make_unique<editor::ZentrovaGui>();
    auto* window = new pengui::HeadlessWindow(100, 100);
    window->set_scale(pengui::Scale::all[state.range(0)]);
    gui->set_window(window);
    gui->set_dsp(&dsp);
    gui->load_resources();
    gui->build();
    return gui;
}

// Target: 20 ms for loading the 101 pictures and 2 fonts and building, 40 ms
// at scale 2.
void editor_creation(benchmark::State& state) {
    effect::Algo dsp;
    dsp.init();
    for (auto _ : state) {
        const std::unique_ptr<editor::ZentrovaGui> gui = make_editor(dsp, state);
        benchmark::DoNotOptimize(gui->meta_count());
    }
}
BENCHMARK(editor_creation)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Target: 2 ms for the whole window, 500 x 422 and 1000 x 844 at scale 2.
void full_repaint(benchmark::State& state) {
    effect::Algo dsp;
    dsp.init();
    const std::unique_ptr<editor::ZentrovaGui> gui = make_editor(dsp, state);
    gui->open(nullptr);
    pengui::WindowInterface& window = *gui->get_window();
    for (auto _ : state) {
        window.redraw(pengui::Rect{0, 0, window.content_width(), window.content_height()});
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = window.content_width() * window.content_height();
}
BENCHMARK(full_repaint)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Every parameter, the flags included, changes from outside (as a program
// applied by the host), then the invalidated area is repainted.
void param_changed_storm(benchmark::State& state) {
    Filter f;
    const int count = f.filter->GetDsp()->get_nbr_param();
    int round = 0;
    for (auto _ : state) {
        const float value = (round++ % 2 == 0) ? 0.25f : 0.75f;
        for (int i = 0; i < count; ++i) {
            f.gui->param_changed(i, value, 200);
        }
        f.window->paint();
    }
    state.counters["params"] = count;
}
BENCHMARK(param_changed_storm)->Unit(benchmark::kMicrosecond);

} // namespace

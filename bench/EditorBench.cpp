// The editor's costs on the editor thread: creating it (skin and scene),
// repainting the whole window through the tile loop, and a change of all 121
// parameters reaching their controls with the repaint of what they invalidate.
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
        filter = static_cast<CSfPlugIn*>(CSfPlugIn::CreateInstance(nullptr, &hr));
        filter->NonDelegatingAddRef();
        window = static_cast<pengui::HeadlessWindow*>(filter->GetEditorWindow());
        gui = filter->GetGui();
        gui->open(nullptr);
        window->paint();
    }
    ~Filter() { filter->NonDelegatingRelease(); }
    CSfPlugIn* filter;
    mppi::GuiInterface* gui;
    pengui::HeadlessWindow* window;
};

// Target: 20 ms for loading the 101 pictures and 2 fonts and building.
void editor_creation(benchmark::State& state) {
    Algo dsp;
    dsp.init();
    for (auto _ : state) {
        ZentrovaGui gui;
        gui.set_window(new pengui::HeadlessWindow(100, 100));
        gui.set_dsp(&dsp);
        gui.load_resources();
        gui.build();
        benchmark::DoNotOptimize(gui.meta_count());
    }
}
BENCHMARK(editor_creation)->Unit(benchmark::kMillisecond);

// Target: 2 ms for the whole 500 x 422 window.
void full_repaint(benchmark::State& state) {
    Filter f;
    for (auto _ : state) {
        f.window->redraw(pengui::Rect{0, 0, 500, 422});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(full_repaint)->Unit(benchmark::kMicrosecond);

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

// The editor through the plug-in module, as quevrin editor opens it, on a
// display ($DISPLAY; the benchmark says so and stops without one): the time
// from creating the filter to the editor's first frame painted in the host's
// window, and a whole repaint of the editor including the blits, at each
// scale (argument: 0 for 1, 1 for 1.5, 2 for 2, given as QUEVRIN_SCALE).

#include "host/dx/ISfPlugInProp.h"
#include "host/dx/QuevrinIds.h"
#include "mppi/GuiInterface.h"
#include "pengui/WindowInterface.h"
#include "pengui/x11/WindowX11.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace {

// The editor's size at scale 1, 1.5 and 2.
constexpr int widths[] = {500, 750, 1000};
constexpr int heights[] = {422, 633, 844};

using GetClassObject = HRESULT(STDMETHODCALLTYPE*)(REFCLSID, REFIID, void**);

// The module, loaded once, and the host's window on a connection of its own.
struct Host {
    explicit Host(const benchmark::State& state) {
        const auto scale = static_cast<std::size_t>(state.range(0));
        // The module's editors take it when they are made.
        setenv("QUEVRIN_SCALE", std::to_string(1 + 0.5 * double(scale)).c_str(), 1);
        static void* module = dlopen(QUEVRIN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (module != nullptr) {
            get_class_object = reinterpret_cast<GetClassObject>(dlsym(module, "DllGetClassObject"));
        }
        display = XOpenDisplay(nullptr);
        if (display != nullptr) {
            window =
                XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                    unsigned(widths[scale]), unsigned(heights[scale]), 0, 0, 0);
            XMapWindow(display, window);
            XSync(display, False);
        }
    }
    ~Host() {
        if (display != nullptr) {
            XDestroyWindow(display, window);
            XCloseDisplay(display);
        }
    }
    bool ready() const { return display != nullptr && get_class_object != nullptr; }

    // A new filter's private interface, with one reference; null on failure.
    host::dx::ISfPlugInProp* create() const {
        IClassFactory* factory = nullptr;
        if (FAILED(get_class_object(host::dx::CLSID_Quevrin, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)))) {
            return nullptr;
        }
        host::dx::ISfPlugInProp* prop = nullptr;
        factory->CreateInstance(nullptr, host::dx::IID_ISfPlugInProp,
                                reinterpret_cast<void**>(&prop));
        factory->Release();
        return prop;
    }

    // The editor of prop opened in the window and painted once; false when
    // the module has no X11 window to give.
    bool open_and_paint(host::dx::ISfPlugInProp* prop) const {
        pengui::WindowInterface* editor = prop->GetEditorWindow();
        if (editor == nullptr || editor->event_fd() < 0) {
            return false;
        }
        prop->GetGui()->open(pengui::WindowX11::parent_handle(window));
        XSync(display, False); // the server has mapped it and sent the expose
        editor->dispatch_events();
        XSync(display, False); // and has drawn what the module sent
        return true;
    }

    GetClassObject get_class_object = nullptr;
    Display* display = nullptr;
    Window window = 0;
};

void BM_ModuleEditorFirstFrame(benchmark::State& state) {
    Host host(state);
    if (!host.ready()) {
        state.SkipWithError("no X display or no module");
        return;
    }
    for (auto _ : state) {
        host::dx::ISfPlugInProp* prop = host.create();
        if (prop == nullptr || !host.open_and_paint(prop)) {
            state.SkipWithError("the module's editor is not an X11 window");
            return;
        }
        state.PauseTiming();
        prop->GetGui()->close();
        prop->Release();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ModuleEditorFirstFrame)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_ModuleEditorRepaint(benchmark::State& state) {
    Host host(state);
    host::dx::ISfPlugInProp* prop = host.ready() ? host.create() : nullptr;
    if (prop == nullptr || !host.open_and_paint(prop)) {
        state.SkipWithError("no X display, no module, or no X11 editor window");
        return;
    }
    pengui::WindowInterface* editor = prop->GetEditorWindow();
    for (auto _ : state) {
        // The whole window becomes dirty, as after a change of its size.
        editor->content_size_changed();
        editor->dispatch_events();
        XSync(host.display, False);
    }
    prop->GetGui()->close();
    prop->Release();
}
BENCHMARK(BM_ModuleEditorRepaint)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace

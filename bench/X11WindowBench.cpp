// The X11 window on a display ($DISPLAY; the benchmark says so and stops
// without one): the time from creating an editor-sized (500 x 422) window to
// its first frame painted on the server, and a whole repaint through the
// tile loop including the blits (MIT-SHM when offered: see the counter).

#include "pengui/BackgroundItem.h"
#include "pengui/Messages.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"
#include "pengui/Picture.h"
#include "pengui/SPTreeSplit.h"
#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/RenderingBufferX11.h"
#include "pengui/x11/WindowX11.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <unistd.h>

using namespace pengui;

namespace {

constexpr int width = 500;
constexpr int height = 422;

// Four 500 x 120 skin bands, stacked.
struct Bands {
    explicit Bands(WindowInterface& window) {
        data = PicDataFactory::instance().create("bkg_02_top");
        for (std::size_t i = 0; i < items.size(); ++i) {
            pictures[i].set_data(data.get());
            items[i].set_picture(pictures[i]);
            split.add_child(&items[i], 120);
        }
        split.set_position(0, 0);
        window.set_background_root(&split);
    }
    std::unique_ptr<PicDataInterface> data;
    std::array<Picture, 4> pictures;
    std::array<BackgroundItem, 4> items;
    BackgroundSplit split;
};

struct Host {
    Host() : loop(EventLoopX11::connect()) {
        // A virtual display now and then refuses a connection that closely
        // follows another.
        for (int i = 0; i < 10 && !loop && std::getenv("DISPLAY") != nullptr; ++i) {
            usleep(50000);
            loop = EventLoopX11::connect();
        }
        if (loop) {
            Display* d = loop->display();
            window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, width, height, 0, 0, 0);
            XMapWindow(d, window);
            XSync(d, False);
        }
    }
    ~Host() {
        if (loop) {
            XDestroyWindow(loop->display(), window);
        }
    }
    std::unique_ptr<EventLoopX11> loop;
    Window window = 0;
};

void BM_FirstPaintedFrame(benchmark::State& state) {
    Host host;
    if (!host.loop) {
        state.SkipWithError("no X display");
        return;
    }
    Display* d = host.loop->display();
    for (auto _ : state) {
        WindowX11 window(*host.loop, width, height);
        Bands bands(window);
        window.open(WindowX11::parent_handle(host.window));
        XSync(d, False); // the server has mapped it and sent the expose
        host.loop->dispatch();
        XSync(d, False); // and has drawn every tile
        state.PauseTiming();
        window.close();
        XSync(d, False);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPaintedFrame)->Unit(benchmark::kMillisecond);

void BM_FullRepaintWithBlit(benchmark::State& state) {
    Host host;
    if (!host.loop) {
        state.SkipWithError("no X display");
        return;
    }
    if (state.range(0) == 0) {
        host.loop->disable_shared_memory();
    }
    Display* d = host.loop->display();
    WindowX11 window(*host.loop, width, height);
    Bands bands(window);
    window.open(WindowX11::parent_handle(host.window));
    XSync(d, False);
    host.loop->dispatch();
    for (auto _ : state) {
        window.handle(Invalidate(Rect{0, 0, width, height}));
        host.loop->dispatch();
        XSync(d, False);
    }
    state.counters["shm"] =
        static_cast<RenderingBufferX11&>(window.rendering_buffer()).uses_shared_memory() ? 1 : 0;
}
// Argument 1: MIT-SHM when the server offers it; 0: XPutImage.
BENCHMARK(BM_FullRepaintWithBlit)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

} // namespace

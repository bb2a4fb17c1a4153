// The module's editor in a real X window (the suite's virtual display), as a
// host opens it: a child of the host's window on the module's own
// connection, driven through the window's event_fd and dispatch_events.
// Opening and closing it many times while the filter streams on another
// thread leaves no window behind (and, in the sanitizer build, no leak).
#include "ModuleGraph.h"

#include "mppi/GuiInterface.h"
#include "pengui/WindowInterface.h"
#include "pengui/x11/WindowX11.h"
#include "support/ChildWindows.h"
#include "support/ConnectWithRetries.h"

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

TEST_F(ModuleTest, the_editor_opens_and_closes_200_times_in_a_host_window_while_streaming) {
    Display* display = test::connect_with_retries([] { return XOpenDisplay(nullptr); });
    if (display == nullptr) {
        GTEST_SKIP() << "no X display to open; make test runs this inside a virtual display";
    }
    pengui::WindowInterface* window = prop->GetEditorWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_GE(window->event_fd(), 0) << "the module's editor window is not an X11 window";
    const Window host =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 500, 422, 0, 0, 0);
    XMapWindow(display, host);
    XSync(display, False);

    build(make_audio_type(WAVE_FORMAT_IEEE_FLOAT, 2, 44100, 32), 2, 2048);
    run();
    std::atomic<bool> streaming{true};
    std::atomic<int> failed_pushes{0};
    std::thread stream([&] {
        const std::vector<float> silence(512, 0.0f);
        while (streaming.load()) {
            if (source->push(reinterpret_cast<const BYTE*>(silence.data()),
                             static_cast<LONG>(silence.size() * sizeof(float)), nullptr,
                             nullptr) != S_OK) {
                ++failed_pushes;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });

    mppi::GuiInterface* gui = prop->GetGui();
    int shown = 0;
    for (int i = 0; i < 200; ++i) {
        gui->open(pengui::WindowX11::parent_handle(host));
        window->dispatch_events();
        XSync(display, False);
        shown += static_cast<int>(test::child_windows(display, host).size());
        gui->close();
        window->dispatch_events();
    }
    streaming = false;
    stream.join();
    XSync(display, False);
    EXPECT_EQ(shown, 200) << "each open made the editor's window in the host's";
    EXPECT_TRUE(test::child_windows(display, host).empty());
    EXPECT_EQ(failed_pushes.load(), 0);
    XDestroyWindow(display, host);
    XCloseDisplay(display);
}

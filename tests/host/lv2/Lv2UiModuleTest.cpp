// The editor's UI binary as an LV2 host loads it, on the suite's display: it
// opens as a 500 x 422 child of the host's window and tells the host that
// size, never writes back a port value the host sent, its cleanup leaves no
// window and no connection behind, and a host that destroys its window first
// does not bring the process down.
// Xlib's macros (None, Bool, ...) come after the test framework's names.
#include <gtest/gtest.h>

#include "support/ChildWindows.h"
#include "support/ConnectWithRetries.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <lv2/ui/ui.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

int open_descriptors() {
    const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(fds), end(fds)));
}

struct HostSide {
    std::vector<std::pair<int, int>> sizes;
    int writes = 0;

    static int resize(LV2UI_Feature_Handle h, int width, int height) {
        static_cast<HostSide*>(h)->sizes.emplace_back(width, height);
        return 0;
    }
    static void write(LV2UI_Controller c, uint32_t, uint32_t, uint32_t, const void*) {
        ++static_cast<HostSide*>(c)->writes;
    }
};

class Lv2UiModule : public ::testing::Test {
protected:
    void SetUp() override {
        display = test::connect_with_retries([] { return XOpenDisplay(nullptr); });
        if (display == nullptr) {
            GTEST_SKIP() << "no X display: make test runs the suite inside xvfb-run";
        }
        module = dlopen(QUEVRIN_LV2_BUNDLE "/quevrin_ui.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        const auto entry =
            reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(module, "lv2ui_descriptor"));
        ASSERT_NE(entry, nullptr);
        descriptor = entry(0);
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(entry(1), nullptr);
        idle = static_cast<const LV2UI_Idle_Interface*>(
            descriptor->extension_data(LV2_UI__idleInterface));
        ASSERT_NE(idle, nullptr);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 500, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
    }
    void TearDown() override {
        if (display != nullptr) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
        if (module != nullptr) {
            dlclose(module);
        }
    }

    LV2UI_Handle instantiate(LV2UI_Widget& widget) {
        LV2_Feature parent_feature{LV2_UI__parent,
                                   reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))};
        LV2_Feature resize_feature{LV2_UI__resize, &resize};
        LV2_Feature idle_feature{LV2_UI__idleInterface, nullptr};
        const LV2_Feature* features[] = {&parent_feature, &resize_feature, &idle_feature, nullptr};
        return descriptor->instantiate(descriptor, "urn:vantrel:quevrin", QUEVRIN_LV2_BUNDLE,
                                       HostSide::write, &host, &widget, features);
    }

    std::vector<Window> children() {
        XSync(display, False);
        return test::child_windows(display, parent);
    }

    Display* display = nullptr;
    void* module = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    Window parent = 0;
    HostSide host;
    LV2UI_Resize resize{&host, HostSide::resize};
};

TEST_F(Lv2UiModule, opens_in_the_parent_and_its_cleanup_leaves_nothing_behind) {
    const int descriptors = open_descriptors();
    std::vector<double> open_ms;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        host = HostSide{};
        const auto start = std::chrono::steady_clock::now();
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle ui = test::connect_with_retries([&] { return instantiate(widget); });
        ASSERT_NE(ui, nullptr);
        EXPECT_EQ(idle->idle(ui), 0);
        open_ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());

        const std::vector<Window> inside = children();
        ASSERT_EQ(inside.size(), 1u);
        EXPECT_EQ(inside[0], static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget)));
        XWindowAttributes a{};
        XGetWindowAttributes(display, inside[0], &a);
        EXPECT_EQ(a.width, 500);
        EXPECT_EQ(a.height, 422);
        EXPECT_EQ(a.map_state, IsViewable);
        ASSERT_FALSE(host.sizes.empty());
        EXPECT_EQ(host.sizes.back(), std::make_pair(500, 422));

        // Values the host sends are shown, never written back.
        for (uint32_t port = 0; port < 121; ++port) {
            const float value = 1.0f;
            descriptor->port_event(ui, port, sizeof value, 0, &value);
        }
        idle->idle(ui);
        EXPECT_EQ(host.writes, 0);

        descriptor->cleanup(ui);
        EXPECT_TRUE(children().empty());
    }
    // Every round closed its own connection to the server.
    EXPECT_EQ(open_descriptors(), descriptors);
    std::sort(open_ms.begin(), open_ms.end());
    std::printf("UI open (instantiate and first idle): median %.1f ms, slowest %.1f ms\n",
                open_ms[open_ms.size() / 2], open_ms.back());
}

TEST_F(Lv2UiModule, survives_a_host_that_destroys_its_window_before_the_cleanup) {
    for (const bool idle_between : {false, true}) {
        SCOPED_TRACE(idle_between ? "an idle call between" : "cleanup at once");
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle ui = test::connect_with_retries([&] { return instantiate(widget); });
        ASSERT_NE(ui, nullptr);
        idle->idle(ui);
        XDestroyWindow(display, parent);
        XSync(display, False);
        if (idle_between) {
            idle->idle(ui);
        }
        descriptor->cleanup(ui);
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 500, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
    }
}

} // namespace

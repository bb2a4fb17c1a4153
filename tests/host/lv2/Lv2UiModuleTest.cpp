// The editor's UI binary as an LV2 host loads it, on the suite's display: it
// opens as a 500 x 422 child of the host's window and tells the host that
// size, never writes back a port value the host sent, its cleanup leaves no
// window and no connection behind, and a host that destroys its window first
// does not bring the process down. Found through lilv as a host finds it,
// with the host's ui:scaleFactor 2 it asks for 1000 x 844 and draws the 2x
// editor.
// Xlib's macros (None, Bool, ...) come after the test framework's names.
#include <gtest/gtest.h>

#include "support/ChildWindows.h"
#include "support/ConnectWithRetries.h"
#include "support/LilvHost.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <png.h>

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

    // The UI in the parent; `more` are features a test adds (null-ended).
    LV2UI_Handle instantiate(LV2UI_Widget& widget, const LV2_Feature* const* more = nullptr) {
        LV2_Feature parent_feature{LV2_UI__parent,
                                   reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent))};
        LV2_Feature resize_feature{LV2_UI__resize, &resize};
        LV2_Feature idle_feature{LV2_UI__idleInterface, nullptr};
        std::vector<const LV2_Feature*> features = {&parent_feature, &resize_feature,
                                                    &idle_feature};
        for (int i = 0; more != nullptr && more[i] != nullptr; ++i) {
            features.push_back(more[i]);
        }
        features.push_back(nullptr);
        return descriptor->instantiate(descriptor, "urn:vantrel:quevrin", QUEVRIN_LV2_BUNDLE,
                                       HostSide::write, &host, &widget, features.data());
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

// The 2x screenshot's pixels, 0xRRGGBB; empty when it cannot be made.
std::vector<std::uint32_t> screenshot_2x(const std::string& file) {
    std::vector<std::uint32_t> pixels;
    const std::string command =
        std::string(QUEVRIN_CLI_PATH) + " screenshot " + file + " --scale 2";
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (std::system(command.c_str()) != 0 ||
        png_image_begin_read_from_file(&png, file.c_str()) == 0) {
        return pixels;
    }
    png.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
    png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr);
    std::remove(file.c_str());
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) {
        pixels.push_back(std::uint32_t(rgb[i]) << 16 | std::uint32_t(rgb[i + 1]) << 8 | rgb[i + 2]);
    }
    return pixels;
}

TEST_F(Lv2UiModule, at_the_hosts_scale_factor_2_it_asks_for_1000_x_844_and_draws_the_2x_editor) {
    // A host learns from the bundle that the UI reads ui:scaleFactor.
    LilvHost lilv({QUEVRIN_LV2_BUNDLE});
    LilvUIs* uis = lilv_plugin_get_uis(lilv.plugin("urn:vantrel:quevrin"));
    const LilvNode* ui_uri = lilv_ui_get_uri(lilv_uis_get(uis, lilv_uis_begin(uis)));
    lilv_world_load_resource(lilv.world(), ui_uri); // its own description
    LilvNode* supported = lilv_new_uri(lilv.world(), LV2_OPTIONS__supportedOption);
    LilvNode* scale_factor = lilv_new_uri(lilv.world(), LV2_UI__scaleFactor);
    EXPECT_TRUE(lilv_world_ask(lilv.world(), ui_uri, supported, scale_factor));
    lilv_node_free(supported);
    lilv_node_free(scale_factor);
    lilv_uis_free(uis);

    // The host's window is large enough for the editor at 2.
    XResizeWindow(display, parent, 1000, 844);
    const float factor = 2.0f;
    const LV2_Options_Option options[] = {{LV2_OPTIONS_INSTANCE, 0, lilv.map(LV2_UI__scaleFactor),
                                           sizeof factor, lilv.map(LV2_ATOM__Float), &factor},
                                          {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    LV2_Feature options_feature{LV2_OPTIONS__options, const_cast<LV2_Options_Option*>(options)};
    LV2_Feature map_feature{LV2_URID__map, lilv.urid_map()};
    const LV2_Feature* more[] = {&options_feature, &map_feature, nullptr};
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle ui = test::connect_with_retries([&] { return instantiate(widget, more); });
    ASSERT_NE(ui, nullptr);
    ASSERT_FALSE(host.sizes.empty());
    EXPECT_EQ(host.sizes.back(), std::make_pair(1000, 844));
    const auto window = static_cast<Window>(reinterpret_cast<std::uintptr_t>(widget));
    XWindowAttributes a{};
    XGetWindowAttributes(display, window, &a);
    EXPECT_EQ(a.width, 1000);
    EXPECT_EQ(a.height, 844);

    // The filter's 2x editor as the command-line host draws it, but for the
    // tempo spin, which a host that supplies the tempo does not get.
    const std::vector<std::uint32_t> expected =
        screenshot_2x("/tmp/quevrin-lv2-ui-" + std::to_string(getpid()) + ".png");
    ASSERT_EQ(expected.size(), 1000u * 844u);
    // The spin's box (SKIN.md) at 2: (222, 4) to (249, 53).
    const auto in_spin = [](int x, int y) { return x >= 444 && x < 498 && y < 106; };
    int differ = -1, spin_differs = 0;
    for (int round = 0; round < 30 && differ != 0; ++round) {
        idle->idle(ui);
        XSync(display, False);
        XImage* image = XGetImage(display, window, 0, 0, 1000, 844, AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        differ = spin_differs = 0;
        for (int y = 0; y < 844; ++y)
            for (int x = 0; x < 1000; ++x)
                if ((XGetPixel(image, x, y) & 0xFFFFFF) != expected[std::size_t(y * 1000 + x)])
                    ++(in_spin(x, y) ? spin_differs : differ);
        XDestroyImage(image);
        usleep(100000);
    }
    EXPECT_EQ(differ, 0) << "pixels outside the tempo spin differ from the 2x screenshot";
    EXPECT_GT(spin_differs, 0) << "a host that gives the tempo shows no spin";
    descriptor->cleanup(ui);
}

} // namespace

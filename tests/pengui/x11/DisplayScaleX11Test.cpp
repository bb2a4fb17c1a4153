// The scale an X display asks for, from a real server's resources (as xrdb
// loads them) and the environment: QUEVRIN_SCALE over Xft.dpi over GDK_SCALE.
#include "support/ConnectWithRetries.h"
#include "support/ScopedEnv.h"

#include "pengui/x11/DisplayScaleX11.h"

// Xlib's macros (None, Bool, ...) come after the test framework's names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

namespace {

std::optional<std::string> text(const char* value) {
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Sets the root window's resource string (none: removes it).
void set_resources(Display* d, const std::optional<std::string>& resources) {
    if (resources) {
        XChangeProperty(d, DefaultRootWindow(d), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(resources->data()),
                        int(resources->size()));
    } else {
        XDeleteProperty(d, DefaultRootWindow(d), XA_RESOURCE_MANAGER);
    }
    XSync(d, False);
}

// The display's resources as they were, put back however the test ends.
struct KeptResources {
    ~KeptResources() {
        set_resources(display, saved);
        XCloseDisplay(display);
    }
    Display* display;
    std::optional<std::string> saved = text(XResourceManagerString(display));
};

TEST(DisplayScaleX11, follows_quevrin_scale_then_xft_dpi_then_gdk_scale) {
    Display* d = std::getenv("DISPLAY") != nullptr
                     ? test::connect_with_retries([] { return XOpenDisplay(nullptr); })
                     : nullptr;
    if (d == nullptr) {
        GTEST_SKIP()
            << "no X display to open; make test runs these checks inside a virtual display";
    }
    const KeptResources kept{d};
    struct Case {
        const char* resources; // the root window's, or none
        const char* gdk_scale;
        const char* quevrin_scale;
        double expected;
    };
    for (const Case& c :
         {Case{nullptr, nullptr, nullptr, 1}, Case{"Xft.dpi:\t144\n", "2", nullptr, 1.5},
          Case{"Xcursor.size: 48\nXft.dpi: 192\n", nullptr, nullptr, 2},
          Case{"Xft.dpi:\twide\n", "3", nullptr, 2},
          Case{"Xft.dpi:\t192\n", nullptr, "1.5", 1.5}}) {
        SCOPED_TRACE(c.resources ? c.resources : "no resources");
        set_resources(d, text(c.resources));
        test::ScopedEnv gdk("GDK_SCALE", text(c.gdk_scale));
        test::ScopedEnv quevrin("QUEVRIN_SCALE", text(c.quevrin_scale));
        // A connection reads the resources when it opens.
        Display* fresh = test::connect_with_retries([] { return XOpenDisplay(nullptr); });
        ASSERT_NE(fresh, nullptr);
        EXPECT_EQ(pengui::display_scale(fresh).factor(), c.expected);
        XCloseDisplay(fresh);
    }
}

} // namespace

// The scale an X display asks for, read from a real server's resources and
// the environment: QUEVRIN_SCALE over Xft.dpi over GDK_SCALE over 1.
#include "support/ConnectWithRetries.h"
#include "support/ScopedEnv.h"

#include "pengui/x11/DisplayScaleX11.h"

// Xlib's macros (None, Bool, ...) come after the test framework's names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// The root window's resource string (what xrdb loads), given a value while
// the test runs and put back however it ends.
class ServerResources {
public:
    explicit ServerResources(Display* display) : display_(display) {
        if (const char* now = XResourceManagerString(display)) {
            saved_ = now;
        }
    }
    ~ServerResources() { set(saved_); }
    ServerResources(const ServerResources&) = delete;
    ServerResources& operator=(const ServerResources&) = delete;

    // Null removes the resources.
    void set(const std::optional<std::string>& text) {
        const Window root = DefaultRootWindow(display_);
        if (text) {
            XChangeProperty(display_, root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text->data()),
                            static_cast<int>(text->size()));
        } else {
            XDeleteProperty(display_, root, XA_RESOURCE_MANAGER);
        }
        XSync(display_, False);
    }

private:
    Display* display_;
    std::optional<std::string> saved_;
};

std::optional<std::string> text(const char* value) {
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

TEST(DisplayScaleX11, follows_quevrin_scale_then_xft_dpi_then_gdk_scale) {
    Display* display = nullptr;
    if (std::getenv("DISPLAY") != nullptr) {
        display = test::connect_with_retries([] { return XOpenDisplay(nullptr); });
    }
    if (display == nullptr) {
        GTEST_SKIP()
            << "no X display to open; make test runs these checks inside a virtual display";
    }
    struct Case {
        const char* resources; // null: none
        const char* gdk_scale;
        const char* quevrin_scale;
        double expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, 1},
        {"Xft.dpi:\t144\n", nullptr, nullptr, 1.5},
        {"Xft.antialias:\t1\nXft.dpi:\t192\n", nullptr, nullptr, 2},
        {"Xft.dpi:\t120\n", "2", nullptr, 1},
        {"Xft.dpi:\twide\n", "2", nullptr, 2},
        {"Xcursor.size:\t48\n", "2", nullptr, 2},
        {nullptr, "3", nullptr, 2},
        {"Xft.dpi:\t192\n", "2", "1.5", 1.5},
        {"Xft.dpi:\t192\n", nullptr, "no", 2},
    };
    {
        ServerResources resources(display);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.resources ? c.resources : "no resources") + ", GDK_SCALE " +
                         (c.gdk_scale ? c.gdk_scale : "unset") + ", QUEVRIN_SCALE " +
                         (c.quevrin_scale ? c.quevrin_scale : "unset"));
            resources.set(text(c.resources));
            test::ScopedEnv gdk("GDK_SCALE", text(c.gdk_scale));
            test::ScopedEnv quevrin("QUEVRIN_SCALE", text(c.quevrin_scale));
            // A connection reads the resources when it opens.
            Display* fresh = test::connect_with_retries([] { return XOpenDisplay(nullptr); });
            ASSERT_NE(fresh, nullptr);
            EXPECT_EQ(pengui::display_scale(fresh).factor(), c.expected);
            XCloseDisplay(fresh);
        }
    }
    XCloseDisplay(display);
}

} // namespace

#include "pengui/x11/DisplayScaleX11.h"

#include "pengui/x11/XlibFunctions.h"

#include <cstdlib>
#include <cstring>

namespace pengui {

namespace {

// The positive number the whole text spells; 0 for any other text.
double number(const char* text) {
    if (text == nullptr || *text == '\0') {
        return 0;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return *end == '\0' && value > 0 ? value : 0;
}

// Xft.dpi from the server's resource database as the connection read it;
// 0 when it has none.
double xft_dpi(Display* display) {
    if (display == nullptr || !xlib_loaded()) {
        return 0;
    }
    const XlibFunctions& x = xlib();
    const char* resources = x.XResourceManagerString(display);
    if (resources == nullptr) {
        return 0;
    }
    x.XrmInitialize();
    XrmDatabase database = x.XrmGetStringDatabase(resources);
    char* type = nullptr;
    XrmValue value{};
    double dpi = 0;
    if (x.XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr &&
        type != nullptr && std::strcmp(type, "String") == 0) {
        dpi = number(value.addr);
    }
    x.XrmDestroyDatabase(database);
    return dpi;
}

} // namespace

Scale display_scale(Display* display) {
    Scale scale;
    if (scale_from_environment(scale)) {
        return scale;
    }
    if (const double dpi = xft_dpi(display); dpi > 0) {
        return Scale::for_dpi(dpi);
    }
    if (const double gdk = number(std::getenv("GDK_SCALE")); gdk > 0) {
        return Scale::at_most(gdk);
    }
    return scale;
}

} // namespace pengui

#include "pengui/x11/ErrorTrapX11.h"
#include "pengui/x11/XlibFunctions.h"

#include <X11/Xlib.h>

namespace pengui {

namespace {
// All windows of the layer live on one thread, so one trap runs at a time.
int trapped_error = 0;

int record_error(Display*, XErrorEvent* event) {
    if (trapped_error == 0) {
        trapped_error = event->error_code;
    }
    return 0;
}
} // namespace

ErrorTrapX11::ErrorTrapX11(_XDisplay* display) : display_(display) {
    xlib().XSync(display_, False);
    trapped_error = 0;
    previous_ = reinterpret_cast<void*>(xlib().XSetErrorHandler(&record_error));
}

ErrorTrapX11::~ErrorTrapX11() {
    xlib().XSync(display_, False);
    xlib().XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_));
}

int ErrorTrapX11::sync() {
    xlib().XSync(display_, False);
    return trapped_error;
}

} // namespace pengui

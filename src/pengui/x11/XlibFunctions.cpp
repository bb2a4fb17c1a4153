#include "pengui/x11/XlibFunctions.h"

#include <dlfcn.h>

#include <type_traits>

namespace pengui {

namespace {

// The functions, or all null when something is missing. The libraries stay
// loaded for the rest of the process.
XlibFunctions load() {
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    void* xext = dlopen("libXext.so.6", RTLD_NOW | RTLD_LOCAL);
    void* xfixes = dlopen("libXfixes.so.3", RTLD_NOW | RTLD_LOCAL);
    XlibFunctions f{};
    if (x11 == nullptr || xext == nullptr || xfixes == nullptr) {
        return f;
    }
    bool complete = true;
    const auto bind = [&complete](void* library, auto& function, const char* name) {
        function =
            reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
        complete = complete && function != nullptr;
    };
    bind(x11, f.XOpenDisplay, "XOpenDisplay");
    bind(x11, f.XCloseDisplay, "XCloseDisplay");
    bind(x11, f.XCreateGC, "XCreateGC");
    bind(x11, f.XFreeGC, "XFreeGC");
    bind(x11, f.XCreateImage, "XCreateImage");
    bind(x11, f.XPutImage, "XPutImage");
    bind(x11, f.XCreateWindow, "XCreateWindow");
    bind(x11, f.XDestroyWindow, "XDestroyWindow");
    bind(x11, f.XMapWindow, "XMapWindow");
    bind(x11, f.XMapRaised, "XMapRaised");
    bind(x11, f.XMoveResizeWindow, "XMoveResizeWindow");
    bind(x11, f.XGetWindowAttributes, "XGetWindowAttributes");
    bind(x11, f.XStoreName, "XStoreName");
    bind(x11, f.XSetClassHint, "XSetClassHint");
    bind(x11, f.XSetForeground, "XSetForeground");
    bind(x11, f.XFillRectangle, "XFillRectangle");
    bind(x11, f.XSetInputFocus, "XSetInputFocus");
    bind(x11, f.XGrabPointer, "XGrabPointer");
    bind(x11, f.XUngrabPointer, "XUngrabPointer");
    bind(x11, f.XWarpPointer, "XWarpPointer");
    bind(x11, f.XEventsQueued, "XEventsQueued");
    bind(x11, f.XPending, "XPending");
    bind(x11, f.XNextEvent, "XNextEvent");
    bind(x11, f.XLookupString, "XLookupString");
    bind(x11, f.XRefreshKeyboardMapping, "XRefreshKeyboardMapping");
    bind(x11, f.XSetErrorHandler, "XSetErrorHandler");
    bind(x11, f.XFlush, "XFlush");
    bind(x11, f.XSync, "XSync");
    bind(x11, f.XResourceManagerString, "XResourceManagerString");
    bind(x11, f.XrmInitialize, "XrmInitialize");
    bind(x11, f.XrmGetStringDatabase, "XrmGetStringDatabase");
    bind(x11, f.XrmGetResource, "XrmGetResource");
    bind(x11, f.XrmDestroyDatabase, "XrmDestroyDatabase");
    bind(xext, f.XShmQueryVersion, "XShmQueryVersion");
    bind(xext, f.XShmCreateImage, "XShmCreateImage");
    bind(xext, f.XShmAttach, "XShmAttach");
    bind(xext, f.XShmDetach, "XShmDetach");
    bind(xext, f.XShmPutImage, "XShmPutImage");
    bind(xfixes, f.XFixesQueryExtension, "XFixesQueryExtension");
    bind(xfixes, f.XFixesQueryVersion, "XFixesQueryVersion");
    bind(xfixes, f.XFixesHideCursor, "XFixesHideCursor");
    bind(xfixes, f.XFixesShowCursor, "XFixesShowCursor");
    return complete ? f : XlibFunctions{};
}

const XlibFunctions& functions() {
    static const XlibFunctions f = load();
    return f;
}

} // namespace

bool xlib_loaded() {
    return functions().XOpenDisplay != nullptr;
}

const XlibFunctions& xlib() {
    return functions();
}

} // namespace pengui

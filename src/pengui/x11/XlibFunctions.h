#pragma once

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xfixes.h>

namespace pengui {

// Xlib with its MIT-SHM and XFixes extensions, loaded at the first connection
// to a display rather than with the module: a host that never shows the
// editor (a render, a host scanning its plug-ins) never maps and relocates
// them. The layer calls every function of the three libraries through here.
struct XlibFunctions {
    decltype(&::XOpenDisplay) XOpenDisplay;
    decltype(&::XCloseDisplay) XCloseDisplay;
    decltype(&::XCreateGC) XCreateGC;
    decltype(&::XFreeGC) XFreeGC;
    decltype(&::XCreateImage) XCreateImage;
    decltype(&::XPutImage) XPutImage;
    decltype(&::XCreateWindow) XCreateWindow;
    decltype(&::XDestroyWindow) XDestroyWindow;
    decltype(&::XMapWindow) XMapWindow;
    decltype(&::XMapRaised) XMapRaised;
    decltype(&::XMoveResizeWindow) XMoveResizeWindow;
    decltype(&::XGetWindowAttributes) XGetWindowAttributes;
    decltype(&::XStoreName) XStoreName;
    decltype(&::XSetClassHint) XSetClassHint;
    decltype(&::XSetForeground) XSetForeground;
    decltype(&::XFillRectangle) XFillRectangle;
    decltype(&::XSetInputFocus) XSetInputFocus;
    decltype(&::XGrabPointer) XGrabPointer;
    decltype(&::XUngrabPointer) XUngrabPointer;
    decltype(&::XWarpPointer) XWarpPointer;
    decltype(&::XEventsQueued) XEventsQueued;
    decltype(&::XPending) XPending;
    decltype(&::XNextEvent) XNextEvent;
    decltype(&::XLookupString) XLookupString;
    decltype(&::XRefreshKeyboardMapping) XRefreshKeyboardMapping;
    decltype(&::XSetErrorHandler) XSetErrorHandler;
    decltype(&::XFlush) XFlush;
    decltype(&::XSync) XSync;
    decltype(&::XResourceManagerString) XResourceManagerString;
    decltype(&::XrmInitialize) XrmInitialize;
    decltype(&::XrmGetStringDatabase) XrmGetStringDatabase;
    decltype(&::XrmGetResource) XrmGetResource;
    decltype(&::XrmDestroyDatabase) XrmDestroyDatabase;
    decltype(&::XShmQueryVersion) XShmQueryVersion;
    decltype(&::XShmCreateImage) XShmCreateImage;
    decltype(&::XShmAttach) XShmAttach;
    decltype(&::XShmDetach) XShmDetach;
    decltype(&::XShmPutImage) XShmPutImage;
    decltype(&::XFixesQueryExtension) XFixesQueryExtension;
    decltype(&::XFixesQueryVersion) XFixesQueryVersion;
    decltype(&::XFixesHideCursor) XFixesHideCursor;
    decltype(&::XFixesShowCursor) XFixesShowCursor;
};

// [editor thread] Loads the libraries at the first call; false when one of
// them or of their functions is missing: then no display answers.
bool xlib_loaded();
// [editor thread] The functions, once xlib_loaded() (every object of the layer
// comes after a connection to a display).
const XlibFunctions& xlib();

} // namespace pengui

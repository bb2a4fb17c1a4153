#include "HostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

std::unique_ptr<HostWindow> HostWindow::open(const char* title) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return nullptr;
    const int screen = DefaultScreen(display);
    const Window window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 100, 100, 0,
                            BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, title);
    XClassHint hint;
    hint.res_name = const_cast<char*>("quevrin");
    hint.res_class = const_cast<char*>("Quevrin");
    XSetClassHint(display, window, &hint);
    Atom delete_atom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &delete_atom, 1);
    XSelectInput(display, window, StructureNotifyMask);
    return std::unique_ptr<HostWindow>(new HostWindow(display, window, delete_atom));
}

HostWindow::HostWindow(_XDisplay* display, unsigned long window, unsigned long delete_atom)
    : display_(display), window_(window), delete_atom_(delete_atom) {}

HostWindow::~HostWindow() {
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
}

int HostWindow::fd() const {
    return ConnectionNumber(display_);
}

void HostWindow::show(int width, int height) {
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display_, window_, hints);
    XFree(hints);
    XResizeWindow(display_, window_, unsigned(width), unsigned(height));
    XMapRaised(display_, window_);
    XFlush(display_);
}

bool HostWindow::dispatch() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == ClientMessage && Atom(event.xclient.data.l[0]) == delete_atom_)
            close_requested_ = true;
    }
    return close_requested_;
}

int HostWindow::children() const {
    Window root = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, window_, &root, &parent, &list, &count) == 0)
        return -1;
    if (list != nullptr)
        XFree(list);
    return int(count);
}

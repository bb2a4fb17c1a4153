#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace test {

// The windows the server lists as children of window, bottom first.
inline std::vector<Window> child_windows(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned count = 0;
    std::vector<Window> children;
    if (XQueryTree(display, window, &root, &parent, &list, &count) != 0) {
        children.assign(list, list + count);
    }
    if (list != nullptr) {
        XFree(list);
    }
    return children;
}

} // namespace test

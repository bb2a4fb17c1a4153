#pragma once

#include <memory>

struct _XDisplay;

// The program's own top-level window, on its own connection to the X server,
// in which the plug-in's editor opens as a child. Closing it from the window
// manager (WM_DELETE_WINDOW) is a request the program's loop sees.
class HostWindow {
public:
    // [editor thread] Null when no X server answers.
    static std::unique_ptr<HostWindow> open(const char* title);
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    // [editor thread] Destroys the window and closes the connection.
    ~HostWindow();

    // [editor thread] The window id a child is opened in.
    unsigned long id() const { return window_; }
    // [any thread] The connection's descriptor, to wait on.
    int fd() const;
    // [editor thread] Gives the window its size (fixed: the editor does not
    // stretch) and shows it.
    void show(int width, int height);
    // [editor thread] Handles the events received; true once the window
    // manager asked to close the window.
    bool dispatch();
    // [editor thread] Child windows the window holds now.
    int children() const;

private:
    HostWindow(_XDisplay* display, unsigned long window, unsigned long delete_atom);

    _XDisplay* display_;
    unsigned long window_;
    unsigned long delete_atom_;
    bool close_requested_ = false;
};

#pragma once

#include "pengui/WindowInterface.h"

#include <windows.h>

namespace pengui {

// The toolkit's window as a Win32 child window of the host's parent: paints
// through a DIB section, turns mouse messages into toolkit messages, runs
// toolkit timers as thread timers and borrows a popup EDIT for text input.
//
// The window procedure, the timer procedure and every operation run on the
// thread of the parent's message loop; the class and the timer list are
// process-wide without a lock because every toolkit window lives there.
class WindowWin32 : public WindowInterface {
public:
    // [editor thread] Both sizes start as (width, height); no native window yet.
    WindowWin32(int width, int height);
    // [editor thread] Kills this window's timers, destroys the native window
    // and unregisters the class when no window of it is open any more.
    ~WindowWin32() override;

    // [editor thread] Nothing: the native window goes with its parent or with
    // this object.
    void close() override {}

    // [editor thread] Null while closed.
    HWND native_window() const { return hwnd_; }
    // [editor thread] The scale for the screen's resolution as this process
    // sees it (96 dots per inch being 1; a process the system does not know
    // as aware of resolutions is told 96 and stretched by the system).
    static Scale screen_scale();

protected:
    int open_native(void* parent) override;
    bool is_open() const override { return hwnd_ != nullptr; }
    void invalidate_native(const Rect& area) override;
    void resize_native(int width, int height) override;
    int grab_mouse() override;
    void ungrab_mouse() override;
    bool hide_cursor() override;
    void show_cursor() override;
    void warp_pointer(int x, int y) override;
    int start_timer(int id, int period_ms) override;
    int stop_timer(int id) override;
    void fill_margin(const Rect& area) override;

private:
    static LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    static void CALLBACK timer_procedure(HWND hwnd, UINT message, UINT_PTR id, DWORD time);

    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);
    void paint();
    // MouseMove or MouseClick for the message's point.
    void mouse_input(LPARAM lparam, WPARAM wparam, bool is_move, int double_click);

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
};

} // namespace pengui

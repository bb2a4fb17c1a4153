#include "pengui/win32/WindowWin32.h"

#include "pengui/ToolkitClock.h"
#include "pengui/win32/RenderingBufferWin32.h"
#include "pengui/win32/TextLineEditorWin32.h"
#include "sys/ErrorText.h"
#include "sys/win32/ThisModule.h"

#include <algorithm>
#include <vector>

namespace pengui {

namespace {

struct TimerEntry {
    UINT_PTR platform_id;
    int toolkit_id;
    WindowWin32* window;
};

// Process-wide state of the layer; all on the one GUI thread.
int open_windows = 0;
bool class_is_registered = false;
std::vector<TimerEntry> timer_list;

} // namespace

Scale WindowWin32::screen_scale() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return Scale::for_dpi(dpi);
}

WindowWin32::WindowWin32(int width, int height)
    : WindowInterface(width, height, std::make_unique<RenderingBufferWin32>(),
                      std::make_unique<TextLineEditorWin32>()) {}

WindowWin32::~WindowWin32() {
    for (auto it = timer_list.begin(); it != timer_list.end();) {
        if (it->window != this) {
            ++it;
            continue;
        }
        if (remove_timer(it->toolkit_id) == 0) {
            KillTimer(nullptr, it->platform_id);
        }
        it = timer_list.erase(it);
    }
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
    if (class_is_registered && open_windows == 0) {
        if (UnregisterClassA(class_name(), sys::this_module())) {
            class_is_registered = false;
        } else {
            char text[256];
            sys::format_error(text, sizeof text, static_cast<int>(GetLastError()));
        }
    }
}

int WindowWin32::open_native(void* parent) {
    if (hwnd_ != nullptr) {
        return 0;
    }
    const HINSTANCE instance = sys::this_module();
    if (!class_is_registered) {
        WNDCLASSA window_class{};
        window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        window_class.lpfnWndProc = &window_procedure;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
        window_class.lpszClassName = class_name();
        if (RegisterClassA(&window_class) == 0) {
            char text[256];
            sys::format_error(text, sizeof text, static_cast<int>(GetLastError()));
            return -1;
        }
        class_is_registered = true;
    }
    parent_ = static_cast<HWND>(parent);
    hwnd_ = CreateWindowExA(WS_EX_LEFT, class_name(), title, WS_CHILD | WS_VISIBLE, 0, 0,
                            native_width(), native_height(), parent_, nullptr, instance, nullptr);
    if (hwnd_ == nullptr) {
        return -1;
    }
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    HDC dc = GetDC(hwnd_);
    const int made = static_cast<RenderingBufferWin32&>(rendering_buffer()).create(dc);
    ReleaseDC(hwnd_, dc);
    ++open_windows;
    if (made != 0) {
        DestroyWindow(hwnd_);
        return -1;
    }
    return 0;
}

void WindowWin32::resize_native(int width, int height) {
    MoveWindow(hwnd_, 0, 0, width, height, TRUE);
}

void WindowWin32::invalidate_native(const Rect& area) {
    const RECT dirty{area.x0, area.y0, area.x1, area.y1};
    InvalidateRect(hwnd_, &dirty, FALSE);
}

int WindowWin32::grab_mouse() {
    SetCapture(hwnd_);
    return GetCapture() == hwnd_ ? 0 : -1;
}

void WindowWin32::ungrab_mouse() {
    // The system answers with WM_CAPTURECHANGED.
    ReleaseCapture();
}

bool WindowWin32::hide_cursor() {
    ShowCursor(FALSE);
    return true;
}

void WindowWin32::show_cursor() {
    ShowCursor(TRUE);
}

void WindowWin32::warp_pointer(int x, int y) {
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    SetCursorPos(frame.left + x, frame.top + y);
}

int WindowWin32::start_timer(int id, int period_ms) {
    const UINT_PTR platform_id =
        ::SetTimer(nullptr, 0, static_cast<UINT>(period_ms), &timer_procedure);
    if (platform_id == 0) {
        return -1;
    }
    timer_list.push_back(TimerEntry{platform_id, id, this});
    return 0;
}

int WindowWin32::stop_timer(int id) {
    const auto entry = std::find_if(timer_list.begin(), timer_list.end(),
                                    [id](const TimerEntry& e) { return e.toolkit_id == id; });
    if (entry == timer_list.end()) {
        return 0;
    }
    const int result = KillTimer(nullptr, entry->platform_id) ? 0 : -1;
    timer_list.erase(entry);
    return result;
}

void CALLBACK WindowWin32::timer_procedure(HWND, UINT, UINT_PTR id, DWORD) {
    const auto entry = std::find_if(timer_list.begin(), timer_list.end(),
                                    [id](const TimerEntry& e) { return e.platform_id == id; });
    if (entry != timer_list.end()) {
        entry->window->fire_timer(entry->toolkit_id, ToolkitClock::now());
    }
}

LRESULT CALLBACK WindowWin32::window_procedure(HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
    auto* window = reinterpret_cast<WindowWin32*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        return DefWindowProcA(hwnd, message, wparam, lparam);
    }
    return window->on_message(message, wparam, lparam);
}

LRESULT WindowWin32::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_MOUSEMOVE:
        mouse_input(lparam, wparam, true, 0);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        mouse_input(lparam, wparam, false, 0);
        return 0;
    case WM_LBUTTONDBLCLK:
        mouse_input(lparam, wparam, false, 1);
        return 0;
    case WM_RBUTTONDBLCLK:
        mouse_input(lparam, wparam, false, 2);
        return 0;
    case WM_MBUTTONDBLCLK:
        mouse_input(lparam, wparam, false, 4);
        return 0;
    case WM_CAPTURECHANGED:
        capture_changed();
        return 0;
    case WM_DESTROY:
        capture_changed();
        hwnd_ = nullptr;
        --open_windows;
        return 0;
    default:
        return DefWindowProcA(hwnd_, message, wparam, lparam);
    }
}

void WindowWin32::paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);
    auto& buffer = static_cast<RenderingBufferWin32&>(rendering_buffer());
    buffer.set_paint_dc(dc);
    paint_region(Rect{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
    buffer.set_paint_dc(nullptr);
    EndPaint(hwnd_, &ps);
}

void WindowWin32::fill_margin(const Rect& area) {
    HDC dc = static_cast<RenderingBufferWin32&>(rendering_buffer()).paint_dc();
    HGDIOBJ old_brush = SelectObject(dc, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, area.x0, area.y0, area.x1, area.y1);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
}

void WindowWin32::mouse_input(LPARAM lparam, WPARAM wparam, bool is_move, int double_click) {
    const int x = static_cast<short>(LOWORD(lparam));
    const int y = static_cast<short>(HIWORD(lparam));
    if (is_move) {
        mouse_move(x, y);
        return;
    }
    const int buttons = static_cast<int>((wparam & 3) | ((wparam >> 2) & 4));
    const int modifiers = static_cast<int>((((wparam >> 2) & 2) | (wparam & 4)) >> 1);
    mouse_button(x, y, buttons, modifiers, double_click);
}

} // namespace pengui

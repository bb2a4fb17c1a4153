#include "pengui/win32/WindowWin32.h"

#include "pengui/Messages.h"
#include "pengui/SPTreeNodeInterface.h"
#include "pengui/win32/RenderingBufferWin32.h"
#include "pengui/win32/TextLineEditorWin32.h"
#include "sys/ErrorText.h"
#include "sys/win32/ThisModule.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace pengui {

namespace {

// A mode-2 capture moves the cursor back only after it has lasted this long,
// and at most once per warp interval, so that a click leaves it in place.
constexpr DWORD warp_delay_ms = 250;
constexpr DWORD warp_interval_ms = 100;

struct TimerEntry {
    UINT_PTR platform_id;
    int toolkit_id;
    WindowWin32* window;
};

// Process-wide state of the layer; all on the one GUI thread.
int open_windows = 0;
bool class_is_registered = false;
std::vector<TimerEntry> timer_list;

POINT cursor_in_window(HWND hwnd) {
    POINT cursor{};
    RECT frame{};
    GetCursorPos(&cursor);
    GetWindowRect(hwnd, &frame);
    return POINT{cursor.x - frame.left, cursor.y - frame.top};
}

} // namespace

const char* WindowWin32::class_name() {
    static char name[32] = {};
    if (name[0] == 0) {
        std::snprintf(name, sizeof name, "VantrelAudioPlugin%08X",
                      static_cast<unsigned>(reinterpret_cast<UINT_PTR>(&window_procedure)));
    }
    return name;
}

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
    const int w = fit_window_to_content() ? content_width() : window_width();
    const int h = fit_window_to_content() ? content_height() : window_height();
    hwnd_ = CreateWindowExA(WS_EX_LEFT, class_name(), "Vantrel Audio Plug-in",
                            WS_CHILD | WS_VISIBLE, 0, 0, w, h, parent_, nullptr, instance, nullptr);
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

void WindowWin32::content_size_changed() {
    if (hwnd_ == nullptr) {
        return;
    }
    if (fit_window_to_content()) {
        MoveWindow(hwnd_, 0, 0, content_width(), content_height(), TRUE);
    } else {
        const RECT all{0, 0, window_width(), window_height()};
        InvalidateRect(hwnd_, &all, FALSE);
    }
}

int WindowWin32::handle(const MessageInterface& message) {
    if (hwnd_ == nullptr || dynamic_cast<const MessageUp*>(&message) == nullptr) {
        return -1;
    }
    if (const auto* invalidate = dynamic_cast<const Invalidate*>(&message)) {
        const Rect r = clip_to_content(invalidate->rect);
        const RECT dirty{r.x0, r.y0, r.x1, r.y1};
        InvalidateRect(hwnd_, &dirty, FALSE);
        return 0;
    }
    if (const auto* request = dynamic_cast<const MouseCapture*>(&message)) {
        return capture(request->handler, request->mode);
    }
    if (const auto* release_request = dynamic_cast<const MouseRelease*>(&message)) {
        return release(release_request->x, release_request->y);
    }
    if (const auto* set = dynamic_cast<const SetTimer*>(&message)) {
        return arm(*set);
    }
    if (const auto* clear = dynamic_cast<const ClearTimer*>(&message)) {
        return disarm(clear->id);
    }
    if (const auto* request = dynamic_cast<const TextInputRequest*>(&message)) {
        return start_text_input(*request);
    }
    if (dynamic_cast<const TextInputStop*>(&message) != nullptr) {
        return stop_text_input();
    }
    return -1;
}

int WindowWin32::capture(MessageHandlerInterface* handler, int mode) {
    SetCapture(hwnd_);
    if (GetCapture() != hwnd_) {
        return -1;
    }
    if (mode == 1 || mode == 2) {
        if (!cursor_hidden_) {
            ShowCursor(FALSE);
            cursor_hidden_ = true;
        }
        capture_time_ = warp_time_ = timeGetTime();
    }
    const POINT at = cursor_in_window(hwnd_);
    set_capture(handler, mode, at.x, at.y);
    return 0;
}

int WindowWin32::release(int x, int y) {
    if (capture_holder() != nullptr && capture_mode() == 2 &&
        timeGetTime() - capture_time_ >= warp_delay_ms) {
        RECT frame{};
        GetWindowRect(hwnd_, &frame);
        SetCursorPos(frame.left + x, frame.top + y);
    }
    // The system answers with WM_CAPTURECHANGED, which ends the capture.
    ReleaseCapture();
    return 0;
}

int WindowWin32::arm(const SetTimer& message) {
    const UINT period = static_cast<UINT>(std::lround(message.period * 1000.0));
    const UINT_PTR platform_id = ::SetTimer(nullptr, 0, period, &timer_procedure);
    if (platform_id == 0) {
        return -1;
    }
    // The window's table is fixed: a timer it cannot hold does not run.
    if (add_timer(message.id, message.handler) != 0) {
        KillTimer(nullptr, platform_id);
        return -1;
    }
    timer_list.push_back(TimerEntry{platform_id, message.id, this});
    return 0;
}

int WindowWin32::disarm(int id) {
    const auto entry = std::find_if(timer_list.begin(), timer_list.end(),
                                    [id](const TimerEntry& e) { return e.toolkit_id == id; });
    if (entry == timer_list.end()) {
        return 0;
    }
    int result = -1;
    if (remove_timer(id) == 0) {
        result = KillTimer(nullptr, entry->platform_id) ? 0 : -1;
    }
    timer_list.erase(entry);
    return result;
}

void CALLBACK WindowWin32::timer_procedure(HWND, UINT, UINT_PTR id, DWORD) {
    const auto entry = std::find_if(timer_list.begin(), timer_list.end(),
                                    [id](const TimerEntry& e) { return e.platform_id == id; });
    if (entry == timer_list.end()) {
        return;
    }
    const int toolkit_id = entry->toolkit_id;
    if (MessageHandlerInterface* handler = entry->window->find_timer_handler(toolkit_id)) {
        handler->handle(Notify(toolkit_id, timeGetTime() * 0.001));
    }
}

void WindowWin32::show_cursor() {
    if (cursor_hidden_) {
        ShowCursor(TRUE);
        cursor_hidden_ = false;
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
        show_cursor();
        release_capture();
        return 0;
    case WM_DESTROY:
        show_cursor();
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
    redraw(Rect{ps.rcPaint.left, ps.rcPaint.top, std::min<int>(ps.rcPaint.right, content_width()),
                std::min<int>(ps.rcPaint.bottom, content_height())});
    buffer.set_paint_dc(nullptr);
    // The margins a window larger than its content shows.
    HGDIOBJ old_brush = SelectObject(dc, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 0, content_height(), window_width(), window_height());
    Rectangle(dc, content_width(), 0, window_width(), content_height());
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    EndPaint(hwnd_, &ps);
}

void WindowWin32::mouse_input(LPARAM lparam, WPARAM wparam, bool is_move, int double_click) {
    const int raw_x = static_cast<short>(LOWORD(lparam));
    const int raw_y = static_cast<short>(HIWORD(lparam));
    int x = raw_x;
    int y = raw_y;
    MessageHandlerInterface* target =
        capture_holder() != nullptr ? capture_holder() : control_root();
    const bool relative = capture_holder() != nullptr && capture_mode() == 2;
    if (relative) {
        x -= last_x_;
        y -= last_y_;
    }
    // Every raw point is remembered, so the first movement of a capture is
    // measured from where the mouse last was.
    last_x_ = raw_x;
    last_y_ = raw_y;
    if (relative) {
        const DWORD now = timeGetTime();
        if (now - warp_time_ >= warp_interval_ms && now - capture_time_ >= warp_delay_ms) {
            RECT frame{};
            GetWindowRect(hwnd_, &frame);
            SetCursorPos(frame.left + capture_x(), frame.top + capture_y());
            last_x_ = capture_x();
            last_y_ = capture_y();
            warp_time_ = now;
        }
    }
    if (target == nullptr) {
        return;
    }
    if (is_move) {
        target->handle(MouseMove(x, y));
        return;
    }
    const int buttons = static_cast<int>((wparam & 3) | ((wparam >> 2) & 4));
    const int modifiers = static_cast<int>((((wparam >> 2) & 2) | (wparam & 4)) >> 1);
    target->handle(MouseClick(x, y, buttons, modifiers, double_click));
}

} // namespace pengui

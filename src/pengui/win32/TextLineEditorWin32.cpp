#include "pengui/win32/TextLineEditorWin32.h"

#include "pengui/Messages.h"
#include "pengui/win32/WindowWin32.h"

namespace pengui {

TextLineEditorWin32::~TextLineEditorWin32() {
    if (edit_ != nullptr) {
        set_active(false); // its focus leaving ends nothing
        DestroyWindow(edit_);
    }
}

int TextLineEditorWin32::start(const TextInputRequest& request) {
    auto* owner = static_cast<WindowWin32*>(window());
    parent_ = owner != nullptr ? owner->native_window() : nullptr;
    if (parent_ == nullptr || edit_ != nullptr) {
        return -1;
    }
    RECT frame{};
    GetWindowRect(parent_, &frame);
    const Rect& area = request.rect;
    edit_ = CreateWindowExA(0, "EDIT", nullptr, WS_POPUP | ES_AUTOHSCROLL | ES_CENTER,
                            frame.left + area.x0, frame.top + area.y0, area.x1 - area.x0,
                            area.y1 - area.y0, parent_, nullptr, nullptr, nullptr);
    if (edit_ == nullptr) {
        return -1;
    }
    // The font is as tall as the box: its pixel height in logical units.
    HDC dc = GetDC(edit_);
    POINT height[2] = {{0, 0}, {0, area.y1 - area.y0}};
    DPtoLP(dc, height, 2);
    ReleaseDC(edit_, dc);
    LOGFONTA description{};
    description.lfHeight = -(height[1].y - height[0].y);
    font_.reset(CreateFontIndirectA(&description));
    if (font_ == nullptr) {
        DestroyWindow(edit_);
        edit_ = nullptr;
        return -1;
    }
    SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    edit_class_procedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&edit_procedure)));
    SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageA(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text().c_str()));
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    ShowWindow(edit_, SW_SHOWNORMAL);
    set_active(true);
    return 0;
}

int TextLineEditorWin32::stop() {
    // The focus leaves the EDIT while it closes: inactive by then, that ends
    // nothing (after Escape it must not turn into an accepted edit).
    set_active(false);
    if (edit_ == nullptr) {
        return -1;
    }
    SendMessageA(edit_, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK TextLineEditorWin32::edit_procedure(HWND hwnd, UINT message, WPARAM wparam,
                                                     LPARAM lparam) {
    auto* editor = reinterpret_cast<TextLineEditorWin32*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return editor->on_message(hwnd, message, wparam, lparam);
}

LRESULT TextLineEditorWin32::on_message(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    const WNDPROC original = edit_class_procedure_;
    switch (message) {
    case WM_KILLFOCUS:
        end(true);
        return 0;
    case WM_CHAR:
        if (wparam == 13 || wparam == 27) {
            end(wparam == 13);
            return 0;
        }
        break;
    case WM_DESTROY: {
        char buffer[max_text + 1] = {};
        CallWindowProcA(original, edit, WM_GETTEXT, sizeof buffer,
                        reinterpret_cast<LPARAM>(buffer));
        set_text(buffer);
        font_.reset();
        edit_ = nullptr;
        break;
    }
    default:
        break;
    }
    return CallWindowProcA(original, edit, message, wparam, lparam);
}

} // namespace pengui

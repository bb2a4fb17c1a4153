#pragma once

#include "pengui/TextLineEditorInterface.h"
#include "pengui/win32/GdiObjectWin32.h"

#include <windows.h>

namespace pengui {

// The line editor as a popup EDIT over the text box, owned by the toolkit
// window, subclassed so that Enter, Escape and a lost focus end the edit.
class TextLineEditorWin32 : public TextLineEditorInterface {
public:
    ~TextLineEditorWin32() override;
    // [editor thread] 0, or -1 (nothing left behind) when the EDIT or its
    // font cannot be made.
    int start(const TextInputRequest& request) override;
    // [editor thread] Closes the EDIT; its text is read as it goes.
    int stop() override;

    // [editor thread] Null while no edit runs.
    HWND edit_window() const { return edit_; }

private:
    static LRESULT CALLBACK edit_procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT on_message(HWND edit, UINT message, WPARAM wparam, LPARAM lparam);

    HWND edit_ = nullptr;
    HWND parent_ = nullptr;
    WNDPROC edit_class_procedure_ = nullptr;
    GdiObjectWin32<HFONT> font_; // while the EDIT uses it
};

} // namespace pengui

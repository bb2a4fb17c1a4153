#include "host/dx/EditorWindow.h"

#include "pengui/win32/WindowWin32.h"

std::unique_ptr<pengui::WindowInterface> create_editor_window(int width, int height) {
    return std::make_unique<pengui::WindowWin32>(width, height);
}

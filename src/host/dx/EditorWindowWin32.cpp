#include "host/dx/EditorWindow.h"

#include "pengui/win32/WindowWin32.h"

namespace host::dx {

// The page opens on the screen whose resolution the editor is drawn for.
std::unique_ptr<pengui::WindowInterface> create_editor_window(int width, int height) {
    auto window = std::make_unique<pengui::WindowWin32>(width, height);
    window->set_scale(pengui::WindowWin32::screen_scale());
    return window;
}

} // namespace host::dx

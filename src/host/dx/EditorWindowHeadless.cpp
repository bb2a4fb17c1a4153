#include "host/dx/EditorWindow.h"

#include "pengui/WindowInterface.h"

namespace host::dx {

// Without a native window layer in the module the editor draws offscreen.
std::unique_ptr<pengui::WindowInterface> create_editor_window(int width, int height) {
    return create_offscreen_editor_window(width, height);
}

} // namespace host::dx

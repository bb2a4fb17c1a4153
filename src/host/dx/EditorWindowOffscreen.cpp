#include "host/dx/EditorWindow.h"

#include "pengui/HeadlessWindow.h"

namespace host::dx {

std::unique_ptr<pengui::WindowInterface> create_offscreen_editor_window(int width, int height) {
    auto window = std::make_unique<pengui::HeadlessWindow>(width, height);
    pengui::Scale scale;
    if (pengui::scale_from_environment(scale)) {
        window->set_scale(scale);
    }
    return window;
}

} // namespace host::dx

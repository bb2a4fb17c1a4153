#include "host/dx/EditorWindow.h"

#include "pengui/HeadlessWindow.h"
#include "pengui/x11/DisplayScaleX11.h"
#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/WindowX11.h"

namespace host::dx {

// Without a display that answers the editor draws offscreen, as the
// command-line host's screenshot wants. On a display it draws at the scale
// the desktop asks for.
std::unique_ptr<pengui::WindowInterface> create_editor_window(int width, int height) {
    if (pengui::EventLoopX11* loop = pengui::EventLoopX11::shared()) {
        auto window = std::make_unique<pengui::WindowX11>(*loop, width, height);
        window->set_scale(pengui::display_scale(loop->display()));
        return window;
    }
    return create_offscreen_editor_window(width, height);
}

} // namespace host::dx

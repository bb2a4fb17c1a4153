#include "host/dx/EditorWindow.h"

#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/HeadlessWindow.h"
#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/WindowX11.h"

namespace {

// The editor's window on the module's shared connection; its popup line
// editor writes with the value boxes' font.
class EditorWindowX11 : public pengui::WindowX11 {
public:
    EditorWindowX11(pengui::EventLoopX11& loop, int width, int height)
        : WindowX11(loop, width, height), font_(pengui::FontFactory::instance().create("font_03")) {
        set_text_font(font_.get());
    }

private:
    std::unique_ptr<pengui::FontInterface> font_;
};

} // namespace

// Without a display that answers the editor draws offscreen, as the
// command-line host's screenshot wants.
std::unique_ptr<pengui::WindowInterface> create_editor_window(int width, int height) {
    if (pengui::EventLoopX11* loop = pengui::EventLoopX11::shared()) {
        return std::make_unique<EditorWindowX11>(*loop, width, height);
    }
    return std::make_unique<pengui::HeadlessWindow>(width, height);
}

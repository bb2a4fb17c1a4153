// The editor window object the adapter makes for the editor: the platform's
// toolkit window at the scale the platform asks for. It is handed to the GUI,
// which destroys it with itself and draws at its scale.
#pragma once

#include <memory>

namespace pengui {
class WindowInterface;
}

namespace host::dx {

// [editor thread] A closed window of width x height; throws std::bad_alloc.
std::unique_ptr<pengui::WindowInterface> create_editor_window(int width, int height);
// [editor thread] The same drawing offscreen, at the scale QUEVRIN_SCALE asks
// for (1 without it): the window without a window system.
std::unique_ptr<pengui::WindowInterface> create_offscreen_editor_window(int width, int height);

} // namespace host::dx

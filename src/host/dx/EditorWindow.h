// The editor window object the adapter makes for the editor: the platform's
// toolkit window. It is handed to the GUI, which destroys it with itself.
#pragma once

#include <memory>

namespace pengui {
class WindowInterface;
}

// [editor thread] A closed window of width x height; throws std::bad_alloc.
std::unique_ptr<pengui::WindowInterface> create_editor_window(int width, int height);

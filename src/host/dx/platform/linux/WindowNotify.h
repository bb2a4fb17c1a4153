// Window notifications on Linux: a process-wide table of window handles that
// can be checked for existence and posted messages, which are queued per
// window. The CLI host and tests create the handles; nothing is drawn.
#pragma once

#include "host/dx/platform/linux/ComTypes.h"

#include <vector>

constexpr UINT WM_COMMAND = 0x0111;

// [any thread] True while the window exists.
BOOL IsWindow(HWND window);
// [any thread] Queues the message for the window; FALSE if it does not exist.
BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

namespace comshim {

struct PostedMessage {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};

// [any thread] A new window handle, never null and never reused.
HWND create_window();
// [any thread] Forgets the window and its queued messages.
void destroy_window(HWND window);
// [any thread] Removes and returns the messages queued for the window, oldest first.
std::vector<PostedMessage> take_messages(HWND window);

} // namespace comshim

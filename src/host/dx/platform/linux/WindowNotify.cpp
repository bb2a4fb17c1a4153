#include "host/dx/platform/linux/WindowNotify.h"

#include <map>
#include <mutex>

namespace {

struct WindowTable {
    std::mutex mutex;
    std::map<HWND, std::vector<comshim::PostedMessage>> windows;
    std::uintptr_t next_handle = 0x10000;
};

WindowTable& table() {
    static WindowTable instance;
    return instance;
}

} // namespace

BOOL IsWindow(HWND window) {
    WindowTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    return t.windows.count(window) != 0 ? TRUE : FALSE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    WindowTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto found = t.windows.find(window);
    if (found == t.windows.end()) {
        return FALSE;
    }
    found->second.push_back({message, wparam, lparam});
    return TRUE;
}

namespace comshim {

HWND create_window() {
    WindowTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    // Handles are opaque values spaced like real ones; they are never dereferenced.
    HWND window = reinterpret_cast<HWND>(t.next_handle);
    t.next_handle += 0x10;
    t.windows[window];
    return window;
}

void destroy_window(HWND window) {
    WindowTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.windows.erase(window);
}

std::vector<PostedMessage> take_messages(HWND window) {
    WindowTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    std::vector<PostedMessage> messages;
    const auto found = t.windows.find(window);
    if (found != t.windows.end()) {
        messages.swap(found->second);
    }
    return messages;
}

} // namespace comshim

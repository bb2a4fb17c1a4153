#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pengui {

class MessageHandlerInterface;
class TextInputRequest;
class WindowInterface;

// The window system's single-line editor that text boxes borrow: shown over
// a rectangle with the text selected, it ends accepted (Enter, focus lost) or
// not (Escape) and then the window sends the text back to the requester.
class TextLineEditorInterface {
public:
    // The longest text the editor holds; longer texts are cut.
    static constexpr std::size_t max_text = 1023;

    // [editor thread] Room for the longest text, so that edits allocate nothing.
    TextLineEditorInterface() { text_.reserve(max_text); }
    virtual ~TextLineEditorInterface() = default;
    // [editor thread] Shows the editor for the request (whose text and
    // requester the window stored before). 0, or -1 when it cannot.
    virtual int start(const TextInputRequest& request) = 0;
    // [editor thread] Closes it. 0, or -1 when there was none.
    virtual int stop() = 0;
    // [editor thread] Ends a running edit as Enter (accepted) or Escape
    // does: closes the editor, then the window hands the text to the
    // requester. The focus that leaves a closing editor ends nothing more.
    // The stop result, or -1 when no edit runs (or one is ending).
    int end(bool accepted);

    // [editor thread] Not owned.
    void set_window(WindowInterface* window) { window_ = window; }
    WindowInterface* window() const { return window_; }
    void set_requester(MessageHandlerInterface* requester) { requester_ = requester; }
    MessageHandlerInterface* requester() const { return requester_; }
    void set_text(std::string_view text) { text_.assign(text.substr(0, max_text)); }
    const std::string& text() const { return text_; }
    bool accepted() const { return accepted_; }
    void set_accepted(bool accepted) { accepted_ = accepted; }
    bool active() const { return active_; }

protected:
    void set_active(bool active) { active_ = active; }

private:
    WindowInterface* window_ = nullptr;
    MessageHandlerInterface* requester_ = nullptr;
    std::string text_;
    bool accepted_ = false;
    bool active_ = false;
    bool ending_ = false;
};

} // namespace pengui

#pragma once

#include "pengui/Rect.h"
#include "pengui/TextLineEditorInterface.h"

#include <string_view>

namespace pengui {

// A line editor without a window system: it records where it was asked to
// appear, and a script (a test, or a tool driving the editor) types into it
// and ends it as a user would.
class ScriptedTextLineEditor : public TextLineEditorInterface {
public:
    int start(const TextInputRequest& request) override;
    int stop() override;

    // [editor thread] Later starts fail (-1) while set.
    void set_refuse(bool refuse) { refuse_ = refuse; }
    // [editor thread] Replaces the (selected) text, as typing does.
    void type(std::string_view text) { set_text(text); }
    // [editor thread] Ends the edit like Enter (or loss of focus): accepted.
    void press_enter() { end(true); }
    // [editor thread] Ends the edit like Escape: not accepted.
    void press_escape() { end(false); }
    // [editor thread] Where the last start put the editor (window space).
    const Rect& area() const { return area_; }
    int starts() const { return starts_; }

private:
    Rect area_;
    int starts_ = 0;
    bool refuse_ = false;
};

} // namespace pengui

#pragma once

#include "OutputFile.h"

#include <optional>
#include <string>

class PluginModule;
struct _XDisplay;

// The state a session of the editor leaves, saved however the session ends:
// the window closed, a signal, the input broken off, or the X display gone
// (the state lives in the filter, not in the X connection). Saved once.
class EditorSession {
public:
    // [editor thread] With a --save-state file (or none: ""), checked at once.
    explicit EditorSession(const std::string& save_state);
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;
    // [editor thread] Gives the display back its default fate.
    ~EditorSession();

    // [editor thread] From now on the module's filter holds the state, and
    // the loss of the X display saves it and ends the program with status 1.
    void watch(PluginModule& module);
    // [editor thread] Writes the state, once; throws UsageError naming the
    // file when it cannot.
    void save();

private:
    static int on_display_lost(_XDisplay* display);

    std::string path_;
    std::optional<OutputFile> output_;
    PluginModule* module_ = nullptr;
    bool saved_ = false;
};

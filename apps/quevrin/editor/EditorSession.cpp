#include "EditorSession.h"

#include "PluginModule.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {
EditorSession* watched = nullptr;
} // namespace

EditorSession::EditorSession(const std::string& save_state) : path_(save_state) {
    if (!path_.empty())
        output_.emplace(path_, OutputFile::Create::on_write);
}

EditorSession::~EditorSession() {
    if (watched == this) {
        XSetIOErrorHandler(nullptr);
        watched = nullptr;
    }
}

void EditorSession::watch(PluginModule& module) {
    module_ = &module;
    watched = this;
    // One handler for every connection of the process, the module's too.
    XSetIOErrorHandler(&EditorSession::on_display_lost);
}

void EditorSession::save() {
    if (saved_ || !output_ || module_ == nullptr)
        return;
    output_->write(module_->save_state());
    output_->commit();
    saved_ = true;
}

int EditorSession::on_display_lost(_XDisplay*) {
    // Xlib ends the process when this returns; it is ended here instead,
    // without the destructors, which would talk to the lost server.
    try {
        watched->save();
        if (watched->output_)
            std::fprintf(stderr, "quevrin: the X display went away; the state is saved in %s\n",
                         watched->path_.c_str());
        else
            std::fprintf(stderr, "quevrin: the X display went away, which ends the editor\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quevrin: the X display went away, and %s\n", e.what());
    }
    std::fflush(stderr);
    std::_Exit(1);
}

// quevrin: the command-line host that runs the Quevrin filter on audio files.
#include "Commands.h"
#include "OutputFile.h"
#include "WindowModule.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    OutputFile::remove_on_signals();
    return run_guarded(argc, argv, [argc, argv](const Options& o) {
        if (o.version) {
            std::printf("quevrin 1.03, a stereo delay by Vantrel\n");
            return 0;
        }
        if (o.help || o.command.empty()) {
            std::fputs(help_text(o.command).c_str(), o.help ? stdout : stderr);
            return o.help ? 0 : 2;
        }
        // The module's editor draws at the scale QUEVRIN_SCALE names; a
        // screenshot is drawn at scale 1 unless --scale says otherwise.
        if (!o.scale.empty() || o.command == "screenshot")
            setenv("QUEVRIN_SCALE", o.scale.empty() ? "1" : o.scale.c_str(), 1);
        if (o.command == "editor")
            return window_command(argc, argv);
        // Only the editor shows a window: for every other command the module
        // finds no display, so its editor draws offscreen.
        unsetenv("DISPLAY");
        if (o.command == "render")
            return render_command(o);
        if (o.command == "presets")
            return presets_command(o);
        if (o.command == "params")
            return params_command(o);
        if (o.command == "screenshot")
            return window_command(argc, argv);
        return bank_command(o);
    });
}

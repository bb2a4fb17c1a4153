// quevrin: the command-line host that runs the Quevrin filter on audio files.
#include "Commands.h"
#include "Options.h"
#include "OutputFile.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    OutputFile::remove_on_signals();
    try {
        const Options o = parse_options(argc, argv);
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
            return editor_command(o);
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
            return screenshot_command(o);
        return bank_command(o);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "quevrin: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quevrin: %s\n", e.what());
        return 1;
    }
}

// The editor module's entry point: the program hands over its arguments.
#include "Commands.h"
#include "OutputFile.h"
#include "WindowModule.h"

int quevrin_cli_editor_main(int argc, char** argv) {
    // The signals remove the temporary files this module's outputs hold.
    OutputFile::remove_on_signals();
    return run_guarded(argc, argv, [](const Options& o) {
        return o.command == "editor" ? editor_command(o) : screenshot_command(o);
    });
}

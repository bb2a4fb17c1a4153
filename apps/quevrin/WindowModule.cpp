#include "WindowModule.h"

#include "PluginModule.h"

#include <dlfcn.h>

int window_command(int argc, char** argv) {
    const std::string path = module_file("quevrin_cli_editor.so");
    // Loaded for the rest of the process: the command is its last work.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr)
        throw InternalError("cannot load the editor module " + path + ": " + dlerror());
    const auto entry = reinterpret_cast<decltype(&quevrin_cli_editor_main)>(
        dlsym(module, "quevrin_cli_editor_main"));
    if (entry == nullptr)
        throw InternalError(path + " is not quevrin's editor module");
    return entry(argc, argv);
}

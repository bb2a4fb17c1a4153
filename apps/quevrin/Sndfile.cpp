#include "Sndfile.h"

#include "PluginModule.h"

#include <dlfcn.h>

#include <string>

namespace {

template <typename F>
void bind(void* library, F& function, const char* name) {
    function = reinterpret_cast<F>(dlsym(library, name));
    if (function == nullptr)
        throw InternalError(std::string("libsndfile lacks ") + name);
}

Sndfile load() {
    // Loaded for the rest of the process.
    void* library = dlopen("libsndfile.so.1", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        throw InternalError(std::string("cannot load libsndfile: ") + dlerror());
    Sndfile f{};
    bind(library, f.open, "sf_open");
    bind(library, f.open_fd, "sf_open_fd");
    bind(library, f.close, "sf_close");
    bind(library, f.command, "sf_command");
    bind(library, f.error, "sf_error");
    bind(library, f.error_number, "sf_error_number");
    bind(library, f.strerror, "sf_strerror");
    bind(library, f.format_check, "sf_format_check");
    bind(library, f.readf_float, "sf_readf_float");
    bind(library, f.readf_short, "sf_readf_short");
    bind(library, f.writef_float, "sf_writef_float");
    bind(library, f.writef_short, "sf_writef_short");
    bind(library, f.seek, "sf_seek");
    return f;
}

} // namespace

const Sndfile& sndfile() {
    static const Sndfile functions = load();
    return functions;
}

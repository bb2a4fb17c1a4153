#pragma once

#include "Options.h"

#include <functional>

// The commands of the quevrin program; each returns the exit status and
// throws UsageError (status 2) or another exception (status 1).
int render_command(const Options& options);
int presets_command(const Options& options);
int params_command(const Options& options);
int bank_command(const Options& options);
// These two live in the editor module (see WindowModule.h).
int screenshot_command(const Options& options);
int editor_command(const Options& options);

// Reads the arguments and runs `command` with them; its exceptions become
// one sentence on stderr and the exit status.
int run_guarded(int argc, char** argv, const std::function<int(const Options&)>& command);

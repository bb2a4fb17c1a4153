#pragma once

#include "Options.h"

// The commands of the quevrin program; each returns the exit status and
// throws UsageError (status 2) or another exception (status 1).
int render_command(const Options& options);
int presets_command(const Options& options);
int params_command(const Options& options);
int bank_command(const Options& options);
int screenshot_command(const Options& options);
int editor_command(const Options& options);

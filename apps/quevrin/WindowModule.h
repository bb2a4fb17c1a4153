#pragma once

// The commands with a window, live audio or a picture (editor, screenshot)
// live in a module of their own beside the program, quevrin_cli_editor.so,
// so that the other commands never load X11, PortAudio or libpng.

// Loads the module and runs the command the arguments name there; throws
// InternalError when the module cannot be loaded.
int window_command(int argc, char** argv);

// The module's entry point: reads the arguments and runs the command.
extern "C" int quevrin_cli_editor_main(int argc, char** argv);

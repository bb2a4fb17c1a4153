#pragma once

#include <sndfile.h>

// libsndfile, loaded when a command first reads or writes audio, so that the
// commands that do not (presets, params, bank, --version) start without
// mapping and relocating it and the codecs it links.
struct Sndfile {
    decltype(&sf_open) open;
    decltype(&sf_open_fd) open_fd;
    decltype(&sf_close) close;
    decltype(&sf_command) command;
    decltype(&sf_error) error;
    decltype(&sf_error_number) error_number;
    decltype(&sf_strerror) strerror;
    decltype(&sf_format_check) format_check;
    decltype(&sf_readf_float) readf_float;
    decltype(&sf_readf_short) readf_short;
    decltype(&sf_writef_float) writef_float;
    decltype(&sf_writef_short) writef_short;
    decltype(&sf_seek) seek;
};

// The library's functions, loaded at the first call; throws InternalError
// when the library or one of them is missing.
const Sndfile& sndfile();

#pragma once

#include <memory>

struct _XImage;

namespace pengui {

// Destroys an XImage whose pixels are not its own (a buffer of ours, or a
// shared memory segment): Xlib would free them with it.
struct ImageX11Deleter {
    void operator()(_XImage* image) const;
};

// An owned XImage over pixels someone else keeps.
using ImageX11 = std::unique_ptr<_XImage, ImageX11Deleter>;

} // namespace pengui

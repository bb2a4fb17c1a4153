#include "pengui/x11/ImageX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace pengui {

void ImageX11Deleter::operator()(_XImage* image) const {
    image->data = nullptr;
    XDestroyImage(image);
}

} // namespace pengui

#include "pengui/x11/RenderingBufferX11.h"
#include "pengui/x11/XlibFunctions.h"

#include "pengui/x11/ErrorTrapX11.h"
#include "pengui/x11/EventLoopX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <algorithm>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <utility>

namespace pengui {

namespace {
bool is_bgrx(const XWindowAttributes& a) {
    const Visual* v = a.visual;
    return v != nullptr && v->c_class == TrueColor && (a.depth == 24 || a.depth == 32) &&
           v->red_mask == 0xFF0000 && v->green_mask == 0x00FF00 && v->blue_mask == 0x0000FF;
}
} // namespace

// A shared memory segment for the image: made, mapped and attached to the
// server step by step; whatever steps were taken are undone when it goes.
struct RenderingBufferX11::Segment {
    explicit Segment(Display* d) : display(d) {}
    ~Segment() {
        if (on_server) {
            xlib().XShmDetach(display, &info);
            xlib().XSync(display, False);
        }
        if (mapped()) {
            shmdt(info.shmaddr);
        }
    }
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;
    bool mapped() const {
        return info.shmaddr != nullptr && info.shmaddr != reinterpret_cast<char*>(-1);
    }

    Display* display;
    XShmSegmentInfo info{};
    bool on_server = false;
};

RenderingBufferX11::RenderingBufferX11(EventLoopX11& loop)
    : RenderingBufferInterface(size, size), loop_(loop),
      memory_(static_cast<std::size_t>(size) * size * 4) {}

// The image goes before its segment, as declared.
RenderingBufferX11::~RenderingBufferX11() = default;

std::uint8_t* RenderingBufferX11::pixels() {
    return image_ != nullptr ? reinterpret_cast<std::uint8_t*>(image_->data) : memory_.data();
}

int RenderingBufferX11::attach(unsigned long window, _XGC* gc) {
    detach();
    Display* display = loop_.display();
    XWindowAttributes attributes;
    if (xlib().XGetWindowAttributes(display, window, &attributes) == 0 || !is_bgrx(attributes)) {
        return -1;
    }
    window_ = window;
    gc_ = gc;
    opaque_alpha_ = attributes.depth == 32;
    if (loop_.has_shared_memory() && ImageByteOrder(display) == LSBFirst &&
        attach_shared_memory()) {
        return 0;
    }
    image_.reset(xlib().XCreateImage(
        display, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, 0,
        reinterpret_cast<char*>(memory_.data()), size, size, 32, size * 4));
    if (image_ == nullptr || image_->bits_per_pixel != 32) {
        detach();
        return -1;
    }
    // Our bytes are little-endian pixels; Xlib swaps them for a big-endian server.
    image_->byte_order = LSBFirst;
    return 0;
}

bool RenderingBufferX11::attach_shared_memory() {
    Display* display = loop_.display();
    XWindowAttributes attributes;
    xlib().XGetWindowAttributes(display, window_, &attributes);
    auto segment = std::make_unique<Segment>(display);
    ImageX11 image(xlib().XShmCreateImage(display, attributes.visual,
                                          static_cast<unsigned>(attributes.depth), ZPixmap, nullptr,
                                          &segment->info, size, size));
    if (image == nullptr || image->bits_per_pixel != 32 || image->bytes_per_line != size * 4) {
        return false;
    }
    XShmSegmentInfo& info = segment->info;
    info.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(size) * size * 4, IPC_CREAT | 0600);
    if (info.shmid < 0) {
        return false;
    }
    info.shmaddr = image->data = static_cast<char*>(shmat(info.shmid, nullptr, 0));
    info.readOnly = False;
    if (segment->mapped()) {
        // A server on another machine refuses the segment.
        ErrorTrapX11 trap(display);
        segment->on_server = xlib().XShmAttach(display, &info) == True && trap.sync() == 0;
    }
    // Marked for removal now: the segment goes away with its last user,
    // even if this process does not end cleanly.
    shmctl(info.shmid, IPC_RMID, nullptr);
    if (!segment->on_server) {
        return false;
    }
    segment_ = std::move(segment);
    image_ = std::move(image);
    return true;
}

void RenderingBufferX11::detach() {
    image_.reset();
    segment_.reset();
    window_ = 0;
    gc_ = nullptr;
}

void RenderingBufferX11::copy_block(int x, int y, int w, int h) {
    if (image_ == nullptr || w <= 0 || h <= 0) {
        return;
    }
    w = std::min(w, size);
    h = std::min(h, size);
    if (opaque_alpha_) {
        for (int row = 0; row < h; ++row) {
            std::uint8_t* p = pixel(0, row);
            for (int col = 0; col < w; ++col) {
                p[col * 4 + 3] = 0xFF;
            }
        }
    }
    Display* display = loop_.display();
    const auto uw = static_cast<unsigned>(w);
    const auto uh = static_cast<unsigned>(h);
    if (segment_ != nullptr) {
        xlib().XShmPutImage(display, window_, gc_, image_.get(), 0, 0, x, y, uw, uh, False);
        // The server reads the segment later; the next tile overwrites it.
        xlib().XSync(display, False);
    } else {
        xlib().XPutImage(display, window_, gc_, image_.get(), 0, 0, x, y, uw, uh);
    }
}

} // namespace pengui

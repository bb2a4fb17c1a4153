#include "pengui/x11/TextLineEditorX11.h"
#include "pengui/x11/XlibFunctions.h"

#include "pengui/FontInterface.h"
#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/Messages.h"
#include "pengui/x11/ErrorTrapX11.h"
#include "pengui/x11/EventLoopX11.h"
#include "pengui/x11/ImageX11.h"
#include "pengui/x11/WindowX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <string>

namespace pengui {

namespace {
constexpr std::uint32_t paper = 0xFFFFFF;
constexpr std::uint32_t ink = 0x000000;
constexpr std::uint32_t highlight = 0x000080;

void fill_rect(MemoryRenderingBuffer& canvas, int x0, int x1, std::uint32_t colour) {
    x0 = std::max(x0, 0);
    x1 = std::min(x1, canvas.width());
    for (int y = 0; y < canvas.height(); ++y) {
        std::uint8_t* p = canvas.pixel(0, y);
        for (int x = x0; x < x1; ++x) {
            p[x * 4] = colour & 0xFF;
            p[x * 4 + 1] = (colour >> 8) & 0xFF;
            p[x * 4 + 2] = (colour >> 16) & 0xFF;
        }
    }
}
} // namespace

TextLineEditorX11::TextLineEditorX11(EventLoopX11& loop) : loop_(loop) {}

TextLineEditorX11::~TextLineEditorX11() {
    stop();
}

int TextLineEditorX11::start(const TextInputRequest& request) {
    stop();
    auto* owner = static_cast<WindowX11*>(window());
    const Rect& r = request.rect;
    if (owner == nullptr || owner->native() == 0 || r.x1 <= r.x0 || r.y1 <= r.y0) {
        return -1;
    }
    Display* display = loop_.display();
    ErrorTrapX11 trap(display);
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    // Presses on the popup stay there: they would reach the plug-in window
    // below, where a press ends the edit.
    attributes.event_mask = ExposureMask | KeyPressMask | FocusChangeMask | StructureNotifyMask |
                            ButtonPressMask | ButtonReleaseMask;
    const Window popup = xlib().XCreateWindow(
        display, owner->native(), r.x0, r.y0, static_cast<unsigned>(r.x1 - r.x0),
        static_cast<unsigned>(r.y1 - r.y0), 0, CopyFromParent, InputOutput, CopyFromParent,
        CWBackPixmap | CWEventMask, &attributes);
    xlib().XMapRaised(display, popup);
    xlib().XSetInputFocus(display, popup, RevertToParent, CurrentTime);
    if (trap.sync() != 0) {
        xlib().XDestroyWindow(display, popup);
        return -1;
    }
    popup_ = popup;
    loop_.add_target(popup_, this);
    canvas_ = std::make_unique<MemoryRenderingBuffer>(r.x1 - r.x0, r.y1 - r.y0);
    anchor_ = 0;
    caret_ = text().size();
    set_active(true);
    draw();
    return 0;
}

int TextLineEditorX11::stop() {
    set_active(false);
    if (popup_ == 0) {
        return -1;
    }
    loop_.remove_target(popup_);
    xlib().XDestroyWindow(loop_.display(), popup_);
    xlib().XFlush(loop_.display());
    popup_ = 0;
    canvas_.reset();
    return 0;
}

void TextLineEditorX11::handle_event(const _XEvent& event) {
    switch (event.type) {
    case Expose:
        draw();
        break;
    case KeyPress:
        key(event);
        break;
    case FocusOut:
        // Focus that moves for a grab, or inside the popup, is not lost.
        if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
            event.xfocus.detail != NotifyPointer) {
            end(true);
        }
        break;
    case DestroyNotify:
        // Gone with the plug-in window.
        if (event.xdestroywindow.window == popup_) {
            loop_.remove_target(popup_);
            popup_ = 0;
            canvas_.reset();
            set_active(false);
        }
        break;
    default:
        break;
    }
}

void TextLineEditorX11::key(const _XEvent& event) {
    XKeyEvent key_event = event.xkey;
    char bytes[8] = {};
    KeySym sym = NoSymbol;
    const int count = xlib().XLookupString(&key_event, bytes, sizeof bytes, &sym, nullptr);
    const std::size_t size = text().size();
    const std::size_t from = std::min(anchor_, caret_);
    const std::size_t to = std::max(anchor_, caret_);
    const bool shift = (key_event.state & ShiftMask) != 0;
    const bool control = (key_event.state & ControlMask) != 0;
    switch (sym) {
    case XK_Return:
    case XK_KP_Enter:
        end(true);
        return;
    case XK_Escape:
        end(false);
        return;
    case XK_BackSpace:
        if (from == to && from > 0) {
            anchor_ = from - 1;
        }
        replace_selection("", 0);
        break;
    case XK_Delete:
    case XK_KP_Delete:
        if (from == to && to < size) {
            anchor_ = to + 1;
        }
        replace_selection("", 0);
        break;
    case XK_Left:
    case XK_KP_Left:
        if (shift) {
            caret_ = caret_ > 0 ? caret_ - 1 : 0;
        } else {
            caret_ = anchor_ = from != to ? from : (caret_ > 0 ? caret_ - 1 : 0);
        }
        break;
    case XK_Right:
    case XK_KP_Right:
        if (shift) {
            caret_ = std::min(caret_ + 1, size);
        } else {
            caret_ = anchor_ = from != to ? to : std::min(caret_ + 1, size);
        }
        break;
    case XK_Home:
    case XK_KP_Home:
        // With shift the selection reaches from where it was to the start.
        caret_ = 0;
        anchor_ = shift ? anchor_ : caret_;
        break;
    case XK_End:
    case XK_KP_End:
        caret_ = size;
        anchor_ = shift ? anchor_ : caret_;
        break;
    default:
        // Ctrl+A selects the whole text; no other control key types.
        if (control) {
            if (sym != XK_a && sym != XK_A) {
                return;
            }
            anchor_ = 0;
            caret_ = size;
        } else if (count == 1 && sym >= 0x20 && sym <= 0xFF && sym != 0x7F) {
            // Latin-1 text: keysyms 0x20 to 0xFF are their own codes.
            const char c = static_cast<char>(sym);
            replace_selection(&c, 1);
        } else {
            return;
        }
        break;
    }
    draw();
}

void TextLineEditorX11::replace_selection(const char* bytes, std::size_t length) {
    const std::size_t from = std::min(anchor_, caret_);
    const std::size_t to = std::max(anchor_, caret_);
    std::string edited = text();
    edited.erase(from, to - from);
    length = std::min(length, max_text - edited.size());
    edited.insert(from, bytes, length);
    set_text(edited);
    caret_ = anchor_ = from + length;
}

void TextLineEditorX11::draw() {
    if (popup_ == 0) {
        return;
    }
    MemoryRenderingBuffer& canvas = *canvas_;
    const int width = canvas.width();
    const int height = canvas.height();
    canvas.fill(paper, 0);
    const FontInterface* font = window()->text_font();
    const std::string& s = text();
    // Bytes without a glyph take no room.
    auto advance = [font](char c) {
        const FontInterface::Glyph* g =
            font != nullptr ? font->glyph(static_cast<std::uint8_t>(c)) : nullptr;
        return g != nullptr ? g->width : 0;
    };
    int total = 0;
    int caret_x = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (i == caret_) {
            caret_x = total;
        }
        total += advance(s[i]);
    }
    if (caret_ >= s.size()) {
        caret_x = total;
    }
    // Centred while it fits; else scrolled so that the caret stays in view.
    int origin = (width - total) / 2;
    if (total >= width - 1) {
        origin = std::clamp(width - 2 - caret_x, width - 1 - total, 1);
    }
    const int text_y = font != nullptr ? (height - font->line_height()) / 2 : 0;
    const std::size_t from = std::min(anchor_, caret_);
    const std::size_t to = std::max(anchor_, caret_);
    int x = origin;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const FontInterface::Glyph* g =
            font != nullptr ? font->glyph(static_cast<std::uint8_t>(s[i])) : nullptr;
        if (g == nullptr) {
            continue;
        }
        const bool selected = i >= from && i < to;
        if (selected) {
            fill_rect(canvas, x, x + g->width, highlight);
        }
        font->draw_glyph_slice(Rect{g->x, 0, g->x + g->width, font->line_height()}, x, text_y,
                               canvas, selected ? paper : ink);
        x += g->width;
    }
    if (from == to) {
        // One logical pixel wide, as the text is drawn at the window's scale.
        fill_rect(canvas, origin + caret_x, origin + caret_x + window()->scale().device(1), ink);
    }
    // Opaque on a 32-bit visual too.
    for (int i = 0; i < width * height; ++i) {
        canvas.pixels()[i * 4 + 3] = 0xFF;
    }
    Display* display = loop_.display();
    XWindowAttributes attributes;
    xlib().XGetWindowAttributes(display, popup_, &attributes);
    const ImageX11 image(xlib().XCreateImage(
        display, attributes.visual, static_cast<unsigned>(attributes.depth), ZPixmap, 0,
        reinterpret_cast<char*>(canvas.pixels()), static_cast<unsigned>(width),
        static_cast<unsigned>(height), 32, width * 4));
    if (image == nullptr) {
        return;
    }
    image->byte_order = LSBFirst;
    GC gc = xlib().XCreateGC(display, popup_, 0, nullptr);
    xlib().XPutImage(display, popup_, gc, image.get(), 0, 0, 0, 0, static_cast<unsigned>(width),
                     static_cast<unsigned>(height));
    xlib().XFreeGC(display, gc);
    xlib().XFlush(display);
}

} // namespace pengui

#pragma once

#include "host/lv2/ControlPort.h"

#include <lv2/ui/ui.h>

#include <memory>
#include <vector>

namespace editor {
class ZentrovaGui;
}

namespace mppi {
class DspInterface;
}

namespace pengui {
class EventLoopX11;
class WindowX11;
} // namespace pengui

namespace host::lv2::ui {

class HostGuiLv2;

// The editor as an LV2 X11 UI: the same editor the filter shows, in a child
// window of the host's, over a model DSP of its own that mirrors the control
// ports (HostGuiLv2 keeps the two in step). It holds its own X connection, so
// closing the UI leaves nothing on the server; the host's idle calls run the
// window layer's events and timers.
//
// Everything runs on the host's UI thread (the editor thread); nothing waits.
class QuevrinLv2Ui {
public:
    static constexpr const char* uri = "urn:vantrel:quevrin#ui";

    // [editor thread] The editor opened in the X window parent, its size told
    // to the host through resize (may be null). It draws at the host's scale
    // factor (the largest of 1, 1.5 and 2 not above it), or without one
    // (scale_factor 0) at the scale the X display asks for. Null when no
    // display answers or the window cannot be made there. May throw
    // (allocation, the editor's "Load resources" and "Build GUI").
    static std::unique_ptr<QuevrinLv2Ui> create(unsigned long parent, LV2UI_Write_Function write,
                                                LV2UI_Controller controller,
                                                const LV2UI_Resize* resize, double scale_factor);
    // [editor thread] Stops a running morph, closes the window and the connection.
    ~QuevrinLv2Ui();
    QuevrinLv2Ui(const QuevrinLv2Ui&) = delete;
    QuevrinLv2Ui& operator=(const QuevrinLv2Ui&) = delete;

    // [editor thread] The editor's X window, the UI's widget.
    unsigned long widget() const;
    // [editor thread] A port value from the host.
    void port_event(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                    const void* buffer);
    // [editor thread] Handles what the server sent, fires due timers, paints,
    // and applies the port values held back while the editor wrote. Returns
    // 0: the UI stays open.
    int idle();

private:
    explicit QuevrinLv2Ui(std::unique_ptr<pengui::EventLoopX11> loop);

    std::unique_ptr<pengui::EventLoopX11> loop_;
    std::unique_ptr<mppi::DspInterface> model_;
    std::vector<ControlPort> ports_;
    std::unique_ptr<editor::ZentrovaGui> gui_;
    pengui::WindowX11* window_ = nullptr; // the GUI's
    HostGuiLv2* host_ = nullptr;          // the GUI's
};

} // namespace host::lv2::ui

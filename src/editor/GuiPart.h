#pragma once

namespace mppi {
class TimeUnit;
}

namespace editor {

class ZentrovaGui;

// A piece of the editor that makes and places its own controls. It points
// back at the editor (not owned), through which it reaches the pictures,
// fonts, parameters and the host.
//
// Everything runs on the editor thread.
class GuiPart {
public:
    virtual ~GuiPart() = default;

    // [editor thread]
    void set_gui(ZentrovaGui* gui) { gui_ = gui; }
    ZentrovaGui* gui() const { return gui_; }
    // [editor thread] The display unit or the tempo changed: time read-outs
    // and snap points follow. Nothing by default.
    virtual void time_unit_changed(const mppi::TimeUnit&) {}

protected:
    ZentrovaGui* gui_ = nullptr;
};

} // namespace editor

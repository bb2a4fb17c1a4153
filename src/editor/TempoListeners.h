#pragma once

#include "editor/GuiPart.h"
#include "mppi/binding/ListenerBase.h"

namespace pengui {
class Spin;
class TextBox;
} // namespace pengui

namespace editor {

// The tempo spin's binding: every stored tempo is written into the tempo box
// and retimes every time read-out.
class TempoSpinListener : public mppi::ListenerBase, public GuiPart {
public:
    // [editor thread] Not owned.
    void set_box(pengui::TextBox* box) { box_ = box; }
    // [editor thread]
    double map_value_for_storing(double value, int priority) override;

private:
    pengui::TextBox* box_ = nullptr;
};

// The tempo box: a typed tempo moves the spin (an unreadable text puts the
// current tempo back).
class TempoTextBoxListener : public pengui::DefaultEventListener {
public:
    // [editor thread] Not owned.
    void set_spin(pengui::Spin* spin, const mppi::ListenerBase* spin_listener) {
        spin_ = spin;
        spin_listener_ = spin_listener;
    }
    // [editor thread] Kind 1 (edited) only.
    void action(int kind, int data) override;

private:
    pengui::Spin* spin_ = nullptr;
    const mppi::ListenerBase* spin_listener_ = nullptr;
};

} // namespace editor

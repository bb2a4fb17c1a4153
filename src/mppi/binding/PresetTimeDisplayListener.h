#pragma once

#include "mppi/binding/GenericPresetListener.h"

#include <string>

namespace pengui {
class TextBox;
}

namespace mppi {

// The morph-time box: shows the morph time as whole seconds, and a typed
// time (a number, clamped to 0..99; anything else counts as 0) moves the
// morph-time knob.
class PresetTimeDisplayListener : public GenericPresetListener {
public:
    // [editor thread] Remembers the box when the control is one.
    void attach(pengui::ControlInterface* control) override;
    // [editor thread] Kind 1 (text edited) reads the box; other kinds are ignored.
    void action(int kind, int data) override;
    // [editor thread] Writes time, rounded to whole seconds (halves up), into the box.
    void show_time(double time);
    // [editor thread] The seconds a typed text stands for.
    static double parse_time(const std::string& text);

private:
    pengui::TextBox* box_ = nullptr;
};

} // namespace mppi

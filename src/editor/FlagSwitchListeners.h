#pragma once

#include "pengui/DefaultEventListener.h"

namespace editor {

class ZentrovaGui;

// The three flag switches of the editor: each writes its bit of the flags
// when the user toggles it. The editor is not owned.
class FlagSwitchListener : public pengui::DefaultEventListener {
public:
    // [editor thread]
    void set_gui(ZentrovaGui* gui) { gui_ = gui; }
    // [editor thread] The bit := (value >= 0.5).
    double map_value_from_user(double value, int priority) override;

protected:
    explicit FlagSwitchListener(int bit) : bit_(bit) {}
    ZentrovaGui* gui_ = nullptr;

private:
    int bit_;
};

// Bit 6: times in beats (set) or in seconds.
class MsBpmListener : public FlagSwitchListener {
public:
    MsBpmListener();
};

// Bit 4: the pre-delay's sustain loop.
class SustLoopListener : public FlagSwitchListener {
public:
    SustLoopListener();
};

// Bit 5: the second delay line; its row comes and goes with the stored value.
class Delay2Listener : public FlagSwitchListener {
public:
    Delay2Listener();
    // [editor thread] Applies the second line's state to the editor.
    double map_value_for_storing(double value, int priority) override;
};

} // namespace editor

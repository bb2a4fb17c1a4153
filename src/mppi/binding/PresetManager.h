#pragma once

#include "mppi/binding/PresetListenerRefList.h"
#include "mppi/binding/PresetLoadBankListener.h"
#include "mppi/binding/PresetMemListener.h"
#include "mppi/binding/PresetNumberListener.h"
#include "mppi/binding/PresetSaveBankListener.h"
#include "mppi/binding/PresetTimeDisplayListener.h"
#include "mppi/binding/PresetTimeFaderListener.h"
#include "mppi/preset/BankManager.h"
#include "mppi/preset/ProgStLdDefault.h"
#include "sys/FileSelector.h"

#include <array>

namespace pengui {
class ControlInterface;
class TextBox;
} // namespace pengui

namespace mppi {

class GuiInterface;

// The preset panel's logic inside the editor: eight program memories recalled
// with a timed morph or stored into, a store-mode switch, a morph-time knob
// and box, and loading and saving the memories as a bank file. The editor
// creates the controls and calls init once; from then on the listeners here
// own the controls' behaviour.
//
// Everything runs on the editor thread. The controls must outlive the
// manager's last stop: the editor calls stop (through its own stop) before
// it destroys them.
class PresetManager {
public:
    static constexpr int nbr_programs = PresetListenerRefList::nbr_programs;

    PresetManager();
    virtual ~PresetManager();
    PresetManager(const PresetManager&) = delete;
    PresetManager& operator=(const PresetManager&) = delete;

    // [editor thread] Runs once; a second call returns 0 and does nothing.
    // The memories start as copies of the DSP's current program and are then
    // filled from the "VNPB" resource resource_name (null: none). The
    // interpolator is not owned; null uses plain linear mixing. Returns the
    // resource's decode code (0 on success), -1 when it is missing, 0 without
    // a name; -1, with nothing done, when the GUI has no DSP or host or a
    // control is missing.
    int init(GuiInterface* gui, ProgStLdInterface* interpolator,
             const std::array<pengui::ControlInterface*, nbr_programs>& program_buttons,
             pengui::ControlInterface* store_switch, pengui::ControlInterface* load_button,
             pengui::ControlInterface* save_button, pengui::ControlInterface* time_knob,
             pengui::TextBox* time_box, const char* resource_name);
    // [editor thread] Ends a running morph; does nothing before init.
    void stop();

    // [editor thread] The memories.
    const BankManager& bank() const { return bank_; }
    // [editor thread] The morph time in seconds.
    double morph_time() const { return time_fader_.morph_time(); }

private:
    int load_default_bank(const char* resource_name);

    std::array<PresetNumberListener, nbr_programs> numbers_;
    PresetMemListener mem_;
    PresetTimeDisplayListener time_display_;
    PresetTimeFaderListener time_fader_;
    PresetLoadBankListener load_bank_;
    PresetSaveBankListener save_bank_;
    BankManager bank_;
    ProgStLdDefault default_interpolator_;
    PresetListenerRefList refs_;
    sys::FileSelector file_selector_;
    GuiInterface* gui_ = nullptr;
    ProgStLdInterface* interpolator_ = nullptr;
    bool initialised_ = false;
};

} // namespace mppi

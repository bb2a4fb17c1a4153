#pragma once

#include "editor/FlagSwitchListeners.h"
#include "editor/GuiPart.h"
#include "editor/NumericParamMgr.h"
#include "editor/ProgInterpolator.h"
#include "editor/TempoListeners.h"
#include "mppi/binding/PresetManager.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/FlipFlop.h"
#include "pengui/Knob.h"
#include "pengui/PushButton.h"
#include "pengui/Spin.h"
#include "pengui/TextBox.h"

#include <array>

namespace editor {

// Everything that belongs to no tap and no line: the tempo with its spin,
// box and time-unit switch; the preset panel's controls; the pre-delay level
// with the sustain-loop switch; the second line's switch; the feedback
// separation with its LFO.
//
// Everything runs on the editor thread.
class GuiMisc : public GuiPart {
public:
    static constexpr int nbr_programs = 8;

    // [editor thread] Ties the listeners to one another and to the editor,
    // and hands the preset controls to the preset manager.
    void init();
    // [editor thread] Makes, binds and places the controls and panels.
    void build();
    // [editor thread] Ends a running preset morph.
    void stop();

    pengui::CtrlGroupItem& tempo_section() { return tempo_section_; }
    pengui::CtrlGroupItem& preset_section() { return preset_section_; }
    pengui::CtrlGroupItem& pre_delay_section() { return pre_delay_section_; }
    pengui::CtrlGroupItem& global_switch_section() { return global_switch_section_; }
    pengui::CtrlGroupItem& fdbk_separation_section() { return fdbk_separation_section_; }
    bool host_tempo() const { return host_tempo_; }
    const mppi::PresetManager& presets() const { return presets_; }

    // [editor thread] The flag switches show bits 6, 4 and 5 of the flags.
    void show_flags(int bits, int priority);
    void time_unit_changed(const mppi::TimeUnit& unit) override;

private:
    void build_tempo();
    void build_presets();

    pengui::Spin tempo_spin_;
    TempoSpinListener tempo_spin_listener_;
    pengui::TextBox tempo_box_;
    TempoTextBoxListener tempo_box_listener_;
    pengui::FlipFlop time_unit_;
    MsBpmListener time_unit_listener_;
    std::array<pengui::PushButton, nbr_programs> program_buttons_;
    pengui::PushButton load_bank_;
    pengui::PushButton save_bank_;
    pengui::FlipFlop store_mode_;
    pengui::Knob morph_knob_;
    pengui::TextBox morph_box_;
    NumericParamMgr pre_delay_panel_;
    NumValListenerInterface pre_delay_listener_;
    pengui::Knob pre_delay_;
    pengui::FlipFlop sustain_loop_;
    SustLoopListener sustain_loop_listener_;
    pengui::FlipFlop delay2_;
    Delay2Listener delay2_listener_;
    NumericParamMgr fdbk_separation_panel_;
    NumValListenerInterface fdbk_separation_listener_;
    pengui::Knob fdbk_separation_;
    pengui::CtrlGroupItem tempo_section_;
    pengui::CtrlGroupItem preset_section_;
    pengui::CtrlGroupItem pre_delay_section_;
    pengui::CtrlGroupItem global_switch_section_;
    pengui::CtrlGroupItem fdbk_separation_section_;
    bool host_tempo_ = false;
    // Last, so that the manager goes before the controls it drives.
    ProgInterpolator interpolator_;
    mppi::PresetManager presets_;
};

} // namespace editor

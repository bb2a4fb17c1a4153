#pragma once

#include "editor/TimeListeners.h"
#include "editor/ValueBoxListeners.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/Knob.h"
#include "pengui/Switch.h"
#include "pengui/TextBox.h"

#include <string>

namespace editor {

class GuiPart;

// The detail panel of one parameter: its name, value and unit, and for a
// parameter with an LFO the period and depth knobs and boxes and the
// waveform switch. Its two sections take the middle row's slots while the
// parameter's control has the focus.
//
// Everything runs on the editor thread.
class NumericParamMgr {
public:
    NumericParamMgr() = default;
    NumericParamMgr(const NumericParamMgr&) = delete;
    NumericParamMgr& operator=(const NumericParamMgr&) = delete;

    // [editor thread] The part it belongs to (not owned), the parameter and
    // its LFO's period parameter, followed by depth and waveform (-1: none).
    void init(GuiPart* part, int param, int lfo_period);
    // [editor thread] Makes the panel's controls and binds the LFO's; main is
    // the listener of the parameter's own control (not owned).
    void build(NumValListenerInterface* main);

    pengui::CtrlGroupItem& value_section() { return value_section_; }
    pengui::CtrlGroupItem& lfo_section() { return lfo_section_; }
    bool has_lfo() const { return lfo_period_ >= 0; }
    int param_index() const { return param_; }

    // [editor thread] The panel takes the middle row, the parameter's control
    // alone keeps the focus, and the name and unit are written.
    void show();
    // [editor thread] The read-outs.
    void set_value_text(const std::string& text) { value_box_.set_text(text); }
    void set_period_text(const std::string& text) { period_box_.set_text(text); }
    void set_depth_text(const std::string& text) { depth_box_.set_text(text); }
    // [editor thread] Reads an edited box and sets its knob from it; the box
    // then shows the value in effect, whether the text was taken or not.
    void apply_text(NumValTbListener::Target target);
    // [editor thread] The value box or one of the LFO boxes.
    const pengui::TextBox& box(NumValTbListener::Target target) const { return *boxes_[target]; }
    // [editor thread] The unit box and the LFO period knob follow the unit.
    void time_unit_changed(const mppi::TimeUnit& unit);

private:
    GuiPart* part_ = nullptr;
    pengui::CtrlGroupItem value_section_;
    pengui::CtrlGroupItem lfo_section_;
    pengui::Switch wave_;
    pengui::Knob period_knob_;
    pengui::Knob depth_knob_;
    pengui::TextBox value_box_;
    pengui::TextBox name_box_;
    pengui::TextBox unit_box_;
    pengui::TextBox period_box_;
    pengui::TextBox depth_box_;
    // By NumValTbListener::Target.
    pengui::TextBox* const boxes_[3] = {&value_box_, &period_box_, &depth_box_};
    NumValTbListener value_tb_;
    LfoDepthKnListener depth_kn_;
    LfoDepthTbListener depth_tb_;
    LfoPerKnListener period_kn_;
    LfoPerTbListener period_tb_;
    mppi::ListenerBase wave_listener_;
    int param_ = -1;
    int lfo_period_ = -1;
    NumValListenerInterface* main_ = nullptr;
};

} // namespace editor

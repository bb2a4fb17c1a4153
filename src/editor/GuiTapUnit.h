#pragma once

#include "editor/GuiPart.h"
#include "editor/NumericParamMgr.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/Knob.h"

namespace editor {

// One tap of the pre-delay: level, time and pan knobs, each with its panel.
//
// Everything runs on the editor thread.
class GuiTapUnit : public GuiPart {
public:
    // [editor thread] Tap n (0-3): its first parameter is 7 + 12 n.
    void init(int tap);
    // [editor thread] Makes, binds and places the knobs and panels.
    void build();
    pengui::CtrlGroupItem& section() { return section_; }
    void time_unit_changed(const mppi::TimeUnit& unit) override;

private:
    int tap_ = 0;
    int first_param_ = 0;
    pengui::CtrlGroupItem section_;
    pengui::Knob level_;
    pengui::Knob time_;
    pengui::Knob pan_;
    NumValListenerInterface level_listener_;
    TapTimeListener time_listener_;
    NumValListenerInterface pan_listener_;
    NumericParamMgr panels_[3];
};

} // namespace editor

#pragma once

#include "editor/GuiPart.h"
#include "editor/NumericParamMgr.h"
#include "editor/RcListener.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/Knob.h"
#include "pengui/Switch.h"

#include <array>

namespace editor {

// One delay line's row: eleven knobs with their panels and the filter-type
// switch, every control linked to the other line's under a right-button drag.
//
// Everything runs on the editor thread.
class GuiDelayLine : public GuiPart {
public:
    static constexpr int knob_count = 11;

    // [editor thread] Line d (0-1): its first parameter is 55 + 33 d.
    void init(int line);
    // [editor thread] Makes, binds and places the controls and panels.
    void build();
    pengui::CtrlGroupItem& section() { return section_; }
    void time_unit_changed(const mppi::TimeUnit& unit) override;

private:
    int line_ = 0;
    int first_param_ = 0;
    pengui::CtrlGroupItem section_;
    std::array<pengui::Knob, knob_count> knobs_;
    std::array<NumValListenerRc, knob_count> listeners_; // the time knob's is unused
    DelayTimeListener time_listener_;
    pengui::Switch filter_type_;
    ListenerBaseRc filter_type_listener_;
    std::array<NumericParamMgr, knob_count> panels_;
};

} // namespace editor

#pragma once

#include "editor/GuiPart.h"
#include "pengui/CtrlGroupItem.h"

namespace pengui {
class CtrlGroupSplit;
}

namespace editor {

class NumericParamMgr;

// The middle row's detail area: two slots (value, LFO) that show the panel of
// the control last touched, empty until then.
//
// Everything runs on the editor thread.
class GuiParam : public GuiPart {
public:
    // [editor thread] The splits that hold the value slot (second child of
    // the inner row) and the LFO slot (second child of the middle row); not
    // owned.
    void set_rows(pengui::CtrlGroupSplit* middle_row, pengui::CtrlGroupSplit* inner_row) {
        middle_row_ = middle_row;
        inner_row_ = inner_row;
    }
    pengui::CtrlGroupItem& empty_value() { return empty_value_; }
    pengui::CtrlGroupItem& empty_lfo() { return empty_lfo_; }
    // [editor thread] Puts the panel's sections into the slots (an empty LFO
    // slot for a parameter without LFO) and has both areas redrawn.
    void show(NumericParamMgr& manager);
    // [editor thread] Null until a panel was shown.
    const NumericParamMgr* shown() const { return shown_; }

private:
    pengui::CtrlGroupSplit* middle_row_ = nullptr;
    pengui::CtrlGroupSplit* inner_row_ = nullptr;
    pengui::CtrlGroupItem empty_value_;
    pengui::CtrlGroupItem empty_lfo_;
    NumericParamMgr* shown_ = nullptr;
};

} // namespace editor

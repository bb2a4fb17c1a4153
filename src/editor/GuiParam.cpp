#include "editor/GuiParam.h"

#include "editor/EditorLayout.h"
#include "editor/NumericParamMgr.h"
#include "editor/ZentrovaGui.h"
#include "pengui/SPTreeSplit.h"

namespace editor {

namespace {
// Where the slots sit among their split's children.
constexpr int value_slot = 1;
constexpr int lfo_slot = 1;
} // namespace

void GuiParam::show(NumericParamMgr& manager) {
    if (middle_row_ == nullptr || inner_row_ == nullptr) {
        return;
    }
    using layout::SectionId;
    shown_ = &manager;
    inner_row_->replace_child(&manager.value_section(),
                              gui_->section_width(SectionId::detail_value), value_slot);
    middle_row_->replace_child(manager.has_lfo() ? &manager.lfo_section() : &empty_lfo_,
                               gui_->section_width(SectionId::detail_lfo), lfo_slot);
    gui_->invalidate(layout::sections[std::size_t(layout::SectionId::detail_value)].window);
    gui_->invalidate(layout::sections[std::size_t(layout::SectionId::detail_lfo)].window);
}

} // namespace editor

#include "editor/GuiDelayLine.h"

#include "editor/ParamPlaces.h"
#include "editor/SkinControls.h"
#include "editor/ZentrovaGui.h"
#include "mppi/binding/MetaControl.h"

#include <string>

namespace editor {

namespace {
using layout::ControlId;

constexpr int time_row = 2;
constexpr int filter_type_row = GuiDelayLine::knob_count;
} // namespace

void GuiDelayLine::init(int line) {
    line_ = line;
    first_param_ = layout::first_line_param + layout::line_stride * line;
}

void GuiDelayLine::build() {
    const layout::Control& filter = layout::control(ControlId::filter_type);
    filter_type_.set_background(gui_->picture(filter.picture));
    filter_type_.set_position_count(int(layout::filter_switch_cells.size()));
    for (std::size_t i = 0; i < layout::filter_switch_cells.size(); ++i) {
        const layout::Point cell = layout::filter_switch_cells[i];
        filter_type_.set_position_picture(
            int(i), gui_->picture("sw_03_" + std::to_string(i), -cell.x, -cell.y));
    }
    const int filter_index = first_param_ + layout::line_places[filter_type_row].offset;
    filter_type_listener_.rc().set_gui(gui_);
    gui_->bind_control(filter_type_, filter_type_listener_, filter_index);
    skin::place(section_, filter_type_, filter, *gui_, line_);

    for (int k = 0; k < knob_count; ++k) {
        const layout::ParamPlace& row = layout::line_places[std::size_t(k)];
        NumValListenerRc& listener = k == time_row ? time_listener_ : listeners_[std::size_t(k)];
        listener.rc().set_gui(gui_);
        const int index = first_param_ + row.offset;
        const layout::Control& place = layout::control(row.id);
        gui_->bind_knob(knobs_[std::size_t(k)], listener, index, place.style);
        skin::place(section_, knobs_[std::size_t(k)], place, *gui_, line_);
        NumericParamMgr& panel = panels_[std::size_t(k)];
        panel.init(this, index, row.lfo_offset < 0 ? -1 : first_param_ + row.lfo_offset);
        panel.build(&listener);
    }
}

void GuiDelayLine::time_unit_changed(const mppi::TimeUnit& unit) {
    time_listener_.time_unit_changed(unit);
    for (NumericParamMgr& p : panels_) {
        p.time_unit_changed(unit);
    }
}

} // namespace editor

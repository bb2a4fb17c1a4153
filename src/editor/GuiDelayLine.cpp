#include "editor/GuiDelayLine.h"

#include "editor/SkinControls.h"
#include "editor/ZentrovaGui.h"
#include "mppi/MetaControl.h"

#include <string>

namespace {
using layout::ControlId;

constexpr int first_line_param = 55;
constexpr int line_stride = 33;

struct KnobRow {
    ControlId id;
    int offset;     // from the line's first parameter
    int lfo_offset; // the LFO's period, or -1
};
// In drawing order; the time knob is the third.
constexpr KnobRow knob_rows[GuiDelayLine::knob_count] = {
    {ControlId::line_level, 0, -1},     {ControlId::line_pan, 1, 2},
    {ControlId::line_time, 5, 6},       {ControlId::line_fdbk, 9, 10},
    {ControlId::filter_cutoff, 14, 15}, {ControlId::filter_reso, 18, 19},
    {ControlId::filter_q, 22, 23},      {ControlId::disto_type, 26, -1},
    {ControlId::disto_level, 27, 28},   {ControlId::shelf_cutoff, 31, -1},
    {ControlId::shelf_level, 32, -1},
};
constexpr int time_row = 2;
constexpr int filter_type_offset = 13;
} // namespace

void GuiDelayLine::init(int line) {
    first_param_ = first_line_param + line_stride * line;
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
    const int filter_index = first_param_ + filter_type_offset;
    filter_type_listener_.rc().set_gui(gui_);
    gui_->bind_control(filter_type_, filter_type_listener_, filter_index);
    skin::place(section_, filter_type_, filter);

    for (int k = 0; k < knob_count; ++k) {
        const KnobRow& row = knob_rows[k];
        NumValListenerRc& listener = k == time_row ? time_listener_ : listeners_[std::size_t(k)];
        listener.rc().set_gui(gui_);
        const int index = first_param_ + row.offset;
        const layout::Control& place = layout::control(row.id);
        gui_->bind_knob(knobs_[std::size_t(k)], listener, index, place.style);
        skin::place(section_, knobs_[std::size_t(k)], place);
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

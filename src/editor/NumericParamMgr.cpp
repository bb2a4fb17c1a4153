#include "editor/NumericParamMgr.h"

#include "editor/GuiParam.h"
#include "editor/GuiPart.h"
#include "editor/SkinControls.h"
#include "editor/ZentrovaGui.h"
#include "mppi/MetaControl.h"
#include "mppi/NormalizedParamInterface.h"

#include <string>

namespace {
using layout::ControlId;

// The LFO's parameters follow its period: depth, then waveform.
constexpr int depth_offset = 1;
constexpr int wave_offset = 2;
constexpr int gesture_priority = 200;
} // namespace

void NumericParamMgr::init(GuiPart* part, int param, int lfo_period) {
    part_ = part;
    param_ = param;
    lfo_period_ = lfo_period;
}

void NumericParamMgr::build(NumValListenerInterface* main) {
    ZentrovaGui& gui = *part_->gui();
    main_ = main;
    main_->set_manager(this);

    const layout::Control& name = layout::control(ControlId::param_name);
    skin::make_text_box(name_box_, name, false, gui);
    name_box_.set_text("1234567");
    skin::place(value_section_, name_box_, name);
    const layout::Control& value = layout::control(ControlId::param_value);
    skin::make_text_box(value_box_, value, true, gui);
    value_tb_.set_manager(this);
    value_box_.set_listener(&value_tb_);
    skin::place(value_section_, value_box_, value);
    const layout::Control& unit = layout::control(ControlId::param_unit);
    skin::make_text_box(unit_box_, unit, false, gui);
    skin::place(value_section_, unit_box_, unit);

    if (!has_lfo()) {
        return;
    }
    const auto add_knob = [&](pengui::Knob& knob, NumericParamListener& listener, int index,
                              ControlId id) {
        const layout::Control& row = layout::control(id);
        skin::make_knob(knob, row.style, gui);
        listener.set_manager(this);
        listener.set_host(gui.get_host());
        listener.bind(index, gui.param(index));
        gui.meta(index).bind(&knob, &listener);
        skin::place(lfo_section_, knob, row);
    };
    add_knob(period_knob_, period_kn_, lfo_period_, ControlId::lfo_period_knob);
    add_knob(depth_knob_, depth_kn_, lfo_period_ + depth_offset, ControlId::lfo_depth_knob);

    const layout::Control& period = layout::control(ControlId::lfo_period_box);
    skin::make_text_box(period_box_, period, true, gui);
    period_tb_.set_manager(this);
    period_box_.set_listener(&period_tb_);
    skin::place(lfo_section_, period_box_, period);
    const layout::Control& depth = layout::control(ControlId::lfo_depth_box);
    skin::make_text_box(depth_box_, depth, true, gui);
    depth_box_.set_text("1234567");
    depth_tb_.set_manager(this);
    depth_box_.set_listener(&depth_tb_);
    skin::place(lfo_section_, depth_box_, depth);

    const layout::Control& wave = layout::control(ControlId::lfo_wave);
    wave_.set_background(gui.picture(wave.picture));
    wave_.set_position_count(int(layout::wave_switch_cells.size()));
    for (std::size_t i = 0; i < layout::wave_switch_cells.size(); ++i) {
        const layout::Point cell = layout::wave_switch_cells[i];
        wave_.set_position_picture(layout::wave_of_cell[i],
                                   gui.picture("sw_04_" + std::to_string(i), -cell.x, -cell.y));
    }
    const int wave_index = lfo_period_ + wave_offset;
    wave_listener_.set_host(gui.get_host());
    wave_listener_.bind(wave_index, gui.param(wave_index));
    gui.meta(wave_index).bind(&wave_, &wave_listener_);
    skin::place(lfo_section_, wave_, wave);
}

void NumericParamMgr::show() {
    ZentrovaGui& gui = *part_->gui();
    gui.gui_param().show(*this);
    gui.clear_focus_except(main_->attached_control());
    const mppi::NormalizedParamInterface* param = gui.param(param_);
    if (param != nullptr) {
        name_box_.set_text(param->get_name());
        unit_box_.set_text(param->get_unit());
    }
}

void NumericParamMgr::apply_text(NumValTbListener::Target target) {
    pengui::TextBox& box = target == NumValTbListener::value_box    ? value_box_
                           : target == NumValTbListener::period_box ? period_box_
                                                                    : depth_box_;
    mppi::ListenerBase* listener = main_;
    if (target == NumValTbListener::period_box) {
        listener = &period_kn_;
    } else if (target == NumValTbListener::depth_box) {
        listener = &depth_kn_;
    }
    pengui::ControlInterface* knob = listener->attached_control();
    const mppi::NormalizedParamInterface* param = listener->get_param();
    if (knob == nullptr || param == nullptr) {
        return;
    }
    bool ok = false;
    const double internal = param->from_text(box.text(), ok);
    if (!ok) {
        return;
    }
    double normalized = param->to_normalized(internal);
    if (target != NumValTbListener::depth_box) {
        normalized = listener->transform_value(normalized);
        knob->cancel();
    }
    knob->set_value_from_user(normalized, gesture_priority);
}

void NumericParamMgr::time_unit_changed(const mppi::TimeUnit& unit) {
    if (has_lfo()) {
        period_kn_.time_unit_changed(unit);
    }
    const mppi::NormalizedParamInterface* param = part_->gui()->param(param_);
    if (param != nullptr) {
        unit_box_.set_text(param->get_unit());
    }
}

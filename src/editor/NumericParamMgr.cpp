#include "editor/NumericParamMgr.h"

#include "editor/GuiParam.h"
#include "editor/GuiPart.h"
#include "editor/SkinControls.h"
#include "editor/ZentrovaGui.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/binding/MetaControl.h"

#include <string>

namespace editor {

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

    // A box of the panel; an editable one reports to its listener.
    const auto add_box = [&](pengui::CtrlGroupItem& section, pengui::TextBox& box,
                             NumValTbListener* listener, ControlId id, const char* text) {
        const layout::Control& row = layout::control(id);
        skin::make_text_box(box, row, listener != nullptr, gui);
        box.set_text(text);
        if (listener != nullptr) {
            listener->set_manager(this);
            box.set_listener(listener);
        }
        skin::place(section, box, row, gui);
    };
    // Sample texts until the first value arrives.
    add_box(value_section_, name_box_, nullptr, ControlId::param_name, "1234567");
    add_box(value_section_, value_box_, &value_tb_, ControlId::param_value, "");
    add_box(value_section_, unit_box_, nullptr, ControlId::param_unit, "");
    if (!has_lfo()) {
        return;
    }
    const auto add_knob = [&](pengui::Knob& knob, NumericParamListener& listener, int index,
                              ControlId id) {
        const layout::Control& row = layout::control(id);
        listener.set_manager(this);
        gui.bind_knob(knob, listener, index, row.style);
        skin::place(lfo_section_, knob, row, gui);
    };
    add_knob(period_knob_, period_kn_, lfo_period_, ControlId::lfo_period_knob);
    add_knob(depth_knob_, depth_kn_, lfo_period_ + depth_offset, ControlId::lfo_depth_knob);
    add_box(lfo_section_, period_box_, &period_tb_, ControlId::lfo_period_box, "");
    add_box(lfo_section_, depth_box_, &depth_tb_, ControlId::lfo_depth_box, "1234567");

    const layout::Control& wave = layout::control(ControlId::lfo_wave);
    wave_.set_background(gui.picture(wave.picture));
    wave_.set_position_count(int(layout::wave_switch_cells.size()));
    for (std::size_t i = 0; i < layout::wave_switch_cells.size(); ++i) {
        const layout::Point cell = layout::wave_switch_cells[i];
        wave_.set_position_picture(layout::wave_of_cell[i],
                                   gui.picture("sw_04_" + std::to_string(i), -cell.x, -cell.y));
    }
    const int wave_index = lfo_period_ + wave_offset;
    gui.bind_control(wave_, wave_listener_, wave_index);
    skin::place(lfo_section_, wave_, wave, gui);
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
    pengui::TextBox& box = *boxes_[target];
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
    if (ok) {
        double normalized = param->to_normalized(internal);
        if (target != NumValTbListener::depth_box) {
            normalized = listener->transform_value(normalized);
            knob->cancel();
        }
        knob->set_value_from_user(normalized, gesture_priority);
    }
    // Whatever was typed, refused or limited, the box shows the value in effect.
    box.set_text(param->to_text(param->to_internal(param->get_normalized())));
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

} // namespace editor

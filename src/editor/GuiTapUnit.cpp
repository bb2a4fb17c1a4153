#include "editor/GuiTapUnit.h"

#include "editor/SkinControls.h"
#include "editor/ZentrovaGui.h"
#include "mppi/MetaControl.h"

namespace {
// A tap's parameters: time, then its LFO, level and its LFO, pan and its LFO.
constexpr int first_tap_param = 7;
constexpr int tap_stride = 12;
} // namespace

void GuiTapUnit::init(int tap) {
    first_param_ = first_tap_param + tap_stride * tap;
}

void GuiTapUnit::build() {
    struct Row {
        pengui::Knob& knob;
        NumValListenerInterface& listener;
        NumericParamMgr& panel;
        int offset;
        layout::ControlId id;
    };
    const Row rows[] = {
        {level_, level_listener_, panels_[0], 4, layout::ControlId::tap_level},
        {time_, time_listener_, panels_[1], 0, layout::ControlId::tap_time},
        {pan_, pan_listener_, panels_[2], 8, layout::ControlId::tap_pan},
    };
    for (const Row& r : rows) {
        const int index = first_param_ + r.offset;
        gui_->bind_knob(r.knob, r.listener, index, layout::control(r.id).style);
        r.panel.init(this, index, index + 1);
        r.panel.build(&r.listener);
    }
    // Drawing order: time, level, pan.
    skin::place(section_, time_, layout::control(layout::ControlId::tap_time));
    skin::place(section_, level_, layout::control(layout::ControlId::tap_level));
    skin::place(section_, pan_, layout::control(layout::ControlId::tap_pan));
}

void GuiTapUnit::time_unit_changed(const mppi::TimeUnit& unit) {
    time_listener_.time_unit_changed(unit);
    for (NumericParamMgr& p : panels_) {
        p.time_unit_changed(unit);
    }
}

#include "editor/GuiTapUnit.h"

#include "editor/ParamPlaces.h"
#include "editor/SkinControls.h"
#include "editor/ZentrovaGui.h"
#include "mppi/binding/MetaControl.h"

namespace editor {

void GuiTapUnit::init(int tap) {
    tap_ = tap;
    first_param_ = layout::first_tap_param + layout::tap_stride * tap;
}

void GuiTapUnit::build() {
    pengui::Knob* knobs[] = {&time_, &level_, &pan_};
    NumValListenerInterface* listeners[] = {&time_listener_, &level_listener_, &pan_listener_};
    for (std::size_t k = 0; k < layout::tap_places.size(); ++k) {
        const layout::ParamPlace& place = layout::tap_places[k];
        const int index = first_param_ + place.offset;
        gui_->bind_knob(*knobs[k], *listeners[k], index, layout::control(place.id).style);
        panels_[k].init(this, index, first_param_ + place.lfo_offset);
        panels_[k].build(listeners[k]);
        skin::place(section_, *knobs[k], layout::control(place.id), *gui_, tap_);
    }
}

void GuiTapUnit::time_unit_changed(const mppi::TimeUnit& unit) {
    time_listener_.time_unit_changed(unit);
    for (NumericParamMgr& p : panels_) {
        p.time_unit_changed(unit);
    }
}

} // namespace editor

#include "editor/TempoListeners.h"

#include "editor/ZentrovaGui.h"
#include "mppi/NormalizedParamInterface.h"
#include "pengui/Spin.h"
#include "pengui/TextBox.h"

namespace editor {

double TempoSpinListener::map_value_for_storing(double value, int) {
    if (box_ != nullptr && get_param() != nullptr) {
        box_->set_text(get_param()->to_text(get_param()->to_internal(static_cast<float>(value))));
    }
    if (gui_ != nullptr) {
        gui_->time_unit_changed();
    }
    return value;
}

void TempoTextBoxListener::action(int kind, int) {
    auto* box = dynamic_cast<pengui::TextBox*>(attached_control());
    if (kind != action_edited || box == nullptr || spin_ == nullptr || spin_listener_ == nullptr ||
        spin_listener_->get_param() == nullptr) {
        return;
    }
    const mppi::NormalizedParamInterface& tempo = *spin_listener_->get_param();
    bool ok = false;
    const double bpm = tempo.from_text(box->text(), ok);
    spin_->set_value_from_user(ok ? tempo.to_normalized(bpm) : tempo.get_normalized(), 200);
}

} // namespace editor

#include "mppi/binding/PresetTimeDisplayListener.h"

#include "mppi/binding/PresetListenerRefList.h"
#include "mppi/binding/PresetTimeFaderListener.h"
#include "pengui/TextBox.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mppi {

void PresetTimeDisplayListener::attach(pengui::ControlInterface* control) {
    GenericPresetListener::attach(control);
    box_ = dynamic_cast<pengui::TextBox*>(control);
}

void PresetTimeDisplayListener::action(int kind, int) {
    if (kind != action_edited || box_ == nullptr || refs_ == nullptr ||
        refs_->time_fader() == nullptr) {
        return;
    }
    refs_->time_fader()->set_time(parse_time(box_->text()));
}

void PresetTimeDisplayListener::show_time(double time) {
    if (box_ != nullptr) {
        box_->set_text(std::to_string(static_cast<long>(std::floor(time + 0.5))));
    }
}

double PresetTimeDisplayListener::parse_time(const std::string& text) {
    double time = 0;
    // "nan" reads as a number but stands for no time at all.
    if (std::sscanf(text.c_str(), "%lf", &time) != 1 || std::isnan(time)) {
        return 0;
    }
    return std::clamp(time, 0.0, PresetTimeFaderListener::max_time);
}

} // namespace mppi

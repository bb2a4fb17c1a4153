#include "host/lv2/ui/HostGuiLv2.h"

#include "host/lv2/QuevrinLv2.h"
#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/PropertyKeys.h"
#include "mppi/preset/ProgramSlot.h"
#include "pengui/WindowInterface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace host::lv2::ui {

HostGuiLv2::HostGuiLv2(mppi::DspInterface& model, const std::vector<ControlPort>& ports,
                       LV2UI_Write_Function write, LV2UI_Controller controller,
                       const LV2UI_Resize* resize, Clock clock)
    : model_(model), ports_(ports), write_(write), controller_(controller), resize_(resize),
      writer_(clock) {
    writer_.attach(model);
}

void HostGuiLv2::set_gui(mppi::GuiInterface* gui) {
    gui_ = gui;
    writer_.set_gui(gui);
}

double HostGuiLv2::get_num_property(const char* key) {
    return resize_ != nullptr && std::strcmp(key, mppi::property::can_resize_window) == 0 ? 1.0
                                                                                          : 0.0;
}

bool HostGuiLv2::may_change_param(int index, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    return writer_.may_change(index, priority);
}

void HostGuiLv2::release_param(int index, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    writer_.release(index, priority);
}

void HostGuiLv2::write_port(int index) {
    const float value =
        ports_[static_cast<std::size_t>(index)].to_port(model_.get_param(index)->get_normalized());
    write_(controller_, static_cast<std::uint32_t>(index), sizeof value, 0, &value);
}

bool HostGuiLv2::set_param(int index, float normalized, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    if (!writer_.write(index, normalized, priority)) {
        return false;
    }
    write_port(index);
    return true;
}

void HostGuiLv2::set_prog(const mppi::ProgramSlot& program, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    const int count = std::min(program.get_nbr_values(), static_cast<int>(ports_.size()));
    // A port is written when its value changes, or when it holds a host value
    // still waiting: the program's replaces it.
    std::vector<float> before(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        before[static_cast<std::size_t>(i)] = writer_.has_waiting(i)
                                                  ? std::numeric_limits<float>::quiet_NaN()
                                                  : model_.get_param(i)->get_normalized();
    }
    // The tempo stays the host's: the model's host supplies it.
    model_.set_prog_name(program.get_prog_name());
    model_.load_prog(program);
    writer_.program_loaded(count, priority);
    // The ports get what the model took: a damaged program's values never
    // reach them.
    for (int i = 0; i < count; ++i) {
        if (model_.get_param(i)->get_normalized() != before[static_cast<std::size_t>(i)]) {
            write_port(i);
        }
    }
}

int HostGuiLv2::resize_window(int width, int height) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    if (gui_ != nullptr && gui_->get_window() != nullptr) {
        gui_->get_window()->set_window_size(width, height);
    }
    if (resize_ != nullptr) {
        resize_->ui_resize(resize_->handle, width, height);
    }
    return 0;
}

void HostGuiLv2::port_event(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                            const void* buffer) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    // The tempo shown is the one the plug-in uses: its tempo port's, or the
    // host's transport tempo, which the tempo port does not show.
    if (port == QuevrinLv2::port_tempo_in_use) {
        port = QuevrinLv2::port_tempo;
    } else if (port == QuevrinLv2::port_tempo) {
        return;
    }
    if (port >= ports_.size() || format != 0 || size != sizeof(float) || buffer == nullptr) {
        return;
    }
    float value;
    std::memcpy(&value, buffer, sizeof value);
    if (!std::isfinite(value)) {
        return;
    }
    const auto index = static_cast<int>(port);
    const ControlPort& control = ports_[port];
    const float current = model_.get_param(index)->get_normalized();
    // Within the precision hosts keep, the port showing the model's value is
    // the editor's own write coming back.
    writer_.host_value(index,
                       control.shows(current, value) ? current : control.to_normalized(value));
}

void HostGuiLv2::apply_held() {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    writer_.apply_waiting();
}

} // namespace host::lv2::ui

#include "host/lv2/HostGuiLv2.h"

#include "host/lv2/QuevrinLv2.h"
#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/ListenerBase.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/PropertyKeys.h"
#include "mppi/preset/ProgramSlot.h"
#include "pengui/WindowInterface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {
constexpr float none = std::numeric_limits<float>::quiet_NaN();
} // namespace

HostGuiLv2::HostGuiLv2(mppi::DspInterface& model, const std::vector<ControlPort>& ports,
                       LV2UI_Write_Function write, LV2UI_Controller controller,
                       const LV2UI_Resize* resize, Clock clock)
    : model_(model), ports_(ports), write_(write), controller_(controller), resize_(resize),
      clock_(clock), held_(ports.size(), none) {
    priorities_.resize(static_cast<int>(ports.size()));
}

double HostGuiLv2::get_num_property(const char* key) {
    return resize_ != nullptr && std::strcmp(key, mppi::property::can_resize_window) == 0 ? 1.0
                                                                                          : 0.0;
}

bool HostGuiLv2::may_change_param(int index, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    return priorities_.may_change(index, priority, clock_());
}

void HostGuiLv2::release_param(int index, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    priorities_.release(index, priority);
}

void HostGuiLv2::write_port(int index) {
    const auto i = static_cast<std::size_t>(index);
    const float value = ports_[i].to_port(model_.get_param(index)->get_normalized());
    write_(controller_, static_cast<std::uint32_t>(index), sizeof value, 0, &value);
    // The port now holds the editor's value: an older host value is void.
    held_[i] = none;
}

bool HostGuiLv2::set_param(int index, float normalized, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    if (!priorities_.claim(index, priority, clock_())) {
        return false;
    }
    model_.get_param(index)->set_normalized(normalized);
    write_port(index);
    if (gui_ != nullptr) {
        gui_->param_changed(index, normalized, priority);
    }
    return true;
}

void HostGuiLv2::set_prog(const mppi::ProgramSlot& program, int priority) {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    const double now = clock_();
    const int count = std::min(program.get_nbr_values(), static_cast<int>(ports_.size()));
    std::vector<float> before(ports_.size());
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        before[i] = model_.get_param(static_cast<int>(i))->get_normalized();
    }
    model_.set_prog_name(program.get_prog_name());
    model_.load_prog(program);
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        priorities_.claim(i, priority, now);
        // The editor and the port get what the model took: a damaged
        // program's values never reach either, and the tempo stays the host's.
        const float taken = model_.get_param(i)->get_normalized();
        if (taken != before[k] || !std::isnan(held_[k])) {
            write_port(i);
        }
        if (gui_ != nullptr) {
            gui_->param_changed(i, taken, priority);
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
    if (std::isfinite(value)) {
        take_port_value(static_cast<int>(port), value);
    }
}

void HostGuiLv2::take_port_value(int index, float value) {
    const auto i = static_cast<std::size_t>(index);
    const ControlPort& port = ports_[i];
    mppi::NormalizedParamInterface* param = model_.get_param(index);
    if (port.shows(param->get_normalized(), value)) {
        held_[i] = none; // the editor's own value coming back
        return;
    }
    if (!priorities_.may_change(index, mppi::ListenerBase::refresh_priority, clock_())) {
        held_[i] = value;
        return;
    }
    held_[i] = none;
    const float normalized = port.to_normalized(value);
    param->set_normalized(normalized);
    if (gui_ != nullptr) {
        gui_->param_changed(index, normalized, mppi::ListenerBase::refresh_priority);
    }
}

void HostGuiLv2::apply_held() {
    QUEVRIN_ASSERT_EDITOR_THREAD(threads_);
    for (std::size_t i = 0; i < held_.size(); ++i) {
        if (!std::isnan(held_[i])) {
            take_port_value(static_cast<int>(i), held_[i]);
        }
    }
}

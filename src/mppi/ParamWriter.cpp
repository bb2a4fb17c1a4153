#include "mppi/ParamWriter.h"

#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/NormalizedParamInterface.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mppi {

namespace {
constexpr float none = std::numeric_limits<float>::quiet_NaN();
} // namespace

void ParamWriter::attach(DspInterface& dsp) {
    dsp_ = &dsp;
    priorities_.resize(dsp.get_nbr_param());
    waiting_.assign(static_cast<std::size_t>(dsp.get_nbr_param()), none);
}

bool ParamWriter::may_change(int index, int priority) const {
    return priorities_.may_change(index, priority, clock_());
}

void ParamWriter::release(int index, int priority) {
    priorities_.release(index, priority);
}

void ParamWriter::tell_gui(int index, int priority) {
    if (gui_ != nullptr) {
        gui_->param_changed(index, dsp_->get_param(index)->get_normalized(), priority);
    }
}

bool ParamWriter::write(int index, float normalized, int priority) {
    if (!priorities_.claim(index, priority, clock_())) {
        return false;
    }
    dsp_->get_param(index)->set_normalized(normalized);
    waiting_[static_cast<std::size_t>(index)] = none;
    tell_gui(index, priority);
    return true;
}

void ParamWriter::program_loaded(int count, int priority) {
    const double now = clock_();
    for (int i = 0; i < std::min(count, priorities_.size()); ++i) {
        priorities_.claim(i, priority, now);
        waiting_[static_cast<std::size_t>(i)] = none;
        tell_gui(i, priority);
    }
}

void ParamWriter::host_value(int index, float normalized) {
    if (index < 0 || index >= priorities_.size()) {
        return;
    }
    float& waiting = waiting_[static_cast<std::size_t>(index)];
    NormalizedParamInterface* param = dsp_->get_param(index);
    if (normalized == param->get_normalized()) {
        waiting = none;
        return;
    }
    if (!priorities_.may_change(index, ParamPriority::refresh_priority, clock_())) {
        waiting = normalized;
        return;
    }
    waiting = none;
    param->set_normalized(normalized);
    tell_gui(index, ParamPriority::refresh_priority);
}

void ParamWriter::apply_waiting() {
    for (int i = 0; i < priorities_.size(); ++i) {
        if (has_waiting(i)) {
            host_value(i, waiting_[static_cast<std::size_t>(i)]);
        }
    }
}

bool ParamWriter::has_waiting(int index) const {
    return index >= 0 && index < priorities_.size() &&
           !std::isnan(waiting_[static_cast<std::size_t>(index)]);
}

} // namespace mppi

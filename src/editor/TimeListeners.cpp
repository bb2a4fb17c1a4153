#include "editor/TimeListeners.h"

#include "editor/NumericParamMgr.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/TimeUnit.h"
#include "pengui/ControlInterface.h"
#include "pengui/Knob.h"

#include <algorithm>
#include <array>

namespace editor {

namespace {

// Musical lengths in beats.
constexpr std::array<double, 20> delay_beats{
    1.0 / 128, 1.0 / 64, 1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6, 1.0 / 4, 1.0 / 3,
    3.0 / 8,   1.0 / 2,  2.0 / 3,  3.0 / 4,  1.0,      4.0 / 3,  3.0 / 2, 2.0,     3.0,     4.0};
constexpr std::array<double, 12> long_beats{6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 192, 256};

std::vector<double> normalized(const std::vector<double>& beats,
                               const mppi::NormalizedParamInterface& param) {
    std::vector<double> list;
    list.reserve(beats.size());
    for (double b : beats) {
        list.push_back(std::clamp(param.to_normalized(b), 0.0, 1.0));
    }
    return list;
}

std::vector<double> beats_of(TimeSnap kind) {
    std::vector<double> beats;
    if (kind == TimeSnap::tap_time) {
        // A tap may sit on the beat itself; its shortest steps start at 1/32.
        beats.push_back(0.0);
        beats.insert(beats.end(), delay_beats.begin() + 2, delay_beats.end());
    } else if (kind == TimeSnap::delay_time) {
        beats.assign(delay_beats.begin(), delay_beats.end());
    } else {
        // LFO periods start at 1/64 and go on to 256 beats.
        beats.assign(delay_beats.begin() + 1, delay_beats.end());
        beats.insert(beats.end(), long_beats.begin(), long_beats.end());
    }
    return beats;
}

} // namespace

const std::vector<double>& time_snap_list(TimeSnap kind,
                                          const mppi::NormalizedParamInterface& param) {
    // Each list is made from the first parameter of its own kind.
    switch (kind) {
    case TimeSnap::delay_time: {
        static const std::vector<double> list = normalized(beats_of(kind), param);
        return list;
    }
    case TimeSnap::tap_time: {
        static const std::vector<double> list = normalized(beats_of(kind), param);
        return list;
    }
    default: {
        static const std::vector<double> list = normalized(beats_of(kind), param);
        return list;
    }
    }
}

void TimeFollower::follow(const mppi::TimeUnit& unit, mppi::ListenerBase& listener) {
    auto* knob = dynamic_cast<pengui::Knob*>(listener.attached_control());
    if (knob == nullptr || listener.get_param() == nullptr) {
        return;
    }
    const int mode = unit.get_unit_mode();
    if (mode != last_unit_) {
        knob->cancel();
        last_unit_ = mode;
        knob->set_snap_list(mode == mppi::TimeUnit::beats
                                ? &time_snap_list(kind_, *listener.get_param())
                                : nullptr);
        listener.refresh();
    }
    const double tempo = unit.get_tempo();
    if (tempo != last_tempo_) {
        knob->cancel();
        last_tempo_ = tempo;
        if (mode != mppi::TimeUnit::beats) {
            listener.refresh();
        }
    }
}

double LfoPerKnListener::map_value_for_storing(double value, int) {
    if (manager_ != nullptr && get_param() != nullptr) {
        manager_->set_period_text(
            get_param()->to_text(get_param()->to_internal(static_cast<float>(value))));
    }
    return value;
}

double LfoDepthKnListener::map_value_for_storing(double value, int) {
    if (manager_ != nullptr && get_param() != nullptr) {
        manager_->set_depth_text(
            get_param()->to_text(get_param()->to_internal(static_cast<float>(value))));
    }
    return value;
}

} // namespace editor

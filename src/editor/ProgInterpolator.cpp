#include "editor/ProgInterpolator.h"

#include "editor/ZentrovaGui.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/binding/MetaControl.h"
#include "mppi/preset/ProgramSlot.h"

namespace editor {

namespace {
constexpr int flags_index = 0;
constexpr int tempo_index = 1;
} // namespace

int ProgInterpolator::interpolate(mppi::ProgramSlot& out, const mppi::ProgramSlot& from,
                                  const mppi::ProgramSlot& to, double position) {
    mppi::ProgStLdDefault::interpolate(out, from, to, position);
    if (out.get_nbr_values() > flags_index) {
        out.set_value(flags_index, to.get_value(flags_index));
    }
    const mppi::ListenerBase* tempo =
        gui_ != nullptr ? gui_->meta(tempo_index).listener() : nullptr;
    if (out.get_nbr_values() > tempo_index && tempo != nullptr && tempo->get_param() != nullptr) {
        out.set_value(tempo_index, tempo->get_param()->get_normalized());
    }
    return 0;
}

} // namespace editor

#include "mppi/preset/ProgStLdInterface.h"

#include "mppi/DspInterface.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/preset/BankManager.h"
#include "mppi/preset/ProgramSlot.h"

namespace mppi {

void ProgStLdInterface::store_to_bank(int index, const ProgramSlot& slot) {
    bank_->set_prog(index, slot);
}

void ProgStLdInterface::load_from_bank(int index, ProgramSlot& slot) const {
    bank_->get_prog(index, slot);
}

void ProgStLdInterface::capture(ProgramSlot& slot) {
    slot.set_prog_name(dsp_->get_prog_name());
    dsp_->store_prog(slot);
}

int ProgStLdInterface::send(const ProgramSlot& from, const ProgramSlot& to, double position) {
    ProgramSlot mixed;
    mixed.set_prog_name(to.get_prog_name());
    const int err = interpolate(mixed, from, to, position);
    if (err != 0)
        return err;
    host_gui_->set_prog(mixed, send_priority);
    return 0;
}

} // namespace mppi

#include "mppi/preset/PresetListenerRefList.h"

#include "mppi/preset/PresetLoadBankListener.h"
#include "mppi/preset/PresetMemListener.h"
#include "mppi/preset/PresetNumberListener.h"
#include "mppi/preset/PresetSaveBankListener.h"
#include "mppi/preset/PresetTimeDisplayListener.h"
#include "mppi/preset/PresetTimeFaderListener.h"

namespace mppi {

void PresetListenerRefList::enter(PresetLoadBankListener* listener) {
    load_bank_ = listener;
    listener->set_ref_list(this);
}

void PresetListenerRefList::enter(PresetSaveBankListener* listener) {
    save_bank_ = listener;
    listener->set_ref_list(this);
}

void PresetListenerRefList::enter(PresetMemListener* listener) {
    mem_ = listener;
    listener->set_ref_list(this);
}

void PresetListenerRefList::enter(int index, PresetNumberListener* listener) {
    numbers_[static_cast<unsigned>(index)] = listener;
    listener->set_ref_list(this);
}

void PresetListenerRefList::enter(PresetTimeDisplayListener* listener) {
    time_display_ = listener;
    listener->set_ref_list(this);
}

void PresetListenerRefList::enter(PresetTimeFaderListener* listener) {
    time_fader_ = listener;
    listener->set_ref_list(this);
}

} // namespace mppi

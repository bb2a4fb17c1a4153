#include "mppi/binding/PresetListenerRefList.h"

#include "mppi/binding/PresetLoadBankListener.h"
#include "mppi/binding/PresetMemListener.h"
#include "mppi/binding/PresetNumberListener.h"
#include "mppi/binding/PresetSaveBankListener.h"
#include "mppi/binding/PresetTimeDisplayListener.h"
#include "mppi/binding/PresetTimeFaderListener.h"

namespace mppi {

namespace {
template <class Listener>
void enter_into(Listener*& entry, Listener* listener, PresetListenerRefList* list) {
    entry = listener;
    listener->set_ref_list(list);
}
} // namespace

void PresetListenerRefList::enter(PresetLoadBankListener* listener) {
    enter_into(load_bank_, listener, this);
}

void PresetListenerRefList::enter(PresetSaveBankListener* listener) {
    enter_into(save_bank_, listener, this);
}

void PresetListenerRefList::enter(PresetMemListener* listener) {
    enter_into(mem_, listener, this);
}

void PresetListenerRefList::enter(int index, PresetNumberListener* listener) {
    enter_into(numbers_[static_cast<unsigned>(index)], listener, this);
}

void PresetListenerRefList::enter(PresetTimeDisplayListener* listener) {
    enter_into(time_display_, listener, this);
}

void PresetListenerRefList::enter(PresetTimeFaderListener* listener) {
    enter_into(time_fader_, listener, this);
}

} // namespace mppi

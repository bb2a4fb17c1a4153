#pragma once

#include "pengui/DefaultEventListener.h"

namespace mppi {

class PresetListenerRefList;

// The base of the preset panel's listeners: a toolkit listener that reaches
// the panel's other listeners through the reference list it was entered in.
// Everything runs on the editor thread.
class GenericPresetListener : public pengui::DefaultEventListener {
public:
    // [editor thread] Called by the list when the listener is entered.
    void set_ref_list(PresetListenerRefList* list) { refs_ = list; }
    PresetListenerRefList* ref_list() const { return refs_; }

protected:
    PresetListenerRefList* refs_ = nullptr;
};

} // namespace mppi

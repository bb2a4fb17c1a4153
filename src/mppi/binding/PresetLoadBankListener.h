#pragma once

#include "mppi/binding/GenericPresetListener.h"

namespace sys {
class FileSelector;
}

namespace mppi {

class BankManager;

// The load-bank button: asks for a bank file and loads it into the memories,
// which must hold as many programs of as many values as the file. A failure
// leaves the memories as they were and is shown in a message box.
class PresetLoadBankListener : public GenericPresetListener {
public:
    // [editor thread] The dialog and the memories (not owned).
    void set_bank_file(sys::FileSelector& selector, BankManager& bank) {
        selector_ = &selector;
        bank_ = &bank;
    }
    // [editor thread] Kind 0 (pressed) runs the dialog, modal; other kinds
    // are ignored.
    void action(int kind, int data) override;

private:
    sys::FileSelector* selector_ = nullptr;
    BankManager* bank_ = nullptr;
};

} // namespace mppi

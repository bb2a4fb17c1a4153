#pragma once

#include "mppi/binding/GenericPresetListener.h"

namespace sys {
class FileSelector;
}

namespace mppi {

class BankManager;

// The save-bank button: asks for a file name, asks before overwriting an
// existing file, and writes the memories as a bank file. A failure is shown
// in a message box.
class PresetSaveBankListener : public GenericPresetListener {
public:
    // [editor thread] The dialog and the memories (not owned).
    void set_bank_file(sys::FileSelector& selector, const BankManager& bank) {
        selector_ = &selector;
        bank_ = &bank;
    }
    // [editor thread] Kind 0 (pressed) runs the dialogs, modal; other kinds
    // are ignored.
    void action(int kind, int data) override;

private:
    sys::FileSelector* selector_ = nullptr;
    const BankManager* bank_ = nullptr;
};

} // namespace mppi

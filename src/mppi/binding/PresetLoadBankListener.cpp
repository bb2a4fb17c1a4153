#include "mppi/binding/PresetLoadBankListener.h"

#include "mppi/preset/BankFile.h"
#include "sys/FileSelector.h"
#include "sys/SimpleMessageBox.h"
#include "sys/UserMessage.h"

#include <string>

namespace mppi {

void PresetLoadBankListener::action(int kind, int) {
    if (kind != action_pressed || selector_ == nullptr || bank_ == nullptr) {
        return;
    }
    selector_->set_title("Load preset bank");
    if (selector_->open() != 0) {
        return;
    }
    const int code = load_bank_file(selector_->path, *bank_, true);
    if (code != bank_ok) {
        sys::tell_user(selector_->path + ": " + bank_error_text(code));
        sys::SimpleMessageBox().show("Error",
                                     "Can't load bank file\n" + selector_->path + "\n\nCode " +
                                         std::to_string(code),
                                     0, 0, sys::MessageBoxIcon::error);
    }
}

} // namespace mppi

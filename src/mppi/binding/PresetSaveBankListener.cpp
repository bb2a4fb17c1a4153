#include "mppi/binding/PresetSaveBankListener.h"

#include "mppi/preset/BankFile.h"
#include "sys/FileSelector.h"
#include "sys/SimpleMessageBox.h"
#include "sys/UserMessage.h"

#include <cerrno>
#include <fstream>
#include <string>

namespace mppi {

void PresetSaveBankListener::action(int kind, int) {
    if (kind != action_pressed || selector_ == nullptr || bank_ == nullptr) {
        return;
    }
    selector_->set_title("Save preset bank");
    if (selector_->save() != 0) {
        return;
    }
    const std::string& path = selector_->path;
    sys::SimpleMessageBox box;
    // Buttons OK and Cancel, Cancel the default: only an explicit OK overwrites.
    if (std::ifstream(path, std::ios::binary).is_open() &&
        box.show("Conflict", path + "\nalready exists. Overwrite ?", 1, 1) != 0) {
        return;
    }
    errno = 0;
    const int code = save_bank_file(path, *bank_);
    if (code != bank_ok) {
        // The system's reason for a write that fell short (a full disk).
        const int error = errno;
        const bool short_write = code == bank_err_write_header || code == bank_err_write_payload;
        sys::tell_user(path + ": " + bank_error_text(code) +
                       (short_write && error != 0 ? "; " + sys::write_failure(error) : ""));
        box.show("Error", "Can't save bank file\n" + path + "\n\nCode " + std::to_string(code), 0,
                 0, sys::MessageBoxIcon::error);
    }
}

} // namespace mppi

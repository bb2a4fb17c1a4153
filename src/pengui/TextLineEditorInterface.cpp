#include "pengui/TextLineEditorInterface.h"

#include "pengui/WindowInterface.h"

namespace pengui {

int TextLineEditorInterface::end(bool accepted) {
    if (!active_ || ending_) {
        return -1;
    }
    ending_ = true;
    accepted_ = accepted;
    const int result = stop();
    ending_ = false;
    if (window_ != nullptr) {
        window_->finish_text_input();
    }
    return result;
}

} // namespace pengui

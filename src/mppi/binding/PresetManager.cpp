#include "mppi/binding/PresetManager.h"

#include "mppi/DspInterface.h"
#include "mppi/GuiInterface.h"
#include "mppi/preset/BankFile.h"
#include "pengui/ControlInterface.h"
#include "pengui/TextBox.h"
#include "sys/Resource.h"

#include <algorithm>

namespace mppi {

PresetManager::PresetManager() {
    file_selector_.set_filters({{"Vantrel plug-in preset bank (*.pbk)", "*.pbk"}});
    file_selector_.set_selected_filter_index(0);
}

PresetManager::~PresetManager() {
    stop();
}

int PresetManager::init(GuiInterface* gui, ProgStLdInterface* interpolator,
                        const std::array<pengui::ControlInterface*, nbr_programs>& program_buttons,
                        pengui::ControlInterface* store_switch,
                        pengui::ControlInterface* load_button,
                        pengui::ControlInterface* save_button, pengui::ControlInterface* time_knob,
                        pengui::TextBox* time_box, const char* resource_name) {
    if (initialised_) {
        return 0;
    }
    DspInterface* dsp = gui != nullptr ? gui->get_dsp() : nullptr;
    HostGuiInterface* host = gui != nullptr ? gui->get_host() : nullptr;
    const bool controls_given =
        std::all_of(program_buttons.begin(), program_buttons.end(),
                    [](const pengui::ControlInterface* c) { return c != nullptr; }) &&
        store_switch != nullptr && load_button != nullptr && save_button != nullptr &&
        time_knob != nullptr && time_box != nullptr;
    if (dsp == nullptr || host == nullptr || !controls_given) {
        return -1;
    }
    gui_ = gui;
    interpolator_ = interpolator != nullptr ? interpolator : &default_interpolator_;

    bank_.set_nbr_progs(nbr_programs);
    for (int i = 0; i < nbr_programs; ++i) {
        ProgramSlot slot;
        slot.set_prog_name(dsp->get_prog_name());
        dsp->store_prog(slot);
        bank_.set_prog(i, slot);
        numbers_[static_cast<unsigned>(i)].set_index(i);
    }
    interpolator_->set_targets(bank_, *host, *dsp);

    store_switch->set_listener(&mem_);
    time_box->set_listener(&time_display_);
    time_knob->set_listener(&time_fader_);
    load_button->set_listener(&load_bank_);
    save_button->set_listener(&save_bank_);
    for (int i = 0; i < nbr_programs; ++i) {
        program_buttons[static_cast<unsigned>(i)]->set_listener(
            &numbers_[static_cast<unsigned>(i)]);
    }
    load_bank_.set_bank_file(file_selector_, bank_);
    save_bank_.set_bank_file(file_selector_, bank_);
    refs_.enter(interpolator_);
    refs_.enter(&load_bank_);
    refs_.enter(&save_bank_);
    refs_.enter(&mem_);
    for (int i = 0; i < nbr_programs; ++i) {
        refs_.enter(i, &numbers_[static_cast<unsigned>(i)]);
    }
    refs_.enter(&time_display_);
    refs_.enter(&time_fader_);

    time_display_.show_time(time_fader_.morph_time());
    initialised_ = true;
    return resource_name != nullptr ? load_default_bank(resource_name) : 0;
}

int PresetManager::load_default_bank(const char* resource_name) {
    std::size_t size = 0;
    const void* data = sys::get_ressource("VNPB", resource_name, &size);
    if (data == nullptr) {
        return -1;
    }
    BankManager defaults;
    const int code = load_bank_memory(data, size, defaults, false);
    if (code != bank_ok) {
        return code;
    }
    const int count = std::min(defaults.get_nbr_progs(), nbr_programs);
    for (int i = 0; i < count; ++i) {
        bank_.set_prog(i, defaults.use_prog(i));
    }
    return bank_ok;
}

void PresetManager::stop() {
    if (!initialised_) {
        return;
    }
    for (PresetNumberListener& number : numbers_) {
        number.stop_timer();
    }
}

} // namespace mppi

#include "editor/GuiMisc.h"

#include "editor/FlagListener.h"
#include "editor/SkinControls.h"
#include "editor/ZentrovaGui.h"
#include "mppi/DspInterface.h"
#include "mppi/HostDspInterface.h"
#include "mppi/PropertyKeys.h"
#include "mppi/binding/MetaControl.h"

#include <cmath>
#include <string>

namespace editor {

namespace {
using layout::ControlId;

constexpr int tempo_index = 1;
constexpr int pre_delay_index = 2;
constexpr int fdbk_separation_index = 3;
constexpr int fdbk_separation_lfo = 4;

// One and five BPM of the 60-240 range.
constexpr double tempo_slow_step = 1.0 / 180;
constexpr double tempo_fast_step = 1.0 / 36;

constexpr double program_animation = 1.0;
constexpr double bank_button_animation = 0.2;
constexpr double store_mode_animation = 0.05;
constexpr int program_frames = 12;
constexpr int button_pictures = 5;

// The picture of program-button frame f of 11: the light comes up fast and
// stays, floor(4 * 4x / (3x + 1) + 0.5) with x = f / 11.
int program_picture(int frame) {
    const double x = frame / double(program_frames - 1);
    return static_cast<int>(std::floor(4 * 4 * x / (3 * x + 1) + 0.5));
}

bool bit_set(int bits, int bit) {
    return (bits & (1 << bit)) != 0;
}
} // namespace

void GuiMisc::init() {
    tempo_spin_listener_.set_box(&tempo_box_);
    tempo_spin_listener_.set_gui(gui_);
    tempo_box_listener_.set_spin(&tempo_spin_, &tempo_spin_listener_);
    time_unit_listener_.set_gui(gui_);
    interpolator_.set_gui(gui_);
    std::array<pengui::ControlInterface*, nbr_programs> buttons{};
    for (std::size_t j = 0; j < buttons.size(); ++j) {
        buttons[j] = &program_buttons_[j];
    }
    // Without the default bank the memories keep the current program.
    presets_.init(gui_, &interpolator_, buttons, &store_mode_, &load_bank_, &save_bank_,
                  &morph_knob_, &morph_box_, "default_preset_bank");
    pre_delay_panel_.init(this, pre_delay_index, -1);
    fdbk_separation_panel_.init(this, fdbk_separation_index, fdbk_separation_lfo);
    sustain_loop_listener_.set_gui(gui_);
    delay2_listener_.set_gui(gui_);
}

void GuiMisc::build() {
    mppi::DspInterface* dsp = gui_->get_dsp();
    host_tempo_ = dsp != nullptr && dsp->get_host() != nullptr &&
                  dsp->get_host()->get_num_property(mppi::property::can_tempo) != 0.0;
    build_tempo();
    build_presets();

    const layout::Control& pre_delay = layout::control(ControlId::pre_delay_level);
    gui_->bind_knob(pre_delay_, pre_delay_listener_, pre_delay_index, pre_delay.style);
    skin::place(pre_delay_section_, pre_delay_, pre_delay, *gui_);
    const layout::Control& sustain = layout::control(ControlId::sustain_loop);
    skin::make_flip_flop(sustain_loop_, sustain.style, *gui_);
    sustain_loop_.set_listener(&sustain_loop_listener_);
    skin::place(pre_delay_section_, sustain_loop_, sustain, *gui_);

    const layout::Control& delay2 = layout::control(ControlId::delay_2);
    skin::make_flip_flop(delay2_, delay2.style, *gui_);
    delay2_.set_listener(&delay2_listener_);
    skin::place(global_switch_section_, delay2_, delay2, *gui_);

    const layout::Control& separation = layout::control(ControlId::fdbk_separation);
    gui_->bind_knob(fdbk_separation_, fdbk_separation_listener_, fdbk_separation_index,
                    separation.style);
    skin::place(fdbk_separation_section_, fdbk_separation_, separation, *gui_);

    pre_delay_panel_.build(&pre_delay_listener_);
    fdbk_separation_panel_.build(&fdbk_separation_listener_);
}

void GuiMisc::build_tempo() {
    const layout::Control& spin = layout::control(ControlId::tempo_spin);
    tempo_spin_.set_picture(pengui::Spin::up_normal, gui_->picture("sp_02_up_0"));
    tempo_spin_.set_picture(pengui::Spin::up_pressed, gui_->picture("sp_02_up_1"));
    tempo_spin_.set_picture(pengui::Spin::handle_normal, gui_->picture("sp_02_hnd_0"));
    tempo_spin_.set_picture(pengui::Spin::handle_pressed, gui_->picture("sp_02_hnd_1"));
    tempo_spin_.set_picture(pengui::Spin::down_normal, gui_->picture("sp_02_dwn_0"));
    tempo_spin_.set_picture(pengui::Spin::down_pressed, gui_->picture("sp_02_dwn_1"));
    tempo_spin_.set_handle_on_top(false);
    tempo_spin_.set_steps(tempo_slow_step, tempo_fast_step);
    gui_->bind_control(tempo_spin_, tempo_spin_listener_, tempo_index);

    const layout::Control& box = layout::control(ControlId::tempo_box);
    skin::make_text_box(tempo_box_, box, true, *gui_);
    tempo_box_.set_text("1234567");
    tempo_box_.set_listener(&tempo_box_listener_);

    const layout::Control& unit = layout::control(ControlId::time_unit);
    skin::make_flip_flop(time_unit_, unit.style, *gui_);
    time_unit_.set_listener(&time_unit_listener_);

    if (!host_tempo_) {
        skin::place(tempo_section_, tempo_spin_, spin, *gui_);
    }
    skin::place(tempo_section_, time_unit_, unit, *gui_);
    skin::place(tempo_section_, tempo_box_, box, *gui_);
    if (host_tempo_) {
        tempo_box_.disable();
    }
}

void GuiMisc::build_presets() {
    for (int j = 0; j < nbr_programs; ++j) {
        pengui::PushButton& button = program_buttons_[std::size_t(j)];
        const std::string base = "pb_" + std::to_string(11 + j) + "_";
        button.set_frame_count(program_frames);
        for (int f = 0; f < program_frames; ++f) {
            button.set_frame(f, gui_->picture(base + std::to_string(program_picture(f))));
        }
        button.set_duration(program_animation);
        skin::place(preset_section_, button,
                    layout::control(ControlId(int(ControlId::program_1) + j)), *gui_);
    }
    const auto bank_button = [&](pengui::PushButton& button, const char* base, ControlId id) {
        button.set_frame_count(button_pictures);
        for (int f = 0; f < button_pictures; ++f) {
            button.set_frame(f, gui_->picture(base + std::to_string(f)));
        }
        button.set_duration(bank_button_animation);
        skin::place(preset_section_, button, layout::control(id), *gui_);
    };
    bank_button(load_bank_, "pb_19_", ControlId::load_bank);
    bank_button(save_bank_, "pb_20_", ControlId::save_bank);

    const layout::Control& store = layout::control(ControlId::store_mode);
    skin::make_flip_flop(store_mode_, store.style, *gui_);
    store_mode_.set_duration(store_mode_animation);
    skin::place(preset_section_, store_mode_, store, *gui_);

    const layout::Control& knob = layout::control(ControlId::morph_knob);
    skin::make_knob(morph_knob_, knob.style, *gui_);
    skin::place(preset_section_, morph_knob_, knob, *gui_);
    const layout::Control& box = layout::control(ControlId::morph_box);
    skin::make_text_box(morph_box_, box, true, *gui_);
    skin::place(preset_section_, morph_box_, box, *gui_);
}

void GuiMisc::stop() {
    presets_.stop();
}

void GuiMisc::show_flags(int bits, int priority) {
    time_unit_.set_value_from_outside(bit_set(bits, FlagListener::bit_beats) ? 1 : 0, priority);
    sustain_loop_.set_value_from_outside(bit_set(bits, FlagListener::bit_sustain) ? 1 : 0,
                                         priority);
    delay2_.set_value_from_outside(bit_set(bits, FlagListener::bit_delay2) ? 1 : 0, priority);
}

void GuiMisc::time_unit_changed(const mppi::TimeUnit& unit) {
    pre_delay_panel_.time_unit_changed(unit);
    fdbk_separation_panel_.time_unit_changed(unit);
}

} // namespace editor

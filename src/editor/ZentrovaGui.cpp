#include "editor/ZentrovaGui.h"

#include "editor/SkinControls.h"
#include "editor/SkinPictures.h"
#include "mppi/DspInterface.h"
#include "mppi/NormalizedParamInterface.h"
#include "mppi/PluginInternal.h"
#include "mppi/PropertyKeys.h"
#include "pengui/FontFactory.h"
#include "pengui/Knob.h"
#include "pengui/Messages.h"
#include "pengui/PicDataFactory.h"

#include <stdexcept>
#include <unordered_map>

namespace editor {

namespace {
using layout::SectionId;

constexpr int flags_index = 0;
constexpr int tempo_index = 1;
// The fourth band and the fifth row belong to the second delay line.
constexpr int delay2_band = 3;
constexpr int delay2_row = 4;
constexpr int rows_with_delay2 = 5;

const layout::Rect& window_of(SectionId id) {
    return layout::sections[std::size_t(id)].window;
}

// Picture name to picture index, the same for every editor.
const std::unordered_map<std::string, int>& picture_indices() {
    static const std::unordered_map<std::string, int> map = [] {
        std::unordered_map<std::string, int> m;
        for (std::size_t i = 0; i < layout::skin_pictures.size(); ++i) {
            m.emplace(layout::skin_pictures[i].name, int(i));
        }
        return m;
    }();
    return map;
}
} // namespace

ZentrovaGui::ZentrovaGui() = default;

ZentrovaGui::~ZentrovaGui() {
    // A morph ends while its window still takes the timer's end; then the
    // trees and the window let go of each other, whichever goes first.
    stop();
    control_root_.set_parent(nullptr);
    background_root_.set_parent(nullptr);
    if (window_ != nullptr) {
        window_->set_control_root(nullptr);
        window_->set_background_root(nullptr);
    }
}

void ZentrovaGui::load_resources() {
    if (host_ != nullptr) {
        host_->init_notice();
    }
    scale_ = window_ != nullptr ? window_->scale() : pengui::Scale();
    try {
        load_pictures();
    } catch (const std::exception&) {
        throw std::runtime_error("Load resources");
    }
}

void ZentrovaGui::load_pictures() {
    picture_data_.clear();
    pictures_.clear();
    fonts_.clear();
    picture_data_.reserve(nbr_pictures);
    pictures_.reserve(nbr_pictures);
    for (const layout::SkinPicture& p : layout::skin_pictures) {
        std::unique_ptr<pengui::PicDataInterface> data =
            pengui::PicDataFactory::instance().create(std::string(p.name) + scale_.suffix());
        if (data == nullptr) {
            throw std::runtime_error(p.name);
        }
        // The skin drew each picture to fill exactly its box at the scale.
        const pengui::Rect box = skin::device_box(p, scale_);
        if (data->width() != box.x1 - box.x0 || data->height() != box.y1 - box.y0) {
            throw std::runtime_error(p.name);
        }
        pengui::Picture picture;
        picture.set_data(data.get());
        picture.set_anchor(-box.x0, -box.y0);
        picture_data_.push_back(std::move(data));
        pictures_.push_back(picture);
    }
    fonts_.reserve(nbr_fonts);
    for (const layout::SkinFont& f : layout::skin_fonts) {
        std::unique_ptr<pengui::FontInterface> font =
            pengui::FontFactory::instance().create(std::string(f.name) + scale_.suffix());
        if (font == nullptr) {
            throw std::runtime_error(f.name);
        }
        fonts_.push_back(std::move(font));
    }
}

pengui::Picture ZentrovaGui::picture(const std::string& name) const {
    const auto& indices = picture_indices();
    const auto it = indices.find(name);
    if (it == indices.end() || std::size_t(it->second) >= pictures_.size()) {
        return {};
    }
    return pictures_[std::size_t(it->second)];
}

pengui::Picture ZentrovaGui::picture(const std::string& name, int anchor_x, int anchor_y) const {
    pengui::Picture p = picture(name);
    p.set_anchor(-scale_.device(-anchor_x), -scale_.device(-anchor_y));
    return p;
}

pengui::Rect ZentrovaGui::device(const layout::Rect& area) const {
    return skin::device(area, scale_);
}

int ZentrovaGui::section_width(SectionId id) const {
    const pengui::Rect r = device(window_of(id));
    return r.x1 - r.x0;
}

int ZentrovaGui::section_height(SectionId id) const {
    const pengui::Rect r = device(window_of(id));
    return r.y1 - r.y0;
}

const pengui::FontInterface* ZentrovaGui::font(int index) const {
    return index >= 0 && index < font_count() ? fonts_[std::size_t(index)].get() : nullptr;
}

void ZentrovaGui::set_host(mppi::HostGuiInterface* host) {
    if (host != host_.get()) {
        host_.reset(host);
    }
}

void ZentrovaGui::set_dsp(mppi::DspInterface* dsp) {
    dsp_ = dsp;
    nbr_params_ = dsp != nullptr ? dsp->get_nbr_param() : 0;
}

void ZentrovaGui::set_window(pengui::WindowInterface* window) {
    if (window != window_.get()) {
        window_.reset(window);
    }
}

void ZentrovaGui::get_size(int& width, int& height) {
    width = scale_.device(layout::window_width);
    height = scale_.device(layout::window_height);
}

void ZentrovaGui::get_view_size(int& width, int& height) {
    get_size(width, height);
}

mppi::NormalizedParamInterface* ZentrovaGui::param(int index) const {
    return dsp_ != nullptr && index >= 0 && index < nbr_params_ ? dsp_->get_param(index) : nullptr;
}

void ZentrovaGui::bind_control(pengui::ControlInterface& control, mppi::ListenerBase& listener,
                               int index) {
    listener.set_host(host_.get());
    listener.bind(index, param(index));
    if (index >= 0 && index < meta_count()) {
        meta(index).bind(&control, &listener);
    } else {
        control.set_listener(&listener);
    }
}

void ZentrovaGui::bind_knob(pengui::Knob& knob, mppi::ListenerBase& listener, int index,
                            layout::Style style) {
    skin::make_knob(knob, style, *this);
    bind_control(knob, listener, index);
}

void ZentrovaGui::build() {
    if (built_) {
        return;
    }
    try {
        build_scene();
    } catch (const std::exception&) {
        throw std::runtime_error("Build GUI");
    }
    built_ = true;
}

void ZentrovaGui::build_scene() {
    if (dsp_ == nullptr || pictures_.size() != std::size_t(nbr_pictures)) {
        throw std::runtime_error("no DSP or no skin");
    }
    metas_ = std::vector<mppi::MetaControl>(std::size_t(nbr_params_));

    flag_listener_.set_gui(this);
    bind_control(flag_control_, flag_listener_, flags_index);

    const layout::Control& label = layout::control(layout::ControlId::label);
    skin::make_text_box(label_, label, false, *this);
    label_.set_text(ZentrovaGui::label);
    skin::place(logo_section_, label_, label, *this);
    web_site_.set_listener(&web_site_listener_);
    skin::place(logo_section_, web_site_, layout::control(layout::ControlId::web_site), *this);

    misc_.set_gui(this);
    misc_.init();
    gui_param_.set_gui(this);
    for (std::size_t n = 0; n < taps_.size(); ++n) {
        taps_[n].set_gui(this);
        taps_[n].init(int(n));
    }
    for (std::size_t d = 0; d < lines_.size(); ++d) {
        lines_[d].set_gui(this);
        lines_[d].init(int(d));
    }
    misc_.build();
    for (GuiTapUnit& t : taps_) {
        t.build();
    }
    for (GuiDelayLine& l : lines_) {
        l.build();
    }
    build_trees();
    apply_delay2(flag_listener_.delay2_state() == 2);
    time_unit_changed();
}

int ZentrovaGui::band_height(std::size_t band) const {
    const layout::Band& b = layout::bands[band];
    return scale_.device(b.y0 + b.height) - scale_.device(b.y0);
}

void ZentrovaGui::build_trees() {
    for (std::size_t b = 0; b < bands_.size(); ++b) {
        bands_[b].set_picture(picture(layout::bands[b].picture));
    }
    for (std::size_t b = 0; b < std::size_t(delay2_band); ++b) {
        background_root_.add_child(&bands_[b], band_height(b));
    }
    background_root_.add_child(&bands_[delay2_band + 1], band_height(delay2_band + 1));

    const auto width = [this](SectionId id) { return section_width(id); };
    top_row_.add_child(&logo_section_, width(SectionId::logo));
    top_row_.add_child(&misc_.tempo_section(), width(SectionId::tempo));
    top_row_.add_child(&misc_.preset_section(), width(SectionId::preset));
    taps_row_.add_child(&misc_.pre_delay_section(), width(SectionId::pre_delay));
    for (std::size_t n = 0; n < taps_.size(); ++n) {
        taps_row_.add_child(&taps_[n].section(), width(SectionId(int(SectionId::tap_1) + int(n))));
    }
    inner_row_.add_child(&misc_.global_switch_section(), width(SectionId::global_switch));
    inner_row_.add_child(&gui_param_.empty_value(), width(SectionId::detail_value));
    middle_row_.add_child(&inner_row_,
                          width(SectionId::global_switch) + width(SectionId::detail_value));
    middle_row_.add_child(&gui_param_.empty_lfo(), width(SectionId::detail_lfo));
    middle_row_.add_child(&misc_.fdbk_separation_section(), width(SectionId::fdbk_separation));
    gui_param_.set_rows(&middle_row_, &inner_row_);

    control_root_.add_child(&top_row_, section_height(SectionId::logo));
    control_root_.add_child(&taps_row_, section_height(SectionId::pre_delay));
    control_root_.add_child(&lines_[0].section(), section_height(SectionId::delay_1));
    control_root_.add_child(&middle_row_, section_height(SectionId::global_switch));
    control_root_.set_position(0, 0);
    background_root_.set_position(0, 0);

    if (window_ != nullptr) {
        int width = 0;
        int height = 0;
        get_size(width, height);
        window_->set_background_root(&background_root_);
        window_->set_control_root(&control_root_);
        window_->set_content_size(width, height);
        window_->set_window_size(width, height);
        // The popup line editor writes as the value boxes do.
        window_->set_text_font(font(0));
    }
}

void ZentrovaGui::apply_delay2(bool on) {
    if (background_root_.child_count() <= delay2_band) {
        return; // before the scene exists
    }
    int width = 0;
    int height = 0;
    get_view_size(width, height);
    if (host_ != nullptr && host_->resize_window(width, height) != 0) {
        return;
    }
    const std::size_t band = on ? delay2_band : delay2_band + 1;
    background_root_.replace_child(&bands_[band], band_height(band), delay2_band);
    if (on && control_root_.child_count() < rows_with_delay2) {
        control_root_.add_child(&lines_[1].section(), section_height(SectionId::delay_2));
    } else if (!on && control_root_.child_count() == rows_with_delay2) {
        control_root_.remove_child(delay2_row);
    }
    invalidate(window_of(SectionId::delay_2));
}

void ZentrovaGui::time_unit_changed() {
    mppi::TimeUnit* unit = nullptr;
    if (auto* internal = dynamic_cast<mppi::PluginInternal*>(dsp_)) {
        unit = &internal->get_time_unit();
    }
    if (unit == nullptr) {
        return;
    }
    misc_.time_unit_changed(*unit);
    for (GuiTapUnit& t : taps_) {
        t.time_unit_changed(*unit);
    }
    for (GuiDelayLine& l : lines_) {
        l.time_unit_changed(*unit);
    }
}

void ZentrovaGui::clear_focus_except(const pengui::ControlInterface* control) {
    for (mppi::MetaControl& m : metas_) {
        pengui::ControlInterface* c = m.control();
        if (c != nullptr && c != control && c->focused() && dynamic_cast<pengui::Knob*>(c)) {
            c->clear_focus();
        }
    }
}

void ZentrovaGui::invalidate(const layout::Rect& area) {
    if (window_ != nullptr) {
        window_->handle(pengui::Invalidate(device(area)));
    }
}

void ZentrovaGui::stop() {
    misc_.stop();
}

void ZentrovaGui::open(void* parent) {
    open_result_ = -1;
    if (window_ == nullptr) {
        return;
    }
    if (host_ != nullptr) {
        window_->set_fit_window_to_content(
            host_->get_num_property(mppi::property::can_resize_window) != 0.0);
    }
    for (mppi::MetaControl& m : metas_) {
        m.refresh();
    }
    open_result_ = window_->open(parent);
}

void ZentrovaGui::close() {
    if (window_ == nullptr) {
        return;
    }
    const pengui::ShowObject hide(false);
    if (window_->background_root() != nullptr) {
        window_->background_root()->handle(hide);
    }
    if (window_->control_root() != nullptr) {
        window_->control_root()->handle(hide);
    }
    window_->close();
}

void ZentrovaGui::param_changed(int index, float normalized, int priority) {
    if (index >= 0 && index < meta_count()) {
        meta(index).show_value(normalized, priority);
    }
}

void ZentrovaGui::tempo_changed() {
    if (tempo_index < meta_count()) {
        meta(tempo_index).refresh();
    }
}

} // namespace editor

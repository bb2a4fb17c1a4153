#pragma once

#include "editor/EditorLayout.h"
#include "editor/FlagListener.h"
#include "editor/GuiDelayLine.h"
#include "editor/GuiMisc.h"
#include "editor/GuiParam.h"
#include "editor/GuiTapUnit.h"
#include "editor/WebSiteListener.h"
#include "mppi/GuiInterface.h"
#include "mppi/HostGuiInterface.h"
#include "mppi/binding/MetaControl.h"
#include "pengui/BackgroundItem.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/FontInterface.h"
#include "pengui/PicDataInterface.h"
#include "pengui/Picture.h"
#include "pengui/PushButton.h"
#include "pengui/SPTreeSplit.h"
#include "pengui/TextBox.h"
#include "pengui/WindowInterface.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace mppi {
class NormalizedParamInterface;
}

namespace editor {

// The effect's editor: loads the skin (101 pictures, 2 fonts) from the
// module's resources, builds a fixed 500 x 422 scene of four or five rows
// whose controls are bound to the plug-in's parameters, and shows the second
// delay line's row while the flags' bit 5 is set. It draws at its window's
// scale (1, 1.5 or 2): the skin drawn for that scale, the layout's logical
// pixels turned into the window's device pixels; sizes it reports are device
// pixels.
//
// Everything runs on the editor thread.
class ZentrovaGui : public mppi::GuiInterface {
public:
    static constexpr int nbr_pictures = 101;
    static constexpr int nbr_fonts = 2;
    // The fixed label over the logo, 12 characters.
    static constexpr const char* label = "Quevrin 1.03";

    ZentrovaGui();
    ~ZentrovaGui() override;
    ZentrovaGui(const ZentrovaGui&) = delete;
    ZentrovaGui& operator=(const ZentrovaGui&) = delete;

    // [editor thread] Takes the window's scale and loads the skin drawn for
    // it; throws "Load resources" when a picture or font is missing or refused.
    void load_resources() override;
    // [editor thread] Once; throws "Build GUI" on failure.
    void build() override;
    void stop() override;
    mppi::HostGuiInterface* get_host() override { return host_.get(); }
    using mppi::GuiInterface::set_host;
    void set_host(mppi::HostGuiInterface* host) override;
    mppi::DspInterface* get_dsp() override { return dsp_; }
    void set_dsp(mppi::DspInterface* dsp) override;
    // [editor thread] Takes ownership of the window.
    void set_window(pengui::WindowInterface* window) override;
    pengui::WindowInterface* get_window() override { return window_.get(); }
    void get_size(int& width, int& height) override;
    void get_view_size(int& width, int& height) override;
    // [editor thread] Refreshes every control, then opens the window in the
    // parent; open_result tells how that went.
    void open(void* parent) override;
    void close() override;
    void param_changed(int index, float normalized, int priority) override;
    void reserved(int, int) override {}
    void tempo_changed() override;
    // [editor thread] The window's open result of the last open: 0, or -1
    // (no window, or the window system refused).
    int open_result() const { return open_result_; }

    // [editor thread] The scale the skin was loaded at (1 before loading).
    pengui::Scale scale() const { return scale_; }
    // [editor thread] A rectangle of the layout in the window's device pixels.
    pengui::Rect device(const layout::Rect& area) const;
    // [editor thread] The loaded skin. A name not in the skin gives an empty
    // picture; the second form puts another point of it (logical pixels from
    // its top-left) at the owner's origin.
    pengui::Picture picture(const std::string& name) const;
    pengui::Picture picture(const std::string& name, int anchor_x, int anchor_y) const;
    int picture_count() const { return static_cast<int>(pictures_.size()); }
    // [editor thread] Null before loading.
    const pengui::FontInterface* font(int index) const;
    int font_count() const { return static_cast<int>(fonts_.size()); }

    // [editor thread] Parameter index's hub; index must be below meta_count.
    mppi::MetaControl& meta(int index) { return metas_[static_cast<std::size_t>(index)]; }
    int meta_count() const { return static_cast<int>(metas_.size()); }
    // [editor thread] Null without a DSP or for an index out of range.
    mppi::NormalizedParamInterface* param(int index) const;
    // [editor thread] Binds a control to parameter index through its
    // MetaControl and the listener; a knob is dressed in its style first.
    void bind_control(pengui::ControlInterface& control, mppi::ListenerBase& listener, int index);
    void bind_knob(pengui::Knob& knob, mppi::ListenerBase& listener, int index,
                   layout::Style style);

    GuiParam& gui_param() { return gui_param_; }
    GuiMisc& misc() { return misc_; }
    FlagListener& flags() { return flag_listener_; }
    // [editor thread] Every bound knob but this control loses the focus.
    void clear_focus_except(const pengui::ControlInterface* control);
    // [editor thread] Shows or hides the second line's row (when the host
    // resizes the window) and has that band redrawn.
    void apply_delay2(bool on);
    // [editor thread] Every part hears of the display unit and tempo.
    void time_unit_changed();
    // [editor thread] Has the window redraw that area of the layout (once open).
    void invalidate(const layout::Rect& area);
    // [editor thread] A section's extent across (width) or down (height) in
    // device pixels; neighbouring sections' extents add up without a gap.
    int section_width(layout::SectionId id) const;
    int section_height(layout::SectionId id) const;
    // [editor thread] Set while a linked control moves its partner.
    bool linking() const { return linking_; }
    void set_linking(bool linking) { linking_ = linking; }

    // [editor thread] The trees, for the window and for inspection.
    const pengui::CtrlGroupSplit& control_root() const { return control_root_; }
    const pengui::BackgroundSplit& background_root() const { return background_root_; }
    bool built() const { return built_; }

private:
    void load_pictures();
    // The device height of background band `band` (layout::bands).
    int band_height(std::size_t band) const;
    void build_scene();
    void build_trees();

    std::array<GuiTapUnit, 4> taps_;
    std::array<GuiDelayLine, 2> lines_;
    GuiMisc misc_;
    GuiParam gui_param_;
    std::unique_ptr<mppi::HostGuiInterface> host_;
    mppi::DspInterface* dsp_ = nullptr;
    std::unique_ptr<pengui::WindowInterface> window_;
    std::vector<std::unique_ptr<pengui::PicDataInterface>> picture_data_;
    std::vector<pengui::Picture> pictures_;
    std::vector<std::unique_ptr<pengui::FontInterface>> fonts_;
    pengui::CtrlGroupSplit control_root_{pengui::SPTreeSplit::column};
    pengui::CtrlGroupSplit top_row_{pengui::SPTreeSplit::row};
    pengui::CtrlGroupSplit taps_row_{pengui::SPTreeSplit::row};
    pengui::CtrlGroupSplit middle_row_{pengui::SPTreeSplit::row};
    pengui::CtrlGroupSplit inner_row_{pengui::SPTreeSplit::row};
    pengui::BackgroundSplit background_root_{pengui::SPTreeSplit::column};
    std::array<pengui::BackgroundItem, 5> bands_;
    pengui::ControlInterface flag_control_;
    FlagListener flag_listener_;
    std::vector<mppi::MetaControl> metas_;
    pengui::PushButton web_site_;
    WebSiteListener web_site_listener_;
    pengui::TextBox label_;
    pengui::CtrlGroupItem logo_section_;
    int nbr_params_ = 0;
    pengui::Scale scale_;
    bool built_ = false;
    bool linking_ = false;
    int open_result_ = -1;
};

} // namespace editor

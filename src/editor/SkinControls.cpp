#include "editor/SkinControls.h"

#include "editor/ZentrovaGui.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/FlipFlop.h"
#include "pengui/Knob.h"
#include "pengui/TextBox.h"

namespace editor::skin {

namespace {

struct KnobPictures {
    const char* face;
    const char* pointer;
    const char* focus; // null: none
    const char* drag;
    float pointer_radius;
};

KnobPictures knob_pictures(layout::Style style) {
    switch (style) {
    case layout::Style::knob_small:
        return {"kn_05", "kn_05_spn", nullptr, "arw_05", 0};
    case layout::Style::knob_small_focus:
        return {"kn_05", "kn_05_spn", "kn_05_s", "arw_05", 0};
    case layout::Style::knob_large:
        return {"kn_07", "kn_07_spn", "kn_07_s", "arw_07", 0};
    case layout::Style::knob_morph:
        return {"kn_08", "kn_08_spn", nullptr, "arw_06", 8};
    default:
        return {"kn_06", "kn_06_spn", "kn_06_s", "arw_06", 0};
    }
}

} // namespace

void make_knob(pengui::Knob& knob, layout::Style style, const ZentrovaGui& gui) {
    const KnobPictures p = knob_pictures(style);
    knob.set_frame_count(1);
    knob.set_frame(0, gui.picture(p.face));
    knob.set_picture(pengui::Knob::pointer_picture, gui.picture(p.pointer));
    if (p.focus != nullptr) {
        knob.set_picture(pengui::Knob::focus_picture, gui.picture(p.focus));
    }
    knob.set_picture(pengui::Knob::drag_picture, gui.picture(p.drag));
    knob.set_fine_factor(0.03125f);
    // 256 logical pixels of vertical drag cover the whole scale.
    knob.set_drag_range(256);
    knob.set_angles(0.625f, -0.75f);
    knob.set_pointer_radius(p.pointer_radius * static_cast<float>(gui.scale().factor()));
    knob.set_spin_speed_factor(1.0f);
    knob.set_rotate_pointer(true);
    knob.set_rotate_frame(false);
}

void make_flip_flop(pengui::FlipFlop& flip_flop, layout::Style style, const ZentrovaGui& gui) {
    static const char* const ff_04[] = {"ff_04_0", "ff_04_1", "ff_04_2", "ff_04_3", "ff_04_4"};
    static const char* const ff_05[] = {"ff_05_0", "ff_05_1", "ff_05_2", "ff_05_3", "ff_05_4"};
    flip_flop.set_frame_count(5);
    for (int f = 0; f < 5; ++f) {
        const char* name = style == layout::Style::flip_flop_store      ? ff_05[f]
                           : style == layout::Style::flip_flop_reversed ? ff_04[4 - f]
                                                                        : ff_04[f];
        flip_flop.set_frame(f, gui.picture(name));
    }
}

void make_text_box(pengui::TextBox& box, const layout::Control& row, bool editable,
                   const ZentrovaGui& gui) {
    const pengui::Rect area = device_box(row, gui.scale());
    box.set_font(gui.font(row.text.font));
    box.set_text_anchor(-area.x0, -area.y0);
    box.set_editable(editable);
    box.set_box_size(area.x1 - area.x0, area.y1 - area.y0);
    box.set_alignment(row.text.align);
    box.set_colour(row.text.colour);
}

void place(pengui::CtrlGroupItem& section, pengui::ControlInterface& control,
           const layout::Control& row, const ZentrovaGui& gui, int copy) {
    const pengui::Scale scale = gui.scale();
    const pengui::Rect box = device_box(row, scale, copy);
    const layout::Point at = layout::window_position(row, copy);
    const layout::Rect& origin = layout::section_of(row, copy).window;
    control.set_scale(scale);
    control.set_box(box.x0, box.y0, box.x1, box.y1);
    // Window coordinates are scaled, not the offset in the section: the
    // control lands on the device pixel of its logical point.
    control.set_position_in_group(scale.device(at.x) - scale.device(origin.x0),
                                  scale.device(at.y) - scale.device(origin.y0));
    section.add_control(&control);
}

pengui::Rect device(const layout::Rect& r, pengui::Scale scale) {
    return scale.device(pengui::Rect{r.x0, r.y0, r.x1, r.y1});
}

pengui::Rect device_box(const layout::Control& row, pengui::Scale scale, int copy) {
    const layout::Point at = layout::window_position(row, copy);
    const pengui::Rect box = device(layout::window_box(row, copy), scale);
    const std::int32_t x = scale.device(at.x);
    const std::int32_t y = scale.device(at.y);
    return pengui::Rect{box.x0 - x, box.y0 - y, box.x1 - x, box.y1 - y};
}

pengui::Rect device_box(const layout::SkinPicture& picture, pengui::Scale scale) {
    return scale.device(pengui::Rect{-picture.anchor_x, -picture.anchor_y,
                                     picture.width - picture.anchor_x,
                                     picture.height - picture.anchor_y});
}

} // namespace editor::skin

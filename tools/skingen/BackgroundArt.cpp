#include "BackgroundArt.h"

#include "Canvas.h"
#include "Theme.h"
#include "editor/EditorLayout.h"

#include <cmath>

using namespace editor;

namespace skingen {

namespace {
using layout::ControlId;
using layout::Style;

// Knob faces by style: radius of the face drawn in the knob pictures.
double face_radius(Style s) {
    switch (s) {
    case Style::knob_small:
    case Style::knob_small_focus:
        return 7.7;
    case Style::knob_large:
        return 17.7;
    default:
        return 12.7;
    }
}

const char* label_of(ControlId id) {
    switch (id) {
    case ControlId::pre_delay_level:
    case ControlId::tap_level:
    case ControlId::line_level:
        return "LEVEL";
    case ControlId::tap_time:
    case ControlId::line_time:
        return "TIME";
    case ControlId::tap_pan:
    case ControlId::line_pan:
        return "PAN";
    case ControlId::line_fdbk:
        return "FDBK";
    case ControlId::filter_cutoff:
        return "CUTOFF";
    case ControlId::filter_reso:
        return "RESO";
    case ControlId::filter_q:
        return "Q";
    case ControlId::filter_type:
        return "TYPE";
    case ControlId::disto_level:
        return "DRIVE";
    case ControlId::disto_type:
        return "MODE";
    case ControlId::shelf_level:
        return "SHELF";
    case ControlId::shelf_cutoff:
        return "SH FREQ";
    case ControlId::sustain_loop:
        return "SUSTAIN";
    case ControlId::time_unit:
        return "SEC";
    case ControlId::store_mode:
        return "STORE";
    case ControlId::load_bank:
        return "LOAD";
    case ControlId::save_bank:
        return "SAVE";
    case ControlId::delay_2:
        return "LINE 2";
    case ControlId::lfo_period_knob:
        return "PER";
    case ControlId::lfo_depth_knob:
        return "DEPTH";
    case ControlId::fdbk_separation:
        return "SEPARATION";
    case ControlId::tempo_spin:
        return "BPM";
    case ControlId::morph_box:
        return "SEC";
    default:
        return nullptr;
    }
}

bool is_knob(Style s) {
    return s == Style::knob_small || s == Style::knob_small_focus || s == Style::knob_medium ||
           s == Style::knob_large || s == Style::knob_morph;
}

class WindowPainter {
public:
    WindowPainter(const FontFiles& fonts, bool line_2, pengui::Scale scale)
        : fonts_(fonts), line_2_(line_2), c_(layout::window_width, layout::window_height, scale) {}

    RgbaImage paint() {
        panels();
        logo();
        band(120, "DELAY 1");
        if (line_2_)
            band(300, "DELAY 2");
        else
            band_off(300);
        titles();
        for (const layout::Control& ctl : layout::controls)
            for (int n = 0; n < layout::copies(ctl); ++n)
                if (line_2_ || layout::section_of(ctl, n).id != layout::SectionId::delay_2) {
                    const layout::Point p = layout::window_position(ctl, n);
                    cairo_save(c_.cr());
                    c_.snap_origin(p.x, p.y);
                    decorate(ctl, n);
                    cairo_restore(c_.cr());
                }
        return c_.image();
    }

private:
    static bool on_band(const layout::Control& ctl, int n) {
        const layout::SectionId s = layout::section_of(ctl, n).id;
        return s == layout::SectionId::delay_1 || s == layout::SectionId::delay_2;
    }

    void label(double x, double y, const char* text, bool dark, Canvas::Align a = Canvas::centre) {
        c_.text(fonts_, FontFiles::condensed_bold, 7.0, x, y, a, text,
                dark ? theme::band_ink : theme::ink);
    }
    void title(double x, double y, const char* text, bool dark, Canvas::Align a = Canvas::centre) {
        c_.text(fonts_, FontFiles::sans_bold, 7.5, x, y, a, text, dark ? theme::accent : theme::ink,
                0.8);
    }

    // An engraved line: dark with a light edge below or right.
    void groove(double x0, double y0, double x1, double y1) {
        cairo_t* cr = c_.cr();
        cairo_set_line_width(cr, 1.0);
        const bool vertical = x0 == x1;
        cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
        cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
        c_.colour(theme::panel_line);
        cairo_stroke(cr);
        cairo_move_to(cr, x0 + (vertical ? 1.5 : 0.5), y0 + (vertical ? 0.5 : 1.5));
        cairo_line_to(cr, x1 + (vertical ? 1.5 : 0.5), y1 + (vertical ? 0.5 : 1.5));
        c_.colour(theme::panel_shine);
        cairo_stroke(cr);
    }

    // A recess a button or switch sits in.
    void recess(const layout::Rect& r, double grow, double radius, bool dark) {
        cairo_t* cr = c_.cr();
        c_.rounded_rect(r.x0 - grow, r.y0 - grow, r.width() + 2 * grow, r.height() + 2 * grow,
                        radius);
        c_.colour(dark ? 0x000000 : 0x6A6256, dark ? 0.45 : 0.35);
        cairo_fill(cr);
        c_.rounded_rect(r.x0 - grow + 0.5, r.y0 - grow + 0.5, r.width() + 2 * grow - 1,
                        r.height() + 2 * grow - 1, radius - 0.5);
        c_.colour(dark ? 0x000000 : 0xFFFFFF, dark ? 0.25 : 0.35);
        cairo_set_line_width(c_.cr(), 1.0);
        cairo_stroke(cr);
    }

    // A dark display window around a read-out.
    void display(double x0, double y0, double x1, double y1) {
        cairo_t* cr = c_.cr();
        c_.rounded_rect(x0 - 0.5, y0, x1 - x0 + 1, y1 - y0 + 1, 3);
        c_.colour(theme::panel_shine);
        cairo_fill(cr);
        c_.rounded_rect(x0, y0, x1 - x0, y1 - y0, 2.5);
        c_.colour(theme::display_edge);
        cairo_fill(cr);
        c_.rounded_rect(x0 + 1, y0 + 1.5, x1 - x0 - 2, y1 - y0 - 2.5, 1.8);
        c_.vertical_gradient(y0, y1, theme::display, 0x161B20);
        cairo_fill(cr);
    }

    // A light well around a dark read-out.
    void well(double x0, double y0, double x1, double y1) {
        cairo_t* cr = c_.cr();
        c_.rounded_rect(x0, y0, x1 - x0, y1 - y0, 2.5);
        c_.colour(theme::panel_line);
        cairo_fill(cr);
        c_.rounded_rect(x0 + 1, y0 + 1, x1 - x0 - 2, y1 - y0 - 2, 1.8);
        c_.colour(theme::well);
        cairo_fill(cr);
    }

    // The knob's travel: 270 degrees from lower left clockwise to lower right.
    void scale(double cx, double cy, Style s, bool dark) {
        cairo_t* cr = c_.cr();
        const double r = face_radius(s);
        const unsigned ink = dark ? theme::band_ink_soft : theme::ink_soft;
        for (int i = 0; i <= 10; ++i) {
            const double a = (225.0 - 27.0 * i) * pi / 180.0;
            const double ca = std::cos(a), sa = -std::sin(a);
            if (s == Style::knob_small || s == Style::knob_small_focus) {
                cairo_arc(cr, cx + ca * (r + 2.6), cy + sa * (r + 2.6),
                          (i == 0 || i == 10) ? 0.9 : 0.6, 0, 2 * pi);
                c_.colour(ink);
                cairo_fill(cr);
                continue;
            }
            const bool major = i == 0 || i == 5 || i == 10;
            const double r0 = r + 1.6, r1 = r + (major ? 4.6 : 3.4);
            cairo_move_to(cr, cx + ca * r0, cy + sa * r0);
            cairo_line_to(cr, cx + ca * r1, cy + sa * r1);
            cairo_set_line_width(cr, major ? 1.2 : 0.9);
            c_.colour(ink);
            cairo_stroke(cr);
        }
    }

    void panels() {
        cairo_t* cr = c_.cr();
        cairo_rectangle(cr, 0, 0, 500, 120);
        c_.vertical_gradient(0, 120, theme::panel_hi, theme::panel_lo);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, 242, 500, 58);
        c_.vertical_gradient(242, 300, 0xEEEAE1, 0xDED8CB);
        cairo_fill(cr);
        groove(0, 61, 499, 61);
        groove(119, 0, 119, 60);
        groove(265, 0, 265, 60);
        for (int x : {119, 214, 309, 404})
            groove(x, 64, x, 117);
        for (int x : {36, 407})
            groove(x, 244, x, 297);
        groove(164, 244, 164, 281); // clear of the LFO period knob's label
    }

    void logo() {
        cairo_t* cr = c_.cr();
        // echoes: three arcs fading to the right
        for (int i = 0; i < 3; ++i) {
            cairo_arc(cr, 10, 38, 5.0 + 4.0 * i, -pi / 3, pi / 3);
            c_.colour(theme::accent, 1.0 - 0.28 * i);
            cairo_set_line_width(cr, 2.0);
            cairo_stroke(cr);
        }
        c_.text(fonts_, FontFiles::sans_bold, 19.0, 28, 44, Canvas::left, "Quevrin", theme::ink);
        c_.text(fonts_, FontFiles::sans_bold, 7.0, 30, 55, Canvas::left, "VANTREL", theme::ink_soft,
                2.2);
    }

    void band(int y0, const char* name) {
        cairo_t* cr = c_.cr();
        cairo_rectangle(cr, 0, y0, 500, 122);
        c_.vertical_gradient(y0, y0 + 122, theme::band_hi, theme::band_lo);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, y0, 500, 1);
        c_.colour(0x15181B);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, y0 + 1, 500, 1);
        c_.colour(0x5A6168);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, y0 + 121, 500, 1);
        c_.colour(0x15181B);
        cairo_fill(cr);
        struct Group {
            double x0, x1;
            const char* title;
        };
        const Group groups[] = {{4, 123, "LINE"},
                                {127, 252, "FILTER"},
                                {256, 347, "DRIVE \u00B7 SHELF"},
                                {351, 496, nullptr}};
        for (const Group& g : groups) {
            c_.rounded_rect(g.x0 + 0.5, y0 + 4.5, g.x1 - g.x0, 113, 4);
            c_.colour(0x000000, 0.12);
            cairo_fill_preserve(cr);
            c_.colour(theme::band_line);
            cairo_set_line_width(cr, 1.0);
            cairo_stroke(cr);
            if (g.title != nullptr)
                title(g.x0 + 6, y0 + 13, g.title, true, Canvas::left);
        }
        // the line's name and its echoes: impulses fading away
        c_.text(fonts_, FontFiles::sans_bold, 15.0, 424, y0 + 34, Canvas::centre, name,
                theme::band_ink, 1.0);
        const double base = y0 + 96;
        for (int k = 0; k < 7; ++k) {
            const double h = 44.0 * std::pow(0.72, k);
            cairo_rectangle(cr, 372 + 18 * k, base - h, 4, h);
            c_.colour(theme::accent, 1.0 - 0.1 * k);
            cairo_fill(cr);
        }
        cairo_rectangle(cr, 364, base + 1, 120, 1);
        c_.colour(theme::band_ink_soft);
        cairo_fill(cr);
        c_.text(fonts_, FontFiles::condensed_bold, 7.0, 424, base + 12, Canvas::centre,
                "FEEDBACK DELAY LINE", theme::band_ink_soft, 0.6);
    }

    // The second line switched off: a dimmed, hatched band that says so.
    void band_off(int y0) {
        cairo_t* cr = c_.cr();
        cairo_rectangle(cr, 0, y0, 500, 122);
        c_.vertical_gradient(y0, y0 + 122, 0x2A2D31, 0x202326);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_rectangle(cr, 0, y0 + 2, 500, 118);
        cairo_clip(cr);
        for (int x = -130; x < 500; x += 10) {
            cairo_move_to(cr, x, y0 + 122);
            cairo_line_to(cr, x + 122, y0);
        }
        c_.colour(0x33373C);
        cairo_set_line_width(cr, 3.0);
        cairo_stroke(cr);
        cairo_restore(cr);
        cairo_rectangle(cr, 0, y0, 500, 1);
        c_.colour(0x15181B);
        cairo_fill(cr);
        cairo_rectangle(cr, 0, y0 + 121, 500, 1);
        cairo_fill(cr);
        c_.rounded_rect(150.5, y0 + 31.5, 200, 60, 6);
        c_.colour(0x1A1D20);
        cairo_fill_preserve(cr);
        c_.colour(theme::band_line);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        c_.text(fonts_, FontFiles::sans_bold, 15.0, 250, y0 + 58, Canvas::centre, "DELAY 2",
                theme::band_ink_soft, 1.0);
        c_.rounded_rect(234.5, y0 + 64.5, 32, 12, 6);
        c_.colour(theme::accent_off);
        cairo_stroke(cr);
        c_.text(fonts_, FontFiles::condensed_bold, 7.5, 250.5, y0 + 73.5, Canvas::centre, "OFF",
                theme::band_ink_soft, 0.8);
        c_.text(fonts_, FontFiles::condensed, 7.0, 250, y0 + 87, Canvas::centre,
                "one delay line \u2013 switch LINE 2 on to add the second", 0x7D838A);
    }

    void titles() {
        title(181, 11, "TEMPO", false);
        title(301.5, 10, "PRESETS", false);
        title(396, 10, "MORPH", false);
        title(455.5, 10, "BANK", false);
        title(88, 74, "PRE-DELAY", false);
        for (int t = 0; t < 4; ++t) {
            const std::string name = "TAP " + std::to_string(t + 1);
            title(167.5 + 95 * t, 74, name.c_str(), false);
        }
        title(89, 252, "PARAMETER", false);
        title(168, 252, "LFO", false, Canvas::left);
        title(350.5, 251, "WAVEFORM", false);
    }

    void decorate(const layout::Control& ctl, int n) {
        const layout::Point p = layout::window_position(ctl, n);
        const layout::Rect box = layout::window_box(ctl, n);
        const bool dark = on_band(ctl, n);
        const double cx = p.x + 0.5, cy = p.y + 0.5;
        const char* text = label_of(ctl.id);
        if (is_knob(ctl.style)) {
            if (ctl.style != Style::knob_morph)
                scale(cx, cy, ctl.style, dark);
            if (text != nullptr)
                label(cx, cy + face_radius(ctl.style) + 10, text, dark);
            return;
        }
        switch (ctl.style) {
        case Style::flip_flop:
        case Style::flip_flop_reversed:
            recess(box, 1.5, 4, dark);
            label(box.x0 + 8.5, box.y1 + 10, text, dark);
            break;
        case Style::flip_flop_store:
            cairo_arc(c_.cr(), box.x0 + 14, box.y0 + 14, 14.2, 0, 2 * pi);
            c_.colour(0x6A6256, 0.35);
            cairo_fill(c_.cr());
            label(box.x0 + 14, 53, text, dark);
            break;
        case Style::program_button:
            recess(box, 1.0, 3, dark);
            break;
        case Style::push_button:
            if (ctl.picture != nullptr) {
                recess({box.x0, box.y0, box.x1, box.y1}, 1.0, 4, dark);
                label(box.x0 + 12, 52, text, dark);
            }
            break;
        case Style::spin:
            recess({box.x0 + 4, box.y0 + 12, box.x1 - 5, box.y1 - 10}, 1.5, 5, dark);
            label(box.x0 + 13.5, 58, text, dark);
            break;
        case Style::filter_switch:
            recess(box, 2.0, 4, dark);
            label(box.x0 + 25.5, box.y1 + 10, text, dark);
            break;
        case Style::wave_switch:
            recess(box, 2.0, 4, dark);
            break;
        case Style::text_box:
            text_ground(ctl, box);
            break;
        default:
            break;
        }
    }

    // Read-outs in cyan and grey sit in dark windows; the dark depth figure
    // and the green name in light wells; the black label on the panel itself.
    void text_ground(const layout::Control& ctl, const layout::Rect& box) {
        switch (ctl.id) {
        case ControlId::tempo_box:
            display(box.x0 - 1, box.y0 - 4, box.x1 + 4, box.y1 + 4);
            break;
        case ControlId::morph_box:
            display(box.x0 - 4, box.y0 - 3, box.x1 + 3, box.y1 + 3);
            label(box.x0 + 12, 53, label_of(ctl.id), false);
            break;
        case ControlId::param_name:
            well(box.x0 - 2, box.y0 - 1, box.x1 + 2, box.y1 + 1);
            break;
        case ControlId::param_value:
            display(box.x0 - 4, box.y0 - 2, box.x1 + 24, box.y1 + 3);
            break;
        case ControlId::lfo_period_box:
            display(box.x0 - 3, box.y0 - 2, box.x1 + 3, box.y1 + 2);
            break;
        case ControlId::lfo_depth_box:
            well(box.x0 - 3, box.y0 - 2, box.x1 + 3, box.y1 + 2);
            break;
        default:
            break;
        }
    }

    const FontFiles& fonts_;
    bool line_2_;
    Canvas c_;
};

RgbaImage crop(const RgbaImage& in, int y0, int height) {
    RgbaImage out(in.width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < in.width; ++x)
            out.at(x, y) = in.at(x, y0 + y);
    return out;
}
} // namespace

std::map<std::string, RgbaImage> draw_backgrounds(const FontFiles& fonts, pengui::Scale scale) {
    const RgbaImage on = WindowPainter(fonts, true, scale).paint();
    const RgbaImage off = WindowPainter(fonts, false, scale).paint();
    std::map<std::string, RgbaImage> out;
    for (const layout::Band& b : layout::bands) {
        const int top = scale.device(b.y0);
        out[b.picture] = crop(std::string(b.picture) == "bkg_02_nodelay2" ? off : on, top,
                              scale.device(b.y0 + b.height) - top);
    }
    return out;
}

} // namespace skingen

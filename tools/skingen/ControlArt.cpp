#include "ControlArt.h"

#include "Canvas.h"
#include "Theme.h"
#include "editor/EditorLayout.h"
#include "editor/SkinPictures.h"

#include <array>
#include <cmath>
#include <vector>

using namespace editor;

namespace skingen {

namespace {

// The canvas of a picture of the editor's table: its size and anchor.
Canvas canvas(const std::string& name, pengui::Scale scale) {
    for (const layout::SkinPicture& p : layout::skin_pictures)
        if (name == p.name)
            return Canvas(p.width, p.height, scale, p.anchor_x, p.anchor_y);
    return Canvas(0, 0, scale);
}

unsigned mix(unsigned a, unsigned b, double t) {
    unsigned out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double ca = double((a >> shift) & 0xFF);
        const double cb = double((b >> shift) & 0xFF);
        out |= unsigned(std::lround(ca + (cb - ca) * t)) << shift;
    }
    return out;
}

// A graphite knob face centred at (cx, cy): shadow, lit rim, domed cap.
void knob_face(const Canvas& c, double cx, double cy, double r) {
    cairo_t* cr = c.cr();
    cairo_arc(cr, cx, cy + 0.8, r, 0, 2 * pi);
    c.colour(0x000000, 0.35);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r - 0.3, 0, 2 * pi);
    c.vertical_gradient(cy - r, cy + r, theme::knob_rim_hi, theme::knob_rim_lo);
    cairo_fill(cr);
    const double cap = r - std::max(1.4, r * 0.16);
    cairo_arc(cr, cx, cy, cap, 0, 2 * pi);
    c.radial_gradient(cx, cy, -cap * 0.35, -cap * 0.45, cap * 1.1, theme::knob_cap_hi,
                      theme::knob_cap_lo);
    cairo_fill(cr);
}

// A pointer along +x from the pivot (px, py): a light bar with a dark edge so
// that it reads at every angle after rotation.
void pointer(const Canvas& c, double px, double py, double from, double to, double width) {
    cairo_t* cr = c.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, px + from, py);
    cairo_line_to(cr, px + to, py);
    c.colour(0x000000, 0.45);
    cairo_set_line_width(cr, width + 1.0);
    cairo_stroke(cr);
    cairo_move_to(cr, px + from, py);
    cairo_line_to(cr, px + to, py);
    c.colour(theme::pointer);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// The focus ring: an amber arc along the lower rim, drawn in a picture whose
// top row is the knob's centre row.
RgbaImage focus_ring(const char* name, int w, double r, pengui::Scale scale) {
    Canvas c = canvas(name, scale);
    const double cx = w / 2.0;
    cairo_t* cr = c.cr();
    cairo_arc(cr, cx, 0.5, r, pi * 0.12, pi * 0.88);
    c.colour(theme::accent, 0.35);
    cairo_set_line_width(cr, 3.2);
    cairo_stroke(cr);
    cairo_arc(cr, cx, 0.5, r, pi * 0.12, pi * 0.88);
    c.colour(theme::accent);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    return c.image();
}

// The drag picture: amber up and down arrows over the knob's centre.
RgbaImage drag_arrows(const char* name, int size, pengui::Scale scale) {
    Canvas c = canvas(name, scale);
    cairo_t* cr = c.cr();
    const double m = size / 2.0;
    const double a = size * 0.2; // half width of an arrow
    const double h = size * 0.2;
    for (int dir : {-1, 1}) {
        const double tip = m + dir * (m - 1.2);
        cairo_move_to(cr, m, tip);
        cairo_line_to(cr, m - a, tip - dir * h);
        cairo_line_to(cr, m + a, tip - dir * h);
        cairo_close_path(cr);
    }
    c.colour(0x000000, 0.6);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    c.colour(theme::accent);
    cairo_fill(cr);
    return c.image();
}

// A square key of size s at (x, y), pressed by t (0 rest, 1 fully in and lit).
void key(const Canvas& c, double x, double y, double w, double h, double r, double t) {
    cairo_t* cr = c.cr();
    c.rounded_rect(x, y, w, h, r);
    c.colour(0x3A352E);
    cairo_fill(cr);
    const double in = 1.0;
    c.rounded_rect(x + in, y + in + 0.6 * t, w - 2 * in, h - 2 * in - 0.6 * t, r - 0.5);
    c.vertical_gradient(y, y + h, mix(theme::key_hi, theme::accent_hi, t),
                        mix(theme::key_lo, theme::accent, t));
    cairo_fill(cr);
}

RgbaImage program_button(const FontFiles& fonts, int number, int frame, pengui::Scale scale) {
    const double t = frame / 4.0;
    Canvas c(13, 13, scale);
    key(c, 0, 0, 13, 13, 2.0, t);
    c.text(fonts, FontFiles::sans_bold, 8.0, 6.5, 10.0 + (t > 0.5 ? 1 : 0), Canvas::centre,
           std::to_string(number), mix(theme::ink, 0x3A1E00, t));
    return c.image();
}

// The bank buttons: a folder to load, a disk to save.
RgbaImage bank_button(bool save, int frame, pengui::Scale scale) {
    const double t = frame / 4.0;
    Canvas c(25, 28, scale);
    cairo_t* cr = c.cr();
    c.rounded_rect(0.5, 1.5, 24, 25, 3);
    c.colour(0x000000, 0.3);
    cairo_fill(cr);
    key(c, 0, 0, 24, 25, 3, t);
    const unsigned ink = mix(theme::ink, 0x3A1E00, t);
    const double dy = t > 0.5 ? 1 : 0;
    c.colour(ink);
    if (!save) {
        cairo_move_to(cr, 5, 8 + dy);
        cairo_line_to(cr, 10, 8 + dy);
        cairo_line_to(cr, 11.5, 9.5 + dy);
        cairo_line_to(cr, 19, 9.5 + dy);
        cairo_line_to(cr, 19, 18.5 + dy);
        cairo_line_to(cr, 5, 18.5 + dy);
        cairo_close_path(cr);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        cairo_move_to(cr, 5, 18.5 + dy);
        cairo_line_to(cr, 7.5, 12.5 + dy);
        cairo_line_to(cr, 21, 12.5 + dy);
        cairo_line_to(cr, 19, 18.5 + dy);
        cairo_close_path(cr);
        cairo_fill(cr);
    } else {
        c.rounded_rect(5.5, 5.5 + dy, 13, 13, 1.5);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        cairo_rectangle(cr, 8, 6 + dy, 8, 4.5);
        cairo_fill(cr);
        cairo_rectangle(cr, 8.5, 13 + dy, 7, 5.5);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    }
    return c.image();
}

// The small toggle: a square key with a lamp; frames 3 and 4 sit one row
// lower, latched in.
RgbaImage flip_flop_small(int frame, pengui::Scale scale) {
    const double t = frame / 4.0;
    const int h = frame >= 3 ? 18 : 17;
    Canvas c(17, h, scale);
    cairo_t* cr = c.cr();
    const double dy = frame >= 3 ? 1.0 : 0.0;
    c.rounded_rect(0.5, 0.5 + dy, 16, 16, 3);
    c.colour(0x2E2A25);
    cairo_fill(cr);
    c.rounded_rect(1.5, 1.5 + dy, 14, 14, 2.2);
    c.vertical_gradient(1 + dy, 16 + dy, mix(0x6A6E73, 0x5A5E63, t), mix(0x34383C, 0x2C3034, t));
    cairo_fill(cr);
    if (t > 0) {
        cairo_arc(cr, 8.5, 8.5 + dy, 6.0, 0, 2 * pi);
        c.colour(theme::accent, 0.35 * t);
        cairo_fill(cr);
    }
    cairo_arc(cr, 8.5, 8.5 + dy, 3.3, 0, 2 * pi);
    c.colour(0x14100C);
    cairo_fill(cr);
    cairo_arc(cr, 8.5, 8.5 + dy, 2.6, 0, 2 * pi);
    c.radial_gradient(8.5, 8.5 + dy, -0.8, -0.8, 2.8, mix(0x9A8468, theme::accent_hi, t),
                      mix(theme::accent_off, theme::accent, t));
    cairo_fill(cr);
    return c.image();
}

// The store-mode toggle: a round key whose ring lights up.
RgbaImage flip_flop_store(int frame, pengui::Scale scale) {
    const double t = frame / 4.0;
    Canvas c(28, 28, scale);
    cairo_t* cr = c.cr();
    cairo_arc(cr, 14, 14.8, 12.6, 0, 2 * pi);
    c.colour(0x000000, 0.35);
    cairo_fill(cr);
    cairo_arc(cr, 14, 14, 12.5, 0, 2 * pi);
    c.colour(0x2E2A25);
    cairo_fill(cr);
    cairo_arc(cr, 14, 14, 10.2, 0, 2 * pi);
    c.colour(mix(theme::accent_off, theme::accent, t));
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
    if (t > 0) {
        cairo_arc(cr, 14, 14, 10.2, 0, 2 * pi);
        c.colour(theme::accent_hi, 0.5 * t);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    cairo_arc(cr, 14, 14 + 0.8 * t, 8.0, 0, 2 * pi);
    c.vertical_gradient(6, 22, 0x6A6E73, 0x2E3236);
    cairo_fill(cr);
    cairo_arc(cr, 14, 14 + 0.8 * t, 2.6, 0, 2 * pi);
    c.colour(mix(0x8E3A2A, 0xFF5A3A, t));
    cairo_fill(cr);
    return c.image();
}

RgbaImage spin_handle(bool pressed, pengui::Scale scale) {
    Canvas c = canvas(pressed ? "sp_02_hnd_1" : "sp_02_hnd_0", scale);
    cairo_t* cr = c.cr();
    c.rounded_rect(4.5, 1.5, 18, 25, 4);
    c.colour(0x000000, 0.35);
    cairo_fill(cr);
    c.rounded_rect(4, 0.5, 18, 25, 4);
    c.colour(0x2E2A25);
    cairo_fill(cr);
    c.rounded_rect(5, 1.5, 16, 23, 3);
    c.vertical_gradient(1, 25, pressed ? 0x5C6066 : 0x6A6E73, pressed ? 0x2A2E32 : 0x34383C);
    cairo_fill(cr);
    // grip ridges between the arrows
    for (int i = 0; i < 4; ++i) {
        const double y = 9.5 + 2.0 * i;
        cairo_move_to(cr, 8, y);
        cairo_line_to(cr, 18, y);
    }
    c.colour(pressed ? theme::accent : 0x9CA1A6);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    return c.image();
}

RgbaImage spin_arrow(bool up, bool pressed, pengui::Scale scale) {
    Canvas c = canvas(std::string(up ? "sp_02_up_" : "sp_02_dwn_") + (pressed ? "1" : "0"), scale);
    cairo_t* cr = c.cr();
    const double tip = up ? 2.0 : 7.0;
    const double base = up ? 6.5 : 2.5;
    cairo_move_to(cr, 4.5, tip);
    cairo_line_to(cr, 1.0, base);
    cairo_line_to(cr, 8.0, base);
    cairo_close_path(cr);
    c.colour(pressed ? theme::accent : theme::pointer);
    cairo_fill(cr);
    return c.image();
}

// A switch cell: dark when unlit, amber when lit.
void cell(const Canvas& c, double w, double h, bool lit) {
    cairo_t* cr = c.cr();
    c.rounded_rect(0, 0, w, h, 2.2);
    c.colour(lit ? 0x3A1E00 : theme::display_edge);
    cairo_fill(cr);
    c.rounded_rect(1, 1, w - 2, h - 2, 1.5);
    if (lit)
        c.vertical_gradient(1, h - 1, theme::accent_hi, theme::accent);
    else
        c.vertical_gradient(1, h - 1, 0x2A2F34, theme::display);
    cairo_fill(cr);
}

const char* const filter_names[4] = {"LP", "HP", "RES", "BP"};

RgbaImage filter_cell(const FontFiles& fonts, int type, bool lit, pengui::Scale scale) {
    Canvas c(24, 15, scale);
    cell(c, 24, 15, lit);
    c.text(fonts, FontFiles::condensed_bold, 8.0, 12, 10.5, Canvas::centre, filter_names[type],
           lit ? 0x2A1600 : theme::band_ink_soft);
    return c.image();
}

// One period of each LFO waveform in x 0..1, y -1..1 (up is positive).
std::vector<std::array<double, 2>> wave_points(int wave) {
    std::vector<std::array<double, 2>> p;
    auto curve = [&](auto f) {
        for (int i = 0; i <= 32; ++i)
            p.push_back({i / 32.0, f(i / 32.0)});
    };
    switch (wave) {
    case 0:
        curve([](double x) { return std::sin(2 * pi * x); });
        break;
    case 1:
        p = {{0, 1}, {0.5, -1}, {1, 1}};
        break;
    case 2:
        p = {{0, 1}, {0.5, 1}, {0.5, -1}, {1, -1}};
        break;
    case 3: // rises, then falls back at once
        p = {{0, -1}, {1, 1}, {1, -1}};
        break;
    case 4:
        curve([](double x) { return -std::cos(pi * x); });
        break;
    case 5:
        p = {{0, -1}, {0, 1}, {1, -1}};
        break;
    case 6:
        curve([](double x) { return std::cos(pi * x); });
        break;
    case 7: { // held random steps
        const double v[] = {0.3, -0.8, 0.9, -0.2, 0.6};
        for (int i = 0; i < 5; ++i) {
            p.push_back({i / 5.0, v[i]});
            p.push_back({(i + 1) / 5.0, v[i]});
        }
        break;
    }
    case 8: // slow wander
        curve([](double x) {
            return 0.55 * std::sin(2 * pi * (x * 1.3 + 0.1)) + 0.35 * std::sin(2 * pi * x * 3.1);
        });
        break;
    default: { // white noise
        const double v[] = {0.2, -0.9, 0.7, -0.3, 1.0, -0.6, 0.4, -1.0, 0.8, -0.2, 0.5, -0.7};
        for (int i = 0; i < 12; ++i)
            p.push_back({i / 11.0, v[i]});
        break;
    }
    }
    return p;
}

RgbaImage wave_cell(int wave, bool lit, pengui::Scale scale) {
    Canvas c(15, 12, scale);
    cell(c, 15, 12, lit);
    cairo_t* cr = c.cr();
    bool first = true;
    for (const auto& pt : wave_points(wave)) {
        const double x = 3.0 + pt[0] * 9.0;
        const double y = 6.0 - pt[1] * 3.2;
        if (first)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
        first = false;
    }
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 1.2);
    c.colour(lit ? 0x2A1600 : theme::band_ink);
    cairo_stroke(cr);
    return c.image();
}

struct KnobSize {
    const char* face;
    const char* ptr;
    const char* focus;
    int size;
    int ptr_ax, ptr_ay; // the pointer's pivot pixel

    double ptr_from, ptr_to, ptr_width;
};
} // namespace

std::map<std::string, RgbaImage> draw_controls(const FontFiles& fonts, pengui::Scale scale) {
    std::map<std::string, RgbaImage> out;

    const KnobSize knobs[] = {
        {"kn_05", "kn_05_spn", "kn_05_s", 17, 0, 1, 2.2, 6.4, 1.6},
        {"kn_06", "kn_06_spn", "kn_06_s", 27, 1, 1, 4.0, 10.6, 2.0},
        {"kn_07", "kn_07_spn", "kn_07_s", 37, 1, 2, 5.5, 15.0, 2.8},
    };
    for (const KnobSize& k : knobs) {
        const double r = k.size / 2.0 - 0.8;
        Canvas face = canvas(k.face, scale);
        knob_face(face, k.size / 2.0, k.size / 2.0, r);
        out[k.face] = face.image();
        Canvas ptr = canvas(k.ptr, scale);
        pointer(ptr, k.ptr_ax + 0.5, k.ptr_ay + 0.5, k.ptr_from, k.ptr_to, k.ptr_width);
        out[k.ptr] = ptr.image();
        out[k.focus] = focus_ring(k.focus, k.size, r + 0.2, scale);
    }
    // the morph knob: a flat dial turned by an amber dot 8 pixels out
    {
        Canvas face = canvas("kn_08", scale);
        knob_face(face, 13.5, 14.5, 12.0);
        cairo_arc(face.cr(), 13.5, 14.5, 5.0, 0, 2 * pi);
        face.colour(0x000000, 0.25);
        cairo_set_line_width(face.cr(), 1.0);
        cairo_stroke(face.cr());
        out["kn_08"] = face.image();
        Canvas dot = canvas("kn_08_spn", scale);
        cairo_arc(dot.cr(), 5.5, 5.5, 3.2, 0, 2 * pi);
        dot.colour(theme::accent, 0.35);
        cairo_fill(dot.cr());
        cairo_arc(dot.cr(), 5.5, 5.5, 2.1, 0, 2 * pi);
        dot.radial_gradient(5.5, 5.5, -0.6, -0.6, 2.3, theme::accent_hi, theme::accent);
        cairo_fill(dot.cr());
        out["kn_08_spn"] = dot.image();
    }
    out["arw_05"] = drag_arrows("arw_05", 13, scale);
    out["arw_06"] = drag_arrows("arw_06", 20, scale);
    out["arw_07"] = drag_arrows("arw_07", 27, scale);

    for (int f = 0; f < 5; ++f) {
        const std::string frame = "_" + std::to_string(f);
        for (int b = 0; b < 8; ++b)
            out["pb_" + std::to_string(11 + b) + frame] = program_button(fonts, b + 1, f, scale);
        out["pb_19" + frame] = bank_button(false, f, scale);
        out["pb_20" + frame] = bank_button(true, f, scale);
        out["ff_04" + frame] = flip_flop_small(f, scale);
        out["ff_05" + frame] = flip_flop_store(f, scale);
    }
    out["sp_02_up_0"] = spin_arrow(true, false, scale);
    out["sp_02_up_1"] = spin_arrow(true, true, scale);
    out["sp_02_dwn_0"] = spin_arrow(false, false, scale);
    out["sp_02_dwn_1"] = spin_arrow(false, true, scale);
    out["sp_02_hnd_0"] = spin_handle(false, scale);
    out["sp_02_hnd_1"] = spin_handle(true, scale);

    // The unlit cells sit in the base pictures where the lit ones will show.
    Canvas filter(51, 33, scale);
    for (int p = 0; p < 4; ++p) {
        filter.paste(filter_cell(fonts, p, false, scale),
                     layout::filter_switch_cells[std::size_t(p)].x,
                     layout::filter_switch_cells[std::size_t(p)].y);
        out["sw_03_" + std::to_string(p)] = filter_cell(fonts, p, true, scale);
    }
    out["sw_03"] = filter.image();

    Canvas waves(87, 27, scale);
    for (std::size_t i = 0; i < 10; ++i) {
        const int wave = layout::wave_of_cell[i];
        waves.paste(wave_cell(wave, false, scale), layout::wave_switch_cells[i].x,
                    layout::wave_switch_cells[i].y);
        out["sw_04_" + std::to_string(i)] = wave_cell(wave, true, scale);
    }
    out["sw_04"] = waves.image();
    return out;
}

} // namespace skingen

#pragma once

// Where everything sits in the 500 x 422 editor: each section's place and
// size in the window, and each control's position inside its section, its
// style, the picture it shows at rest and its bounding box. The editor places
// its controls from these tables and the skin generator draws the backgrounds
// around them, so the two cannot disagree. Header-only, standard library only.

#include <array>
#include <cstddef>

namespace editor::layout {

// x0, y0, x1, y1; right and bottom exclusive.
struct Rect {
    int x0, y0, x1, y1;
    constexpr int width() const { return x1 - x0; }
    constexpr int height() const { return y1 - y0; }
};

constexpr int window_width = 500;
constexpr int window_height = 422;

enum class SectionId {
    logo,
    tempo,
    preset,
    pre_delay,
    tap_1,
    tap_2,
    tap_3,
    tap_4,
    delay_1,
    delay_2,
    global_switch,
    detail_value,
    detail_lfo,
    fdbk_separation,
};

struct Section {
    SectionId id;
    Rect window; // where the section shows in the window
};

// The rows: top 0-61, taps 62-119, delay line 1 120-241, middle 242-299,
// delay line 2 300-421 (only while the second line is on).
constexpr std::array<Section, 14> sections{{
    {SectionId::logo, {0, 0, 120, 62}},
    {SectionId::tempo, {120, 0, 266, 62}},
    {SectionId::preset, {266, 0, 500, 62}},
    {SectionId::pre_delay, {0, 62, 120, 120}},
    {SectionId::tap_1, {120, 62, 215, 120}},
    {SectionId::tap_2, {215, 62, 310, 120}},
    {SectionId::tap_3, {310, 62, 405, 120}},
    {SectionId::tap_4, {405, 62, 500, 120}},
    {SectionId::delay_1, {0, 120, 500, 242}},
    {SectionId::delay_2, {0, 300, 500, 422}},
    {SectionId::global_switch, {0, 242, 37, 300}},
    {SectionId::detail_value, {37, 242, 165, 300}},
    {SectionId::detail_lfo, {165, 242, 408, 300}},
    {SectionId::fdbk_separation, {408, 242, 500, 300}},
}};

// The five background bands, top to bottom; "bkg_02_delay2" and
// "bkg_02_nodelay2" share the last band.
struct Band {
    const char* picture;
    int y0, height;
};
constexpr std::array<Band, 5> bands{{
    {"bkg_02_top", 0, 120},
    {"bkg_02_delay1", 120, 122},
    {"bkg_02_main", 242, 58},
    {"bkg_02_delay2", 300, 122},
    {"bkg_02_nodelay2", 300, 122},
}};

enum class Style {
    knob_small,         // "kn_05" face, "kn_05_spn" pointer, "arw_05" drag picture
    knob_small_focus,   // the same with the "kn_05_s" focus picture
    knob_medium,        // "kn_06", "kn_06_spn", "kn_06_s", "arw_06"
    knob_large,         // "kn_07", "kn_07_spn", "kn_07_s", "arw_07"
    knob_morph,         // "kn_08", "kn_08_spn" at 8 pixels from the centre, "arw_06"
    flip_flop,          // "ff_04_0" ... "ff_04_4"
    flip_flop_reversed, // "ff_04_4" ... "ff_04_0"
    flip_flop_store,    // "ff_05_0" ... "ff_05_4"
    program_button,     // "pb_1N_0" ... "pb_1N_4", N = 1 ... 8
    push_button,        // five frames of its picture, or none (invisible)
    spin,               // "sp_02_*"
    filter_switch,      // "sw_03" with four corner positions
    wave_switch,        // "sw_04" with ten cells
    text_box,
};

// Text boxes: font 0 is "font_03", 1 is "font_04"; alignment 0 left,
// 1 centred, 2 right; the text anchor is minus the box's top-left.
struct Text {
    int font;
    unsigned colour; // 0x00RRGGBB
    int align;
};

enum class ControlId {
    label,
    web_site,
    tempo_spin,
    tempo_box,
    time_unit,
    program_1,
    program_2,
    program_3,
    program_4,
    program_5,
    program_6,
    program_7,
    program_8,
    store_mode,
    load_bank,
    save_bank,
    morph_knob,
    morph_box,
    pre_delay_level,
    sustain_loop,
    tap_level,
    tap_time,
    tap_pan,
    line_level,
    line_pan,
    line_time,
    line_fdbk,
    filter_type,
    filter_cutoff,
    filter_reso,
    filter_q,
    disto_type,
    disto_level,
    shelf_cutoff,
    shelf_level,
    delay_2,
    param_name,
    param_value,
    param_unit,
    lfo_period_knob,
    lfo_depth_knob,
    lfo_period_box,
    lfo_depth_box,
    lfo_wave,
    fdbk_separation,
};

// Which sections hold a control: one, the four taps, or the two delay lines.
enum class Group { single, taps, lines };

struct Control {
    ControlId id;
    Group group;
    SectionId section; // for taps and lines: the first of them
    Style style;
    int x, y;            // position inside the section
    Rect box;            // bounding box relative to the position
    const char* picture; // the picture shown at rest (null: none)
    Text text;           // text boxes only
};

namespace detail {
constexpr Rect knob_small_box{-10, -10, 11, 11};
constexpr Rect knob_medium_box{-17, -17, 18, 18};
constexpr Rect knob_large_box{-21, -21, 22, 22};
constexpr Rect flip_flop_box{0, 0, 17, 17};
constexpr Rect program_box{0, 0, 13, 13};
constexpr Text no_text{0, 0, 0};
constexpr unsigned grey = 0x808080;
constexpr unsigned cyan = 0x00FFFF;
} // namespace detail

constexpr std::array<Control, 45> controls{{
    {ControlId::label,
     Group::single,
     SectionId::logo,
     Style::text_box,
     0,
     0,
     {0, 0, 120, 12},
     nullptr,
     {0, 0x000000, 1}},
    {ControlId::web_site,
     Group::single,
     SectionId::logo,
     Style::push_button,
     0,
     12,
     {0, 0, 120, 50},
     nullptr,
     detail::no_text},
    {ControlId::tempo_spin,
     Group::single,
     SectionId::tempo,
     Style::spin,
     102,
     13,
     {0, -9, 27, 40},
     "sp_02_hnd_0",
     detail::no_text},
    {ControlId::tempo_box,
     Group::single,
     SectionId::tempo,
     Style::text_box,
     61,
     24,
     {-31, 0, 31, 15},
     nullptr,
     {1, detail::cyan, 2}},
    {ControlId::time_unit, Group::single, SectionId::tempo, Style::flip_flop_reversed, 10, 17,
     detail::flip_flop_box, "ff_04_4", detail::no_text},
    {ControlId::program_1, Group::single, SectionId::preset, Style::program_button, 5, 15,
     detail::program_box, "pb_11_0", detail::no_text},
    {ControlId::program_2, Group::single, SectionId::preset, Style::program_button, 21, 15,
     detail::program_box, "pb_12_0", detail::no_text},
    {ControlId::program_3, Group::single, SectionId::preset, Style::program_button, 37, 15,
     detail::program_box, "pb_13_0", detail::no_text},
    {ControlId::program_4, Group::single, SectionId::preset, Style::program_button, 53, 15,
     detail::program_box, "pb_14_0", detail::no_text},
    {ControlId::program_5, Group::single, SectionId::preset, Style::program_button, 5, 31,
     detail::program_box, "pb_15_0", detail::no_text},
    {ControlId::program_6, Group::single, SectionId::preset, Style::program_button, 21, 31,
     detail::program_box, "pb_16_0", detail::no_text},
    {ControlId::program_7, Group::single, SectionId::preset, Style::program_button, 37, 31,
     detail::program_box, "pb_17_0", detail::no_text},
    {ControlId::program_8, Group::single, SectionId::preset, Style::program_button, 53, 31,
     detail::program_box, "pb_18_0", detail::no_text},
    {ControlId::store_mode,
     Group::single,
     SectionId::preset,
     Style::flip_flop_store,
     70,
     16,
     {0, 0, 28, 28},
     "ff_05_0",
     detail::no_text},
    {ControlId::load_bank,
     Group::single,
     SectionId::preset,
     Style::push_button,
     163,
     16,
     {0, 0, 24, 25},
     "pb_19_0",
     detail::no_text},
    {ControlId::save_bank,
     Group::single,
     SectionId::preset,
     Style::push_button,
     192,
     16,
     {0, 0, 24, 25},
     "pb_20_0",
     detail::no_text},
    {ControlId::morph_knob,
     Group::single,
     SectionId::preset,
     Style::knob_morph,
     145,
     30,
     {-13, -14, 14, 13},
     "kn_08",
     detail::no_text},
    {ControlId::morph_box,
     Group::single,
     SectionId::preset,
     Style::text_box,
     127,
     27,
     {-24, 0, 0, 15},
     nullptr,
     {1, detail::cyan, 2}},
    {ControlId::pre_delay_level, Group::single, SectionId::pre_delay, Style::knob_medium, 36, 24,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::sustain_loop, Group::single, SectionId::pre_delay, Style::flip_flop, 83, 25,
     detail::flip_flop_box, "ff_04_0", detail::no_text},
    {ControlId::tap_level, Group::taps, SectionId::tap_1, Style::knob_small_focus, 16, 28,
     detail::knob_small_box, "kn_05", detail::no_text},
    {ControlId::tap_time, Group::taps, SectionId::tap_1, Style::knob_small_focus, 43, 28,
     detail::knob_small_box, "kn_05", detail::no_text},
    {ControlId::tap_pan, Group::taps, SectionId::tap_1, Style::knob_small_focus, 70, 28,
     detail::knob_small_box, "kn_05", detail::no_text},
    {ControlId::line_level, Group::lines, SectionId::delay_1, Style::knob_medium, 35, 37,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::line_pan, Group::lines, SectionId::delay_1, Style::knob_medium, 89, 37,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::line_time, Group::lines, SectionId::delay_1, Style::knob_medium, 35, 88,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::line_fdbk, Group::lines, SectionId::delay_1, Style::knob_medium, 89, 88,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::filter_type,
     Group::lines,
     SectionId::delay_1,
     Style::filter_switch,
     196,
     69,
     {0, 0, 51, 33},
     "sw_03",
     detail::no_text},
    {ControlId::filter_cutoff, Group::lines, SectionId::delay_1, Style::knob_large, 165, 82,
     detail::knob_large_box, "kn_07", detail::no_text},
    {ControlId::filter_reso, Group::lines, SectionId::delay_1, Style::knob_medium, 158, 37,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::filter_q, Group::lines, SectionId::delay_1, Style::knob_medium, 222, 37,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::disto_type, Group::lines, SectionId::delay_1, Style::knob_medium, 328, 37,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::disto_level, Group::lines, SectionId::delay_1, Style::knob_medium, 274, 37,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::shelf_cutoff, Group::lines, SectionId::delay_1, Style::knob_medium, 328, 88,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::shelf_level, Group::lines, SectionId::delay_1, Style::knob_medium, 274, 88,
     detail::knob_medium_box, "kn_06", detail::no_text},
    {ControlId::delay_2, Group::single, SectionId::global_switch, Style::flip_flop, 10, 23,
     detail::flip_flop_box, "ff_04_0", detail::no_text},
    {ControlId::param_name,
     Group::single,
     SectionId::detail_value,
     Style::text_box,
     52,
     15,
     {-45, 0, 45, 11},
     nullptr,
     {0, 0x448844, 1}},
    {ControlId::param_value,
     Group::single,
     SectionId::detail_value,
     Style::text_box,
     33,
     29,
     {0, 0, 40, 9},
     nullptr,
     {0, detail::grey, 0}},
    {ControlId::param_unit,
     Group::single,
     SectionId::detail_value,
     Style::text_box,
     70,
     29,
     {0, 0, 24, 9},
     nullptr,
     {0, detail::grey, 0}},
    {ControlId::lfo_period_knob, Group::single, SectionId::detail_lfo, Style::knob_small, 5, 30,
     detail::knob_small_box, "kn_05", detail::no_text},
    {ControlId::lfo_depth_knob, Group::single, SectionId::detail_lfo, Style::knob_small, 32, 30,
     detail::knob_small_box, "kn_05", detail::no_text},
    // The period box is given no height; its text shows in the 9 rows of its box.
    {ControlId::lfo_period_box,
     Group::single,
     SectionId::detail_lfo,
     Style::text_box,
     106,
     15,
     {-23, 0, 23, 9},
     nullptr,
     {0, detail::grey, 0}},
    {ControlId::lfo_depth_box,
     Group::single,
     SectionId::detail_lfo,
     Style::text_box,
     106,
     30,
     {-23, 0, 23, 9},
     nullptr,
     {0, 0x191610, 1}},
    {ControlId::lfo_wave,
     Group::single,
     SectionId::detail_lfo,
     Style::wave_switch,
     142,
     12,
     {0, 0, 87, 27},
     "sw_04",
     detail::no_text},
    {ControlId::fdbk_separation, Group::single, SectionId::fdbk_separation, Style::knob_medium, 36,
     26, detail::knob_medium_box, "kn_06", detail::no_text},
}};

// The row of the table for a control.
constexpr const Control& control(ControlId id) {
    for (const Control& c : controls)
        if (c.id == id)
            return c;
    return controls[0];
}
static_assert(std::size_t(ControlId::fdbk_separation) + 1 == controls.size(),
              "one row per control");

// How many sections hold the control: 1, 4 taps or 2 lines.
constexpr int copies(const Control& c) {
    return c.group == Group::taps ? 4 : c.group == Group::lines ? 2 : 1;
}

// The section of copy `n` (0 for a single control).
constexpr const Section& section_of(const Control& c, int n) {
    return sections[std::size_t(c.section) + std::size_t(n)];
}

struct Point {
    int x, y;
};

// The control's position in the window, in copy `n` of its section.
constexpr Point window_position(const Control& c, int n = 0) {
    const Rect& s = section_of(c, n).window;
    return {s.x0 + c.x, s.y0 + c.y};
}

// The control's bounding box in the window, in copy `n` of its section.
constexpr Rect window_box(const Control& c, int n = 0) {
    const Point p = window_position(c, n);
    return {p.x + c.box.x0, p.y + c.box.y0, p.x + c.box.x1, p.y + c.box.y1};
}

// Every control's bounding box lies inside its section's row of the window,
// in every copy (the LFO period knob reaches 5 pixels left of its section).
constexpr bool boxes_inside_rows() {
    for (const Control& c : controls)
        for (int n = 0; n < copies(c); ++n) {
            const Rect b = window_box(c, n);
            const Rect& s = section_of(c, n).window;
            if (b.x0 < 0 || b.y0 < s.y0 || b.x1 > window_width || b.y1 > s.y1)
                return false;
        }
    return true;
}
static_assert(boxes_inside_rows(), "a control's box leaves its row");

// The filter-type switch's positions (24 x 15 each) inside its 51 x 33 base
// picture: 0 bottom left, 1 top left, 2 top right, 3 bottom right.
constexpr std::array<Point, 4> filter_switch_cells{{{0, 18}, {0, 0}, {27, 0}, {27, 18}}};

// The waveform switch's picture i (15 x 12) sits in cell (i mod 5, i div 5) at
// a pitch of 18 across and 15 down, and stands for waveform position
// wave_of_cell[i].
constexpr std::array<Point, 10> wave_switch_cells{
    {{0, 0}, {18, 0}, {36, 0}, {54, 0}, {72, 0}, {0, 15}, {18, 15}, {36, 15}, {54, 15}, {72, 15}}};
constexpr std::array<int, 10> wave_of_cell{0, 1, 2, 7, 8, 3, 5, 4, 6, 9};

} // namespace editor::layout

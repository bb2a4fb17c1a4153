#pragma once

// Which control of the layout shows which parameter: the taps' and delay
// lines' parameter offsets, and the window point of a parameter's own
// control. Header-only, standard library only.

#include "editor/EditorLayout.h"

#include <array>

namespace editor::layout {

constexpr int first_tap_param = 7;
constexpr int tap_stride = 12;
constexpr int first_line_param = 55;
constexpr int line_stride = 33;

// A control of a tap or a line and its parameter's offset from the first
// one, and where the parameter's LFO period is (-1: no LFO).
struct ParamPlace {
    ControlId id;
    int offset;
    int lfo_offset;
};

constexpr std::array<ParamPlace, 3> tap_places{{
    {ControlId::tap_time, 0, 1},
    {ControlId::tap_level, 4, 5},
    {ControlId::tap_pan, 8, 9},
}};

// The knobs in drawing order, then the filter-type switch.
constexpr std::array<ParamPlace, 12> line_places{{
    {ControlId::line_level, 0, -1},
    {ControlId::line_pan, 1, 2},
    {ControlId::line_time, 5, 6},
    {ControlId::line_fdbk, 9, 10},
    {ControlId::filter_cutoff, 14, 15},
    {ControlId::filter_reso, 18, 19},
    {ControlId::filter_q, 22, 23},
    {ControlId::disto_type, 26, -1},
    {ControlId::disto_level, 27, 28},
    {ControlId::shelf_cutoff, 31, -1},
    {ControlId::shelf_level, 32, -1},
    {ControlId::filter_type, 13, -1},
}};

// The window point of the control that shows parameter `index` (for an LFO
// parameter, its owner's); false for the flags and anything unknown.
constexpr bool param_position(int index, Point& point) {
    const auto from = [&](ControlId id, int n) {
        point = window_position(control(id), n);
        return true;
    };
    if (index == 1)
        return from(ControlId::tempo_spin, 0);
    if (index == 2)
        return from(ControlId::pre_delay_level, 0);
    if (index >= 3 && index < first_tap_param)
        return from(ControlId::fdbk_separation, 0);
    for (int n = 0; n < 4; ++n)
        for (const ParamPlace& p : tap_places)
            if (index >= first_tap_param + tap_stride * n + p.offset &&
                index <= first_tap_param + tap_stride * n + p.offset + 3)
                return from(p.id, n);
    for (int d = 0; d < 2; ++d)
        for (const ParamPlace& p : line_places) {
            const int first = first_line_param + line_stride * d + p.offset;
            if (index == first || (p.lfo_offset > 0 && index > first && index <= first + 3))
                return from(p.id, d);
        }
    return false;
}

} // namespace editor::layout

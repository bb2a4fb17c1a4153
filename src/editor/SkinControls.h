#pragma once

// Turns rows of the layout table into toolkit controls dressed with the
// editor's skin pictures and fonts.

#include "editor/EditorLayout.h"

namespace pengui {
class ControlInterface;
class CtrlGroupItem;
class FlipFlop;
class Knob;
class TextBox;
} // namespace pengui

class ZentrovaGui;

namespace skin {

// [editor thread] A knob of one of the four knob styles.
void make_knob(pengui::Knob& knob, layout::Style style, const ZentrovaGui& gui);
// [editor thread] A flip-flop of one of the three flip-flop styles.
void make_flip_flop(pengui::FlipFlop& flip_flop, layout::Style style, const ZentrovaGui& gui);
// [editor thread] A text box with the row's font, colour, alignment and box;
// its text anchor is minus the box's top-left.
void make_text_box(pengui::TextBox& box, const layout::Control& row, bool editable,
                   const ZentrovaGui& gui);
// [editor thread] Gives the control the row's bounding box and position and
// adds it to the section's group item.
void place(pengui::CtrlGroupItem& section, pengui::ControlInterface& control,
           const layout::Control& row);

} // namespace skin

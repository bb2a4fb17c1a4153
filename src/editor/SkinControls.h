#pragma once

// Turns rows of the layout table into toolkit controls dressed with the
// editor's skin pictures and fonts, at the editor's scale: the layout's
// logical pixels become the window's device pixels by the scale's one
// rounding rule, applied to window coordinates, so that every control sits
// where the skin's backgrounds expect it.

#include "editor/EditorLayout.h"
#include "editor/SkinPictures.h"
#include "pengui/Rect.h"
#include "pengui/Scale.h"

namespace pengui {
class ControlInterface;
class CtrlGroupItem;
class FlipFlop;
class Knob;
class TextBox;
} // namespace pengui

namespace editor {

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
// [editor thread] Gives the control the row's bounding box, position and the
// editor's scale, in copy `copy` of the row's section (the tap or the line;
// 0 for a single control), and adds it to that section's group item.
void place(pengui::CtrlGroupItem& section, pengui::ControlInterface& control,
           const layout::Control& row, const ZentrovaGui& gui, int copy = 0);

// [any thread] A rectangle of the layout in device pixels.
pengui::Rect device(const layout::Rect& r, pengui::Scale scale);
// [any thread] The row's bounding box at a scale, relative to the control's
// device position, in copy `copy` of its section.
pengui::Rect device_box(const layout::Control& row, pengui::Scale scale, int copy = 0);
// [any thread] A skin picture's box at a scale, its anchor at the origin: the
// device pixels the skin draws it into, and where the editor puts them.
pengui::Rect device_box(const layout::SkinPicture& picture, pengui::Scale scale);

} // namespace skin

} // namespace editor

#pragma once

#include "FontFiles.h"
#include "RgbaImage.h"
#include "pengui/Scale.h"

#include <map>
#include <string>

namespace skingen {

// Every picture of the skin except the five backgrounds, by resource name:
// knob faces, pointers, focus rings and drag arrows, the program, bank and
// flip-flop buttons in their five frames, the tempo spin, and the filter-type
// and LFO-waveform switches with their lit cells; at a scale, in the device
// pixels the editor gives each picture.
std::map<std::string, RgbaImage> draw_controls(const FontFiles& fonts, pengui::Scale scale);

} // namespace skingen

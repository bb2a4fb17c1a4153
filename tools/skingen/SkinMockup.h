#pragma once

#include "RgbaImage.h"

#include <string>

namespace skingen {

// The editor window as the toolkit draws it, from the APIC files in
// `skin_dir`: the background bands, and every control's resting picture at
// its place from the layout table (knob pointers turned through the range to
// show them at many angles) and sample read-outs in the two fonts, composed
// in 128 x 128 tiles by the toolkit's own Picture and text drawing. Two windows side by side: the
// second delay line on, and off as a new instance starts. False with `error` set when a file is
// missing or refused.
bool skin_mockup(const std::string& skin_dir, RgbaImage& out, std::string& error);

} // namespace skingen

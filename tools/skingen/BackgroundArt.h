#pragma once

#include "FontFiles.h"
#include "RgbaImage.h"
#include "pengui/Scale.h"

#include <map>
#include <string>

namespace skingen {

// The five background bands, by resource name, cut from two drawings of the
// whole window (second delay line on and off). The panel art is drawn around
// the controls of the editor's layout table: scales and labels under knobs,
// bezels under buttons, display windows under the read-outs. At a scale,
// what is drawn about a control moves with it onto its device pixel.
std::map<std::string, RgbaImage> draw_backgrounds(const FontFiles& fonts, pengui::Scale scale);

} // namespace skingen

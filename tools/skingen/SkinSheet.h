#pragma once

#include "FontFiles.h"
#include "GlyphStrip.h"
#include "RgbaImage.h"

#include <string>
#include <utility>
#include <vector>

namespace skingen {

// The review sheet: every picture as the editor will show it (after palette
// reduction) on a checkerboard with its name, the small ones at twice their
// size, and both glyph strips.
RgbaImage skin_sheet(const FontFiles& fonts,
                     const std::vector<std::pair<std::string, RgbaImage>>& pictures,
                     const std::vector<std::pair<std::string, GlyphStrip>>& strips);

} // namespace skingen

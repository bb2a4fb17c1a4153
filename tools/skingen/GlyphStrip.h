#pragma once

#include "FontFiles.h"
#include "pengui/Scale.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

// How a bitmap font is cut from a typeface: the strip's fixed size, the
// allowed glyph widths, the pixel size and the row the baseline sits under.
struct GlyphStripSpec {
    const char* name;
    FontFiles::Style style;
    int width, height; // of the strip, the separator row included
    int min_glyph, max_glyph;
    double pixel_size;
    int baseline; // rows above the baseline
};

// A font strip: 256 glyphs side by side, coverage 0..255, and a last row
// whose runs of 0 and 255 mark each glyph's width.
struct GlyphStrip {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
    std::vector<int> glyph_widths;
};

// Codes 33-126 and 160-255 are the typeface's Latin-1 characters, 32 is an
// empty space, the control codes (0-31, 127-159) a faint placeholder box. The
// glyph widths are the hinted advances, kept inside the allowed range and
// then evened out so that they fill the strip exactly. False with `error`
// set when they cannot.
bool build_glyph_strip(const FontFiles& fonts, const GlyphStripSpec& spec, GlyphStrip& out,
                       std::string& error);

// The strip of `at_1` (built from `spec`) at another scale: the typeface
// drawn at the scaled pixel size into glyph cells as many times wider as the
// scale says, in whole pixels rounded down, so that a text is never wider
// than the scale times its width at 1 and fits the boxes it fits there. The
// strip's height is the scaled one, its baseline no lower than the scaled
// baseline.
GlyphStrip scaled_glyph_strip(const FontFiles& fonts, const GlyphStripSpec& spec,
                              const GlyphStrip& at_1, pengui::Scale scale);

} // namespace skingen

#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <cairo-ft.h>
#include <cairo.h>

#include <string>

namespace skingen {

// The typefaces of the skin, from the DejaVu fonts Debian installs: one
// FreeType face per style, each also wrapped as a cairo font face for labels.
class FontFiles {
public:
    enum Style { sans, sans_bold, condensed, condensed_bold, style_count };

    FontFiles() = default;
    ~FontFiles();
    FontFiles(const FontFiles&) = delete;
    FontFiles& operator=(const FontFiles&) = delete;

    // Opens the four faces from `dir`; false (with `error` set) when one is missing.
    bool open(const std::string& dir, std::string& error);

    FT_Face face(Style s) const { return faces_[s]; }
    cairo_font_face_t* cairo_face(Style s) const { return cairo_faces_[s]; }

private:
    FT_Library library_ = nullptr;
    FT_Face faces_[style_count] = {};
    cairo_font_face_t* cairo_faces_[style_count] = {};
};

} // namespace skingen

#include "FontFiles.h"

namespace skingen {

namespace {
const char* const file_names[FontFiles::style_count] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf",
                                                        "DejaVuSansCondensed.ttf",
                                                        "DejaVuSansCondensed-Bold.ttf"};
}

FontFiles::~FontFiles() {
    for (int s = 0; s < style_count; ++s) {
        if (cairo_faces_[s] != nullptr)
            cairo_font_face_destroy(cairo_faces_[s]);
        if (faces_[s] != nullptr)
            FT_Done_Face(faces_[s]);
    }
    if (library_ != nullptr)
        FT_Done_FreeType(library_);
}

bool FontFiles::open(const std::string& dir, std::string& error) {
    if (FT_Init_FreeType(&library_) != 0) {
        error = "FreeType could not be initialised";
        return false;
    }
    for (int s = 0; s < style_count; ++s) {
        const std::string path = dir + "/" + file_names[s];
        if (FT_New_Face(library_, path.c_str(), 0, &faces_[s]) != 0) {
            faces_[s] = nullptr;
            error = "cannot open the font " + path + " (package fonts-dejavu-core)";
            return false;
        }
        cairo_faces_[s] = cairo_ft_font_face_create_for_ft_face(faces_[s], 0);
    }
    return true;
}

} // namespace skingen

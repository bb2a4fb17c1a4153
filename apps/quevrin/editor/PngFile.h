#pragma once

#include <string>

namespace pengui {
class PixelImage;
}

// Writes the image as an 8-bit RGB PNG at `path`; false with `error` set
// when it cannot.
bool write_png(const std::string& path, const pengui::PixelImage& image, std::string& error);

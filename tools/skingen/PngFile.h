#pragma once

#include "RgbaImage.h"

#include <string>

namespace skingen {

// Writes an 8-bit RGBA PNG; false with `error` set on failure.
bool write_png(const std::string& path, const RgbaImage& image, std::string& error);

} // namespace skingen

#include "PngFile.h"

#include <png.h>

namespace skingen {

bool write_png(const std::string& path, const RgbaImage& image, std::string& error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGBA;
    if (png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) == 0) {
        error = "cannot write " + path + ": " + png.message;
        return false;
    }
    return true;
}

} // namespace skingen

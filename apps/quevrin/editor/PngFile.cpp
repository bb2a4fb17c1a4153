#include "PngFile.h"

#include "pengui/PixelImage.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// libpng reports errors by longjmp; the write runs in a function that owns
// nothing that needs unwinding.
bool write_rows(std::FILE* file, int width, int height, std::vector<png_bytep>& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool write_png(const std::string& path, const pengui::PixelImage& image, std::string& error) {
    // The image's pixels are blue, green, red, unused.
    std::vector<unsigned char> rgb(std::size_t(image.width()) * std::size_t(image.height()) * 3);
    std::vector<png_bytep> rows(std::size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        unsigned char* out = rgb.data() + std::size_t(y) * std::size_t(image.width()) * 3;
        const unsigned char* in = image.row(y);
        for (int x = 0; x < image.width(); ++x) {
            out[3 * x] = in[4 * x + 2];
            out[3 * x + 1] = in[4 * x + 1];
            out[3 * x + 2] = in[4 * x];
        }
        rows[std::size_t(y)] = out;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (file == nullptr || !write_rows(file.get(), image.width(), image.height(), rows)) {
        error = "cannot write the picture";
        return false;
    }
    if (std::fflush(file.get()) != 0) {
        error = "cannot write the picture";
        return false;
    }
    return true;
}

// quevrin-skingen: draws the editor's 101 skin pictures and its two bitmap
// fonts at each scale and writes them as "APIC" resources, byte for byte the
// same on every run: scale 1 into OUTPUT_DIR, 1.5 and 2 into its folders
// 1.5x and 2x (the module names them NAME-1.5x and NAME-2x); optionally
// writes the review sheet and mockup of scale 1.
//
//   quevrin-skingen OUTPUT_DIR [--sheet FILE.png] [--mockup FILE.png] [--fonts DIR]
#include "ApicFile.h"
#include "BackgroundArt.h"
#include "ControlArt.h"
#include "FontFiles.h"
#include "GlyphStrip.h"
#include "PngFile.h"
#include "Quantizer.h"
#include "SkinMockup.h"
#include "SkinSheet.h"
#include "editor/EditorLayout.h"
#include "editor/SkinControls.h"
#include "editor/SkinPictures.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {
using namespace skingen;

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes,
                std::string& error) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.good()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

RgbaImage decode(const IndexedImage& in) {
    RgbaImage out(in.width, in.height);
    for (std::size_t i = 0; i < in.index.size(); ++i) {
        Rgba c = in.palette[in.index[i]];
        c.a = in.alpha.empty() ? 255 : in.alpha[i];
        out.pixels[i] = c;
    }
    return out;
}

// The two strips: glyphs of 5-8 pixels with the baseline under row 8 for the
// small read-outs; 2-13 pixels, bold, for the tempo and morph displays.
const GlyphStripSpec strip_specs[] = {
    {"font_03", FontFiles::sans, 1863, 13, 5, 8, 11.0, 9},
    {"font_04", FontFiles::sans_bold, 1946, 15, 2, 13, 12.0, 11},
};

// The folder of a scale's resources inside the output folder.
std::string scale_dir(const std::string& out_dir, pengui::Scale scale) {
    const std::string suffix = scale.suffix();
    return suffix.empty() ? out_dir : out_dir + "/" + suffix.substr(1);
}

// Every picture and font at one scale, written into its folder, the fonts
// from their strips at scale 1; the decoded pictures of scale 1 are kept for
// the review sheet.
bool draw_scale(const FontFiles& fonts, const std::string& out_dir, pengui::Scale scale,
                std::vector<std::pair<std::string, RgbaImage>>& shown,
                const std::vector<GlyphStrip>& strips, std::string& error) {
    const std::string dir = scale_dir(out_dir, scale);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = "cannot make " + dir + ": " + ec.message();
        return false;
    }
    std::map<std::string, RgbaImage> drawn = draw_controls(fonts, scale);
    for (auto& b : draw_backgrounds(fonts, scale))
        drawn[b.first] = std::move(b.second);

    std::size_t total = 0, min_palette = 256, max_palette = 0;
    for (const editor::layout::SkinPicture& p : editor::layout::skin_pictures) {
        const pengui::Rect box = editor::skin::device_box(p, scale);
        const auto it = drawn.find(p.name);
        if (it == drawn.end() || it->second.width != box.x1 - box.x0 ||
            it->second.height != box.y1 - box.y0) {
            error = std::string("the picture ") + p.name + " is missing or of the wrong size";
            return false;
        }
        const bool background = p.width == editor::layout::window_width;
        IndexedImage indexed;
        if (!quantize(it->second, !background, indexed, error))
            return false;
        if (!background) {
            min_palette = std::min(min_palette, indexed.palette.size());
            max_palette = std::max(max_palette, indexed.palette.size());
        }
        const std::vector<std::uint8_t> bytes = apic_picture(indexed);
        if (!write_file(dir + "/" + p.name + ".apic", bytes, error))
            return false;
        total += bytes.size();
        if (scale == pengui::Scale())
            shown.emplace_back(p.name, decode(indexed));
    }
    for (std::size_t f = 0; f < std::size(strip_specs); ++f) {
        const GlyphStrip strip = scale == pengui::Scale()
                                     ? strips[f]
                                     : scaled_glyph_strip(fonts, strip_specs[f], strips[f], scale);
        const std::vector<std::uint8_t> bytes =
            apic_font(strip.width, strip.height, strip.coverage);
        if (!write_file(dir + "/" + strip_specs[f].name + ".apic", bytes, error))
            return false;
        total += bytes.size();
    }
    std::printf("scale %g: %zu pictures and %zu fonts, %zu bytes, in %s "
                "(small pictures: %zu to %zu palette entries)\n",
                scale.factor(), editor::layout::skin_pictures.size(), std::size(strip_specs), total,
                dir.c_str(), min_palette, max_palette);
    return true;
}

int run(int argc, char** argv, std::string& error) {
    std::string out_dir, sheet_path, mockup_path, font_dir = "/usr/share/fonts/truetype/dejavu";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sheet" && i + 1 < argc)
            sheet_path = argv[++i];
        else if (arg == "--mockup" && i + 1 < argc)
            mockup_path = argv[++i];
        else if (arg == "--fonts" && i + 1 < argc)
            font_dir = argv[++i];
        else if (out_dir.empty() && arg.rfind("--", 0) != 0)
            out_dir = arg;
        else {
            error = "usage: quevrin-skingen OUTPUT_DIR [--sheet FILE.png] [--mockup FILE.png] "
                    "[--fonts DIR]";
            return 2;
        }
    }
    if (out_dir.empty()) {
        error = "usage: quevrin-skingen OUTPUT_DIR [--sheet FILE.png] [--mockup FILE.png] [--fonts "
                "DIR]";
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    FontFiles fonts;
    if (!fonts.open(font_dir, error))
        return 1;
    std::vector<GlyphStrip> strips(std::size(strip_specs));
    for (std::size_t f = 0; f < strips.size(); ++f)
        if (!build_glyph_strip(fonts, strip_specs[f], strips[f], error))
            return 1;
    std::vector<std::pair<std::string, RgbaImage>> shown;
    for (const pengui::Scale& scale : pengui::Scale::all)
        if (!draw_scale(fonts, out_dir, scale, shown, strips, error))
            return 1;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("wrote the skin at %zu scales in %.0f ms\n", std::size(pengui::Scale::all), ms);
    if (!sheet_path.empty()) {
        std::vector<std::pair<std::string, GlyphStrip>> named;
        for (std::size_t f = 0; f < strips.size(); ++f)
            named.emplace_back(strip_specs[f].name, strips[f]);
        if (!write_png(sheet_path, skin_sheet(fonts, shown, named), error))
            return 1;
        std::printf("wrote %s\n", sheet_path.c_str());
    }
    if (!mockup_path.empty()) {
        RgbaImage mockup;
        if (!skin_mockup(out_dir, mockup, error) || !write_png(mockup_path, mockup, error))
            return 1;
        std::printf("wrote %s\n", mockup_path.c_str());
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    std::string error;
    const int status = run(argc, argv, error);
    if (status != 0)
        std::fprintf(stderr, "quevrin-skingen: %s\n", error.c_str());
    return status;
}

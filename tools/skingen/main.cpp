// quevrin-skingen: draws the editor's 101 skin pictures and its two bitmap
// fonts and writes them as "APIC" resources, byte for byte the same on every
// run; optionally writes the review sheet.
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
#include "editor/SkinPictures.h"

#include <chrono>
#include <cstdio>
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
    std::map<std::string, RgbaImage> drawn = draw_controls(fonts);
    for (auto& b : draw_backgrounds(fonts))
        drawn[b.first] = std::move(b.second);

    std::vector<std::pair<std::string, RgbaImage>> shown;
    std::size_t total = 0, min_palette = 256, max_palette = 0;
    for (const layout::SkinPicture& p : layout::skin_pictures) {
        const auto it = drawn.find(p.name);
        if (it == drawn.end() || it->second.width != p.width || it->second.height != p.height) {
            error = std::string("the picture ") + p.name + " is missing or of the wrong size";
            return 1;
        }
        const bool background = p.width == 500;
        IndexedImage indexed;
        if (!quantize(it->second, !background, indexed, error))
            return 1;
        if (!background) {
            min_palette = std::min(min_palette, indexed.palette.size());
            max_palette = std::max(max_palette, indexed.palette.size());
        }
        const std::vector<std::uint8_t> bytes = apic_picture(indexed);
        if (!write_file(out_dir + "/" + p.name + ".apic", bytes, error))
            return 1;
        total += bytes.size();
        shown.emplace_back(p.name, decode(indexed));
    }
    std::vector<std::pair<std::string, GlyphStrip>> strips;
    for (const GlyphStripSpec& spec : strip_specs) {
        GlyphStrip strip;
        if (!build_glyph_strip(fonts, spec, strip, error))
            return 1;
        const std::vector<std::uint8_t> bytes =
            apic_font(strip.width, strip.height, strip.coverage);
        if (!write_file(out_dir + "/" + spec.name + ".apic", bytes, error))
            return 1;
        total += bytes.size();
        strips.emplace_back(spec.name, std::move(strip));
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("wrote %zu pictures and %zu fonts, %zu bytes, to %s in %.0f ms "
                "(small pictures: %zu to %zu palette entries)\n",
                shown.size(), strips.size(), total, out_dir.c_str(), ms, min_palette, max_palette);
    if (!sheet_path.empty()) {
        if (!write_png(sheet_path, skin_sheet(fonts, shown, strips), error))
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

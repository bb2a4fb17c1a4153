// The embedded skin: every picture and font has the exact header, palette
// and size the editor's loader expects, the font strips mark 256 glyphs of
// the allowed widths at every scale, and the generator gives the committed
// bytes of every scale again.
#include "SkinTestSupport.h"
#include "editor/EditorLayout.h"
#include "pengui/Scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using skin_test::Bytes;
using skin_test::field;
using skin_test::resource;

struct Expected {
    std::string name;
    int kind, width, height;
};

// Every resource of the skin as the editor's picture table and the font
// list name them.
std::vector<Expected> expected_resources() {
    std::vector<Expected> e = {{"arw_07", 1, 27, 27},          {"arw_06", 1, 20, 20},
                               {"arw_05", 1, 13, 13},          {"bkg_02_top", 0, 500, 120},
                               {"bkg_02_delay1", 0, 500, 122}, {"bkg_02_main", 0, 500, 58},
                               {"bkg_02_delay2", 0, 500, 122}, {"bkg_02_nodelay2", 0, 500, 122},
                               {"kn_05", 1, 17, 17},           {"kn_05_spn", 1, 11, 3},
                               {"kn_05_s", 1, 17, 9},          {"kn_06", 1, 27, 27},
                               {"kn_06_spn", 1, 17, 3},        {"kn_06_s", 1, 27, 14},
                               {"kn_07", 1, 37, 37},           {"kn_07_spn", 1, 23, 5},
                               {"kn_07_s", 1, 37, 20},         {"kn_08", 1, 27, 27},
                               {"kn_08_spn", 1, 9, 9},         {"sp_02_up_0", 1, 9, 9},
                               {"sp_02_up_1", 1, 9, 9},        {"sp_02_hnd_0", 1, 27, 27},
                               {"sp_02_hnd_1", 1, 27, 27},     {"sp_02_dwn_0", 1, 9, 9},
                               {"sp_02_dwn_1", 1, 9, 9},       {"sw_03", 1, 51, 33},
                               {"sw_04", 1, 87, 27},           {"font_03", 2, 1863, 13},
                               {"font_04", 2, 1946, 15}};
    for (int f = 0; f < 5; ++f) {
        const std::string s = "_" + std::to_string(f);
        for (int b = 11; b <= 18; ++b)
            e.push_back({"pb_" + std::to_string(b) + s, 1, 13, 13});
        e.push_back({"pb_19" + s, 1, 25, 28});
        e.push_back({"pb_20" + s, 1, 25, 28});
        e.push_back({"ff_04" + s, 1, 17, f >= 3 ? 18 : 17});
        e.push_back({"ff_05" + s, 1, 28, 28});
    }
    for (int p = 0; p < 4; ++p)
        e.push_back({"sw_03_" + std::to_string(p), 1, 24, 15});
    for (int p = 0; p < 10; ++p)
        e.push_back({"sw_04_" + std::to_string(p), 1, 15, 12});
    return e;
}

TEST(SkinResources, every_picture_and_font_has_the_exact_format) {
    const std::vector<Expected> all = expected_resources();
    ASSERT_EQ(all.size(), 103u);
    for (const Expected& e : all) {
        SCOPED_TRACE(e.name);
        const Bytes b = resource(e.name);
        ASSERT_GE(b.size(), 36u);
        EXPECT_EQ(field(b, 0), 1);  // version
        EXPECT_EQ(field(b, 1), 36); // header size
        EXPECT_EQ(field(b, 2), e.kind);
        EXPECT_EQ(field(b, 4), e.width);
        EXPECT_EQ(field(b, 5), e.height);
        const std::int32_t entries = field(b, 6);
        const std::size_t pixels = std::size_t(e.width) * std::size_t(e.height);
        if (e.kind == 2) {
            EXPECT_EQ(field(b, 3), 0);
            EXPECT_EQ(entries, 0);
            EXPECT_EQ(field(b, 7), 36);
            EXPECT_EQ(field(b, 8), 0);
            EXPECT_EQ(b.size(), 36 + pixels);
            continue;
        }
        EXPECT_EQ(field(b, 3), 8);
        if (e.kind == 0) {
            EXPECT_EQ(entries, 256);
        }
        EXPECT_GE(entries, 2);
        EXPECT_LE(entries, 256);
        EXPECT_EQ(field(b, 7), 36 + 4 * entries);
        EXPECT_EQ(field(b, 8), 36);
        const std::size_t per_pixel = e.kind == 1 ? 2 : 1;
        ASSERT_EQ(b.size(), 36 + 4 * std::size_t(entries) + per_pixel * pixels);
        // every index names an entry, and every palette entry's fourth byte is 0
        const std::size_t data = 36 + 4 * std::size_t(entries);
        for (std::size_t i = 0; i < pixels; ++i)
            ASSERT_LT(b[data + per_pixel * i], entries) << "pixel " << i;
        for (std::int32_t i = 0; i < entries; ++i)
            ASSERT_EQ(b[36 + 4 * std::size_t(i) + 3], 0) << "palette entry " << i;
        if (e.kind == 1) { // an alpha picture is not blank
            bool ink = false;
            for (std::size_t i = 0; i < pixels; ++i)
                ink |= b[data + 2 * i + 1] >= 128;
            EXPECT_TRUE(ink);
        }
    }
}

// Relative luminance of a 0x00RRGGBB colour (sRGB).
double luminance(unsigned rgb) {
    auto lin = [](unsigned c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(rgb >> 16 & 0xFF) + 0.7152 * lin(rgb >> 8 & 0xFF) +
           0.0722 * lin(rgb & 0xFF);
}

double contrast(unsigned a, unsigned b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(SkinResources, every_read_out_colour_stands_out_from_the_ground_under_its_box) {
    int boxes = 0;
    for (const editor::layout::Control& c : editor::layout::controls) {
        if (c.style != editor::layout::Style::text_box)
            continue;
        const editor::layout::Rect box = editor::layout::window_box(c);
        const bool top = box.y1 <= 120;
        const skin_test::Picture bkg = skin_test::picture(top ? "bkg_02_top" : "bkg_02_main");
        ASSERT_EQ(bkg.width, 500);
        double worst = 21.0;
        for (int y = box.y0; y < box.y1; ++y)
            for (int x = box.x0; x < box.x1; ++x) {
                const skin_test::Pixel& p = bkg.at(x, y - (top ? 0 : 242));
                const unsigned ground = unsigned(p.r << 16 | p.g << 8 | p.b);
                worst = std::min(worst, contrast(c.text.colour, ground));
            }
        // 3:1 is the least that small bold read-outs need
        EXPECT_GE(worst, 3.0) << "text box at (" << box.x0 << ", " << box.y0 << ") colour "
                              << std::hex << c.text.colour;
        ++boxes;
    }
    EXPECT_EQ(boxes, 8);
}

// A font strip as the font factory reads it: glyph i is the i-th run of equal
// values in the last row.
struct Strip {
    int width, height;
    const std::uint8_t* px;
    std::vector<int> x, w;
    int at(int col, int row) const {
        return px[std::size_t(row) * std::size_t(width) + std::size_t(col)];
    }
    // rows holding ink of glyph c, as [first, last]; {-1, -1} when blank
    std::pair<int, int> ink_rows(int c) const {
        int first = -1, last = -1;
        for (int row = 0; row < height - 1; ++row)
            for (int col = x[std::size_t(c)]; col < x[std::size_t(c)] + w[std::size_t(c)]; ++col)
                if (at(col, row) > 96) {
                    first = first < 0 ? row : first;
                    last = row;
                }
        return {first, last};
    }
};

Strip read_strip(const Bytes& b) {
    Strip s{field(b, 4), field(b, 5), b.data() + 36, {}, {}};
    const int sep = s.height - 1;
    for (int col = 0; col < s.width; ++col) {
        if (col == 0 || s.at(col, sep) != s.at(col - 1, sep)) {
            s.x.push_back(col);
            s.w.push_back(0);
        }
        ++s.w.back();
    }
    return s;
}

TEST(SkinResources, font_strips_hold_256_glyphs_of_the_allowed_widths_on_one_baseline) {
    struct Case {
        const char* name;
        int scale; // index into Scale::all
        int min_width, max_width;
        int baseline_row; // the last row of a capital's or digit's ink
    };
    const Case cases[] = {{"font_03", 0, 5, 8, 8},    {"font_04", 0, 2, 13, 10},
                          {"font_03", 1, 7, 12, 12},  {"font_04", 1, 3, 19, 15},
                          {"font_03", 2, 10, 16, 17}, {"font_04", 2, 4, 26, 21}};
    for (const Case& c : cases) {
        const pengui::Scale scale = pengui::Scale::all[c.scale];
        SCOPED_TRACE(std::string(c.name) + scale.suffix());
        const Bytes b = resource(c.name + std::string(scale.suffix()));
        ASSERT_GT(b.size(), 36u);
        const Strip s = read_strip(b);
        ASSERT_EQ(s.x.size(), 256u);
        // No glyph wider than the scale times its width at 1: a text fits
        // every box it fits at 1.
        const Strip at_1 = read_strip(resource(c.name));
        for (std::size_t g = 0; g < 256; ++g) {
            EXPECT_LE(s.w[g], at_1.w[g] * scale.factor()) << "glyph " << g;
        }
        for (int col = 0; col < s.width; ++col) {
            const int v = s.at(col, s.height - 1);
            ASSERT_TRUE(v == 0 || v == 255) << "separator column " << col;
        }
        for (int g = 0; g < 256; ++g) {
            EXPECT_GE(s.w[std::size_t(g)], c.min_width) << "glyph " << g;
            EXPECT_LE(s.w[std::size_t(g)], c.max_width) << "glyph " << g;
        }
        for (int g : {0x20, 0xA0}) { // the space and the no-break space
            EXPECT_EQ(s.ink_rows(g).first, -1) << "glyph " << g << " has ink";
        }
        for (int g = 33; g < 256; ++g) {
            const bool printable = (g < 127 || g > 160) && g != 0xAD; // not the soft hyphen
            EXPECT_TRUE(!printable || s.ink_rows(g).first >= 0) << "glyph " << g << " is blank";
        }
        // capitals and digits stand on the baseline
        for (int g : {'H', 'E', '0', '8', 'x', 'e'})
            EXPECT_EQ(s.ink_rows(g).second, c.baseline_row) << char(g);
        for (int g : {'g', 'p', 'y'})
            EXPECT_GT(s.ink_rows(g).second, c.baseline_row) << char(g) << " has no descender";
        // Latin-1: accented letters are their base letter with marks above it
        for (auto [plain, marked] : {std::pair{'e', 0xE9}, {'u', 0xFC}, {'E', 0xC9}}) {
            EXPECT_EQ(s.ink_rows(marked).second, s.ink_rows(plain).second) << marked;
            EXPECT_LT(s.ink_rows(marked).first, s.ink_rows(plain).first) << marked;
        }
        // the micro sign descends, the degree sign floats, plus-minus sits on the line
        EXPECT_GT(s.ink_rows(0xB5).second, c.baseline_row);
        EXPECT_LT(s.ink_rows(0xB0).second, s.ink_rows('x').first + 2 * scale.factor());
        EXPECT_EQ(s.ink_rows(0xB1).second, c.baseline_row);
    }
}

#ifdef QUEVRIN_SKINGEN_PATH
Bytes file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
#endif

TEST(SkinResources, the_generator_gives_the_committed_bytes_again) {
#ifndef QUEVRIN_SKINGEN_PATH
    GTEST_SKIP() << "quevrin-skingen was not built: cairo, FreeType, libimagequant or libpng "
                    "is missing (cmake/install-deps.sh installs them)";
#else
    const char* root = std::getenv("QUEVRIN_SOURCE_DIR");
    ASSERT_NE(root, nullptr) << "run through ctest";
    char dir_template[] = "/tmp/quevrin-skin-XXXXXX";
    const char* dir = mkdtemp(dir_template);
    ASSERT_NE(dir, nullptr);
    const std::string out(dir);
    const std::string command =
        "OMP_NUM_THREADS=1 '" QUEVRIN_SKINGEN_PATH "' '" + out + "' > /dev/null";
    const int status = std::system(command.c_str());
    for (const Expected& e : expected_resources()) {
        for (const char* folder : {"", "/1.5x", "/2x"}) {
            const std::string file = std::string(folder) + "/" + e.name + ".apic";
            EXPECT_EQ(file_bytes(out + file),
                      file_bytes(std::string(root) + "/resources/skin" + file))
                << file << " differs; run make skin and commit resources/skin";
        }
    }
    std::filesystem::remove_all(out);
    ASSERT_EQ(status, 0);
#endif
}

} // namespace

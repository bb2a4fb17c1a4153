// Fonts from "APIC" bytes: the glyph table read from the separator row
// (fewer or more than 256 runs), the two blends, and text layout: alignment,
// pixel-exact cutting at the box edge, byte 255.
#include "pengui/ApicBuilder.h"
#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/TextStyle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pengui;

namespace {

// A single-colour font with glyphs of the given widths, ink rows above the
// separator; every ink pixel is full coverage.
struct FontBytes {
    explicit FontBytes(const std::vector<int>& widths, int ink_rows = 3) {
        test::ApicBuilder b;
        b.kind = 2;
        b.bits = 0;
        for (int w : widths) {
            b.width += w;
        }
        b.height = ink_rows + 1;
        for (int y = 0; y < ink_rows; ++y) {
            for (int x = 0; x < b.width; ++x) {
                b.pixels.push_back(255);
            }
        }
        for (std::size_t g = 0; g < widths.size(); ++g) {
            for (int x = 0; x < widths[g]; ++x) {
                b.pixels.push_back(g % 2 == 0 ? 0 : 255);
            }
        }
        bytes = b.bytes();
        font = FontFactory::instance().create(bytes.data(), bytes.size());
    }
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<FontInterface> font;
};

} // namespace

TEST(FontFactory, reads_a_multicolour_font_and_refuses_what_is_no_font) {
    // Four differing pixels in the separator row: four glyphs.
    const test::ApicBuilder multi = test::alpha8(
        4, 2, [](int x, int) { return 0x10u * x; }, [](int x, int) { return x < 2 ? 0 : 255; });
    const std::vector<std::uint8_t> mb = multi.bytes();
    const auto mfont = FontFactory::instance().create(mb.data(), mb.size());
    ASSERT_NE(mfont, nullptr);
    EXPECT_EQ(mfont->glyph_count(), 4);
    test::ApicBuilder picture = test::alpha8(
        2, 2, [](int, int) { return 0u; }, [](int, int) { return 1; });
    picture.kind = 0;
    picture.pixels = {0, 1, 2, 3};
    const std::vector<std::uint8_t> pb = picture.bytes();
    EXPECT_EQ(FontFactory::instance().create(pb.data(), pb.size()), nullptr);
    const FontBytes uni({2, 3});
    ASSERT_NE(uni.font, nullptr);
    EXPECT_EQ(FontFactory::instance().create(uni.bytes.data(), uni.bytes.size() - 1), nullptr);
    EXPECT_EQ(FontFactory::instance().create("no_such_font"), nullptr);
}

TEST(FontInterface, takes_glyphs_from_the_first_256_runs_of_the_separator_row) {
    struct Case {
        int runs;
        int glyphs;
    };
    for (const Case c : {Case{1, 1}, Case{5, 5}, Case{256, 256}, Case{300, 256}}) {
        std::vector<int> widths;
        for (int i = 0; i < c.runs; ++i) {
            widths.push_back(1 + i % 3);
        }
        FontBytes f(widths);
        ASSERT_NE(f.font, nullptr);
        EXPECT_EQ(f.font->glyph_count(), c.glyphs) << c.runs;
        int x = 0;
        for (int i = 0; i < c.glyphs; ++i) {
            const FontInterface::Glyph* g = f.font->glyph(static_cast<std::uint8_t>(i));
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->x, x);
            EXPECT_EQ(g->width, widths[i]);
            x += widths[i];
        }
        if (c.glyphs < 256) {
            EXPECT_EQ(f.font->glyph(static_cast<std::uint8_t>(c.glyphs)), nullptr);
        }
    }
}

TEST(TextStyle, aligns_cuts_by_pixels_and_skips_bytes_without_glyphs) {
    // 256 glyphs: code 255 is 5 wide, every other code 1 wide.
    std::vector<int> widths(256, 1);
    widths[255] = 5;
    widths['A'] = 3;
    FontBytes f(widths);
    ASSERT_NE(f.font, nullptr);
    FontBytes few({2, 2, 2}); // codes 0 to 2 only

    struct Case {
        const FontInterface* font;
        std::string text;
        int alignment;
        int box_width;
        Rect view;
        const char* row; // buffer row 0: '#' ink, '.' ground
    };
    const std::string top(1, '\xff');
    const Case cases[] = {
        {f.font.get(), "A" + top, TextStyle::left, 12, {0, 0, 12, 3}, "########...."},
        {f.font.get(), "A" + top, TextStyle::right, 12, {0, 0, 12, 3}, "....########"},
        // 8 pixels in 11: (11 - 8) / 2 = 1
        {f.font.get(), "A" + top, TextStyle::centred, 11, {0, 0, 12, 3}, ".########..."},
        // the box ends inside the 255 glyph: cut at the pixel
        {f.font.get(), "A" + top, TextStyle::left, 6, {0, 0, 12, 3}, "######......"},
        // a view starting inside the text
        {f.font.get(), "A" + top, TextStyle::left, 12, {2, 0, 14, 3}, "######......"},
        // longer than the box, right-aligned: the start is cut
        {f.font.get(), top + top + top, TextStyle::right, 7, {0, 0, 12, 3}, "#######....."},
        {few.font.get(),
         std::string("\x01\x05\x02", 3),
         TextStyle::right,
         6,
         {0, 0, 12, 3},
         "..####......"},
        // views far away draw nothing
        {f.font.get(),
         "AAAA",
         TextStyle::left,
         12,
         {-2147483647 - 1, 0, 2147483647, 3},
         "............"},
        {f.font.get(),
         "AAAA",
         TextStyle::left,
         12,
         {0, 2147483600, 12, 2147483647},
         "............"},
    };
    for (const Case& c : cases) {
        TextStyle style;
        style.set_box_size(c.box_width, 10);
        style.set_alignment(c.alignment);
        style.set_colour(0xFFFFFF);
        style.set_text(c.text);
        MemoryRenderingBuffer buffer(12, 4);
        buffer.fill(0, 0);
        style.draw(*c.font, c.view, buffer);
        std::string row;
        for (int x = 0; x < 12; ++x) {
            row += buffer.rgb(x, 0) != 0 ? '#' : '.';
        }
        EXPECT_EQ(row, c.row) << c.text.size() << " chars, alignment " << c.alignment;
        // The separator row is never drawn.
        EXPECT_EQ(buffer.rgb(0, 3), 0u);
    }
}

TEST(TextStyle, a_centred_text_of_51_pixels_in_100_starts_at_24) {
    std::vector<int> widths(256, 1);
    widths['W'] = 17;
    FontBytes f(widths);
    TextStyle style;
    style.set_box_size(100, 3);
    style.set_alignment(TextStyle::centred);
    style.set_colour(0x00FF00);
    style.set_text("WWW");
    MemoryRenderingBuffer buffer(128, 3);
    buffer.fill(0, 0);
    style.draw(*f.font, Rect{0, 0, 100, 3}, buffer);
    EXPECT_EQ(buffer.rgb(23, 0), 0u);
    EXPECT_NE(buffer.rgb(24, 0), 0u);
    EXPECT_NE(buffer.rgb(74, 0), 0u);
    EXPECT_EQ(buffer.rgb(75, 0), 0u);
}

TEST(FontInterface, blends_coverage_in_the_colour_and_multicolour_by_transparency) {
    struct Case {
        bool multi;
        int level; // coverage, or 255 - transparency
        int colour;
        int ground;
        int want;
    };
    const Case cases[] = {{false, 128, 100, 200, 150}, {false, 128, 200, 100, 150},
                          {false, 0, 0, 77, 77},       {false, 255, 255, 0, 254},
                          {true, 128, 100, 200, 150},  {true, 0, 0, 77, 77},
                          {true, 255, 255, 0, 254}};
    for (const Case& c : cases) {
        test::ApicBuilder b;
        b.width = 2;
        b.height = 2;
        if (c.multi) {
            b.kind = 1;
            b.bits = 8;
            b.palette = {c.colour * 0x010101u};
            b.pixels = {0, static_cast<std::uint8_t>(255 - c.level), 0, 0, 0, 0, 0, 255};
        } else {
            b.kind = 2;
            b.bits = 0;
            b.pixels = {static_cast<std::uint8_t>(c.level), 0, 0, 255};
        }
        const std::vector<std::uint8_t> bytes = b.bytes();
        auto font = FontFactory::instance().create(bytes.data(), bytes.size());
        ASSERT_NE(font, nullptr);
        MemoryRenderingBuffer buffer(2, 2);
        buffer.fill(c.ground * 0x010101u, 0);
        font->draw_glyph_slice(Rect{0, 0, 2, 2}, 0, 0, buffer, c.colour * 0x010101u);
        EXPECT_EQ(buffer.rgb(0, 0), c.want * 0x010101u) << c.multi << " " << c.level;
        EXPECT_EQ(buffer.rgb(0, 1), c.ground * 0x010101u) << "separator row drawn";
    }
}

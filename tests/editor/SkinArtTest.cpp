// The skin's pixels agree with how the editor uses them: knob faces and
// pointers turn about their anchors, buttons and flip-flops light up frame by
// frame, each switch position is its cell lit, and the program buttons and
// waveform cells are told apart.
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using skin_test::Picture;
using skin_test::picture;

struct Centroid {
    double x, y;
    int min_x; // leftmost column with ink
};

// Alpha-weighted centre of a picture's ink, in pixel-centre coordinates.
Centroid centroid(const Picture& p) {
    double sx = 0, sy = 0, sw = 0;
    int min_x = p.width;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const int a = p.at(x, y).a;
            sx += a * (x + 0.5);
            sy += a * (y + 0.5);
            sw += a;
            if (a > 64)
                min_x = std::min(min_x, x);
        }
    return {sx / sw, sy / sw, min_x};
}

TEST(SkinArt, knob_faces_and_pointers_turn_about_their_anchors) {
    struct Case {
        const char* name;
        int anchor_x, anchor_y;
        bool pointer; // along +x from the anchor, so that turning it sweeps the face
    };
    for (const Case& c : {Case{"kn_05", 8, 8, false}, Case{"kn_06", 13, 13, false},
                          Case{"kn_07", 18, 18, false}, Case{"kn_08", 13, 14, false},
                          Case{"kn_08_spn", 5, 5, false}, Case{"kn_05_spn", 0, 1, true},
                          Case{"kn_06_spn", 1, 1, true}, Case{"kn_07_spn", 1, 2, true}}) {
        SCOPED_TRACE(c.name);
        const Picture p = picture(c.name);
        ASSERT_GT(p.width, 0);
        const Centroid m = centroid(p);
        EXPECT_NEAR(m.y, c.anchor_y + 0.5, 0.6);
        if (c.pointer) {
            EXPECT_GT(m.x, c.anchor_x + 3.0);
            EXPECT_GE(m.min_x, c.anchor_x);
        } else {
            EXPECT_NEAR(m.x, c.anchor_x + 0.5, 0.6);
        }
    }
}

// How lit a picture is: its alpha-weighted mean of red minus blue (the
// amber accent is high in red and low in blue; the greys are neutral).
double amber(const Picture& p, int x0 = 0, int y0 = 0, int w = -1, int h = -1) {
    w = w < 0 ? p.width : w;
    h = h < 0 ? p.height : h;
    double sum = 0, weight = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const skin_test::Pixel& px = p.at(x, y);
            sum += px.a * double(px.r - px.b);
            weight += px.a;
        }
    return sum / weight;
}

TEST(SkinArt, buttons_and_flip_flops_light_up_frame_by_frame) {
    for (const char* family : {"pb_11", "pb_14", "pb_18", "pb_19", "pb_20", "ff_04", "ff_05"}) {
        SCOPED_TRACE(family);
        double previous = -1e9;
        for (int f = 0; f < 5; ++f) {
            const double lit = amber(picture(std::string(family) + "_" + std::to_string(f)));
            EXPECT_GT(lit, previous + 2.0) << "frame " << f;
            previous = lit;
        }
    }
    // the spin's pressed parts are the lit ones
    for (const char* part : {"sp_02_up", "sp_02_dwn", "sp_02_hnd"})
        EXPECT_GT(amber(picture(std::string(part) + "_1")),
                  amber(picture(std::string(part) + "_0")) + 10.0)
            << part;
}

// Pixels that differ between two pictures (colour or alpha).
int differing(const Picture& a, const Picture& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const skin_test::Pixel &p = a.pixels[i], &q = b.pixels[i];
        n += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) + std::abs(p.a - q.a) >
             48;
    }
    return n;
}

TEST(SkinArt, switch_positions_are_their_cells_lit_and_all_cells_differ) {
    struct Case {
        const char* base;
        int cells, width, height;
        int cell_x[10], cell_y[10]; // where position picture i lies in the base
    };
    const Case cases[] = {
        {"sw_03", 4, 24, 15, {0, 0, 27, 27}, {18, 0, 0, 18}},
        {"sw_04",
         10,
         15,
         12,
         {0, 18, 36, 54, 72, 0, 18, 36, 54, 72},
         {0, 0, 0, 0, 0, 15, 15, 15, 15, 15}},
    };
    for (const Case& c : cases) {
        const Picture base = picture(c.base);
        ASSERT_GT(base.width, 0) << c.base;
        for (int i = 0; i < c.cells; ++i) {
            const std::string name = std::string(c.base) + "_" + std::to_string(i);
            const Picture lit = picture(name);
            ASSERT_EQ(lit.width, c.width) << name;
            EXPECT_GT(amber(lit), amber(base, c.cell_x[i], c.cell_y[i], c.width, c.height) + 60.0)
                << name << " is not lit";
            for (int j = 0; j < i; ++j)
                EXPECT_GT(differing(lit, picture(std::string(c.base) + "_" + std::to_string(j))), 6)
                    << name << " looks like position " << j;
        }
    }
}

TEST(SkinArt, program_buttons_carry_eight_different_numbers) {
    for (int a = 11; a <= 18; ++a)
        for (int b = 11; b < a; ++b)
            EXPECT_GT(differing(picture("pb_" + std::to_string(a) + "_0"),
                                picture("pb_" + std::to_string(b) + "_0")),
                      6)
                << a << " and " << b;
}

TEST(SkinArt, the_switched_off_second_line_is_darker_with_nothing_lit) {
    const Picture on = picture("bkg_02_delay2"), off = picture("bkg_02_nodelay2");
    ASSERT_EQ(on.width, 500);
    ASSERT_EQ(off.width, 500);
    struct Look {
        double brightness = 0;
        int lit = 0; // pixels in the amber accent
    };
    auto look = [](const Picture& p) {
        Look l;
        for (const skin_test::Pixel& px : p.pixels) {
            l.brightness += (px.r + px.g + px.b) / double(p.pixels.size());
            l.lit += px.r > 180 && px.r - px.b > 100;
        }
        return l;
    };
    const Look l_on = look(on), l_off = look(off);
    EXPECT_LT(l_off.brightness, l_on.brightness);
    EXPECT_GT(l_on.lit, 500);
    EXPECT_EQ(l_off.lit, 0);
}

} // namespace

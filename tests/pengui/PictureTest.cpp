// Picture data from "APIC" bytes: what the factory refuses, and how each kind
// draws (opaque copy, both alpha blends, sub-pixel placement, rotation),
// checked against pixels worked out here without the drawing code.
#include "pengui/Picture.h"
#include "pengui/ApicBuilder.h"
#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using pengui::MemoryRenderingBuffer;
using pengui::PicDataFactory;
using pengui::PicDataInterface;
using pengui::Picture;
using pengui::Rect;

namespace {

constexpr std::uint32_t ground = 0x102030;
constexpr std::int32_t int_min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t int_max = std::numeric_limits<std::int32_t>::max();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float not_a_number = std::numeric_limits<float>::quiet_NaN();

// A distinct colour per picture pixel.
std::uint32_t colour_of(int x, int y) {
    return 0x400000u + (y << 8) * 16 + x * 16;
}

std::unique_ptr<PicDataInterface> make(const test::ApicBuilder& b) {
    static std::vector<std::vector<std::uint8_t>> keep; // the data outlives each picture
    keep.push_back(b.bytes());
    return PicDataFactory::instance().create(keep.back().data(), keep.back().size());
}

test::ApicBuilder opaque8(int w, int h) {
    test::ApicBuilder b = test::alpha8(w, h, colour_of, [](int, int) { return 255; });
    b.kind = 0;
    std::vector<std::uint8_t> indices;
    for (std::size_t i = 0; i < b.pixels.size(); i += 2) {
        indices.push_back(b.pixels[i]);
    }
    b.pixels = indices;
    return b;
}

MemoryRenderingBuffer grounded(int w = 16, int h = 16) {
    MemoryRenderingBuffer buffer(w, h);
    buffer.fill(ground, 0);
    return buffer;
}

} // namespace

TEST(PicDataFactory, refuses_resources_it_cannot_read_safely) {
    const test::ApicBuilder good = test::alpha8(4, 3, colour_of, [](int, int) { return 200; });
    struct Case {
        const char* what;
        int at; // header byte offset to patch, -1 for none
        std::int32_t value;
        std::size_t cut; // bytes dropped from the end
    };
    const std::int32_t end = static_cast<std::int32_t>(good.bytes().size());
    const Case cases[] = {
        {"version 0", 0, 0, 0},
        {"header size 35", 4, 35, 0},
        {"kind 3", 8, 3, 0},
        {"bits 16", 12, 16, 0},
        {"width 0", 16, 0, 0},
        {"height 0", 20, 0, 0},
        {"width negative only", 16, -4, 0},
        {"height negative only", 20, -3, 0},
        {"palette of 257", 24, 257, 0},
        {"palette count negative", 24, -1, 0},
        {"pixels one byte short", -1, 0, 1},
        {"pixel offset past the end", 28, end, 0},
        {"pixel offset negative", 28, -36, 0},
        {"width x height overflows 32 bits", 16, 0x10001, 0},
        {"width and height at the int32 limit", 16, int_max, 0},
        {"palette offset past the end", 32, end - 8, 0},
        {"palette offset negative", 32, -4, 0},
        {"palette smaller than the indices", 24, 11, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good.bytes();
        if (c.at >= 0) {
            test::ApicBuilder::patch(bytes, c.at, c.value);
        }
        if (std::string(c.what) == "width and height at the int32 limit") {
            test::ApicBuilder::patch(bytes, 20, int_max);
        }
        bytes.resize(bytes.size() - c.cut);
        EXPECT_EQ(PicDataFactory::instance().create(bytes.data(), bytes.size()), nullptr) << c.what;
    }
    // Every prefix shorter than the whole resource is refused.
    const std::vector<std::uint8_t> bytes = good.bytes();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + n);
        EXPECT_EQ(PicDataFactory::instance().create(prefix.data(), n), nullptr) << n;
    }
    EXPECT_NE(PicDataFactory::instance().create(bytes.data(), bytes.size()), nullptr);
    EXPECT_EQ(PicDataFactory::instance().create("no_such_picture"), nullptr);
}

TEST(AlphaPicData, blends_each_class_with_its_own_rounding) {
    struct Case {
        int bits;
        int alpha;
        int src;
        int dst;
        int want;
    };
    const Case cases[] = {
        {8, 128, 100, 200, 150},  {8, 128, 200, 100, 150},  {8, 0, 100, 200, 200},
        {8, 255, 100, 200, 100},  {8, 1, 0, 255, 254},      {8, 254, 255, 0, 253},
        {24, 128, 100, 200, 149}, {24, 128, 200, 100, 149}, {24, 0, 100, 200, 200},
        {24, 255, 100, 200, 100}, {24, 1, 255, 0, 0},       {24, 254, 255, 255, 254},
    };
    for (const Case& c : cases) {
        const std::uint32_t src = c.src * 0x010101u;
        test::ApicBuilder b = test::alpha8(
            1, 1, [&](int, int) { return src; }, [&](int, int) { return c.alpha; });
        if (c.bits == 24) {
            b.bits = 24;
            b.pixels = {static_cast<std::uint8_t>(c.src), static_cast<std::uint8_t>(c.src),
                        static_cast<std::uint8_t>(c.src), static_cast<std::uint8_t>(c.alpha)};
        }
        auto pic = make(b);
        MemoryRenderingBuffer buffer(2, 1);
        buffer.fill(c.dst * 0x010101u, 0);
        pic->draw(Rect{0, 0, 1, 1}, buffer);
        EXPECT_EQ(buffer.rgb(0, 0), c.want * 0x010101u)
            << c.bits << " bits, alpha " << c.alpha << ", " << c.src << " over " << c.dst;
        EXPECT_EQ(buffer.rgb(1, 0), c.dst * 0x010101u);
    }
}

TEST(PicData, draws_exactly_the_view_rectangle_and_nothing_else) {
    const Rect views[] = {
        {0, 0, 5, 4},
        {-3, -2, 5, 4},
        {2, 1, 4, 3},
        {-20, 0, -15, 4},
        {5, 0, 9, 4},
        {1, -16, 5, 0},
        {-15, -15, 100, 100},
        {int_min, int_min, int_max, int_max},
        {int_max - 2, 0, int_max, 4},
        {int_min, 0, int_min + 3, 4},
        {3, 2, 1, 0},
        {-1, -1, int_max, int_max},
    };
    auto pic8 = make(opaque8(5, 4));
    test::ApicBuilder b24;
    b24.kind = 0;
    b24.bits = 24;
    b24.width = 5;
    b24.height = 4;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            test::ApicBuilder::put(b24.pixels, colour_of(x, y));
        }
    }
    auto pic24 = make(b24);
    auto alpha = make(test::alpha8(5, 4, colour_of, [](int, int) { return 255; }));
    for (const PicDataInterface* pic : {pic8.get(), pic24.get(), alpha.get()}) {
        for (const Rect& v : views) {
            MemoryRenderingBuffer buffer = grounded(16, 16);
            EXPECT_EQ(pic->draw(v, buffer), 0);
            for (int by = 0; by < 16; ++by) {
                for (int bx = 0; bx < 16; ++bx) {
                    const long long px = static_cast<long long>(bx) + v.x0;
                    const long long py = static_cast<long long>(by) + v.y0;
                    const bool shown =
                        px >= 0 && py >= 0 && px < 5 && py < 4 && px < v.x1 && py < v.y1;
                    const std::uint32_t want =
                        shown ? colour_of(static_cast<int>(px), static_cast<int>(py)) : ground;
                    ASSERT_EQ(buffer.rgb(bx, by), want)
                        << "view " << v.x0 << "," << v.y0 << "," << v.x1 << "," << v.y1 << " pixel "
                        << bx << "," << by;
                }
            }
        }
    }
}

TEST(Picture, places_integral_origins_whole_and_others_by_sub_pixel_weights) {
    // Two opaque pixels, 0 and 200 grey; drawn on black.
    auto pic = make(test::alpha8(
        2, 1, [](int x, int) { return x == 0 ? 0u : 200 * 0x010101u; },
        [](int, int) { return 255; }));
    Picture p;
    p.set_data(pic.get());
    p.set_anchor(1, 0);
    struct Case {
        float x;
        float y;
        std::uint32_t want[3]; // buffer pixels 0 to 2 of row 0
    };
    // Owner point x lands on buffer pixel 0: with the anchor at picture
    // column 1, x = -1 puts column 0 on pixel 0, column 1 on pixel 1.
    const Case cases[] = {
        {-1.0f, 0.0f, {0, 200 * 0x010101u, 0}},
        // Within float rounding of a whole pixel counts as whole only when
        // positive: column 1 on pixel 0; just left of -1 blends 255/256.
        {1.0e-7f, 0.0f, {200 * 0x010101u, 0, 0}},
        {-1.0000001f, 0.0f, {0, 198 * 0x010101u, 0}},
        // Half a pixel right of column 0: pixel 0 mixes 0 and 200 half and half,
        // pixel 1 is column 1 at weight 128 alone: ((128 * 255 * 200) >> 16) = 99.
        {-0.5f, 0.0f, {99 * 0x010101u, 99 * 0x010101u, 0}},
        {-2.0f, 0.0f, {0, 0, 200 * 0x010101u}},
    };
    for (const Case& c : cases) {
        MemoryRenderingBuffer buffer(3, 1);
        buffer.fill(0, 0);
        p.draw_at(c.x, c.y, 3, 1, buffer);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(buffer.rgb(i, 0), c.want[i]) << c.x << " pixel " << i;
        }
    }
}

TEST(Picture, turns_about_its_anchor) {
    // A 5 x 5 picture, red centre, a green arm to the right of it.
    auto colour = [](int x, int y) {
        if (x == 2 && y == 2) {
            return 0xFF0000u;
        }
        return (y == 2 && x > 2) ? 0x00FF00u : 0x000000u;
    };
    auto alpha = [](int x, int y) { return (y == 2 && x >= 2) ? 255 : 0; };
    auto pic8 = make(test::alpha8(5, 5, colour, alpha));
    test::ApicBuilder b24 = test::alpha8(5, 5, colour, alpha);
    b24.bits = 24;
    b24.pixels.clear();
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            test::ApicBuilder::put(b24.pixels, colour(x, y) | (alpha(x, y) << 24));
        }
    }
    auto pic24 = make(b24);
    const double pi = std::acos(-1.0);
    struct Case {
        double turns;
        int arm_dx; // where the arm's far end lands, relative to the centre
        int arm_dy;
    };
    // Counter-clockwise on screen: a quarter turn points the arm up.
    const Case cases[] = {{0.25, 0, -2}, {0.5, -2, 0}, {-0.25, 0, 2}, {1.0, 2, 0}};
    for (const PicDataInterface* data : {pic8.get(), pic24.get()}) {
        Picture p;
        p.set_data(data);
        p.set_anchor(2, 2);
        for (const Case& c : cases) {
            MemoryRenderingBuffer buffer = grounded(9, 9);
            // Anchor on buffer pixel (4, 4).
            p.draw_rotated(-4.0f, -4.0f, 9, 9, static_cast<float>(c.turns * 2 * pi), buffer);
            auto near = [](std::uint32_t got, std::uint32_t want) {
                for (int s = 0; s < 24; s += 8) {
                    if (std::abs(int((got >> s) & 0xFF) - int((want >> s) & 0xFF)) > 3) {
                        return false;
                    }
                }
                return true;
            };
            EXPECT_TRUE(near(buffer.rgb(4, 4), 0xFF0000)) << c.turns << ": " << buffer.rgb(4, 4);
            EXPECT_TRUE(near(buffer.rgb(4 + c.arm_dx, 4 + c.arm_dy), 0x00FF00)) << c.turns;
            EXPECT_EQ(buffer.rgb(4 - c.arm_dx, 4 - c.arm_dy), ground) << c.turns;
            EXPECT_EQ(buffer.rgb(0, 0), ground);
        }
    }
}

TEST(Picture, drawn_at_scale_2_turns_about_the_centre_of_its_logical_anchor_pixel) {
    // A logical pixel at scale 2: a 2 x 2 block, anchored at its top-left.
    auto block = make(test::alpha8(
        2, 2, [](int, int) { return 0xFF0000u; }, [](int, int) { return 255; }));
    Picture p;
    p.set_data(block.get());
    const double pi = std::acos(-1.0);
    for (const double turns : {0.25, 0.5, 0.75}) {
        const auto angle = static_cast<float>(turns * 2 * pi);
        // Turned about the block's centre it stays on its four pixels.
        MemoryRenderingBuffer buffer = grounded(8, 8);
        p.draw_rotated(-3.0f, -3.0f, 8, 8, angle, buffer, 0.5f);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = (x == 3 || x == 4) && (y == 3 || y == 4);
                // A full-weight blend stops one level short of the colour.
                const std::uint32_t got = buffer.rgb(x, y);
                EXPECT_TRUE(inside ? got >> 16 >= 0xFE && (got & 0xFFFF) == 0 : got == ground)
                    << turns << " turn at (" << x << ", " << y << "): " << std::hex << got;
            }
        }
        // About the anchor pixel's centre, as at scale 1, it moves away.
        MemoryRenderingBuffer unscaled = grounded(8, 8);
        p.draw_rotated(-3.0f, -3.0f, 8, 8, angle, unscaled);
        EXPECT_EQ(unscaled.rgb(4, 4), ground) << turns;
    }
}

TEST(Picture, absurd_origins_angles_and_views_draw_nothing_and_stay_inside) {
    auto pic = make(test::alpha8(6, 5, colour_of, [](int, int) { return 200; }));
    Picture p;
    p.set_data(pic.get());
    p.set_anchor(3, 2);
    struct Case {
        float x;
        float y;
        float angle;
        int view_w;
        int view_h;
    };
    const Case cases[] = {
        {not_a_number, 0, 0.5f, 8, 8},
        {0, not_a_number, 0.5f, 8, 8},
        {0, 0, not_a_number, 8, 8},
        {0, 0, inf, 8, 8},
        {0, 0, -inf, 8, 8},
        {inf, 0, 0.5f, 8, 8},
        {-inf, -inf, 0, 8, 8},
        {3e9f, 0, 0.5f, 8, 8},
        {-3e38f, 3e38f, 0.3f, 8, 8},
        {2e9f, 2e9f, 0, 8, 8},
        {0.5f, 1e30f, 0, 8, 8},
        {-100.25f, -40.5f, 0, 8, 8},
        {-2.5f, -1.5f, 0, -5, -5},
        {-2.5f, -1.5f, 0.7f, int_min, int_min},
    };
    for (const Case& c : cases) {
        MemoryRenderingBuffer buffer = grounded(8, 8);
        EXPECT_EQ(p.draw_rotated(c.x, c.y, c.view_w, c.view_h, c.angle, buffer), 0);
        if (std::isfinite(c.angle)) {
            EXPECT_EQ(p.draw_at(c.x, c.y, c.view_w, c.view_h, buffer), 0);
        }
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                ASSERT_EQ(buffer.rgb(x, y), ground) << c.x << "," << c.y << " angle " << c.angle;
            }
        }
    }
    // A huge view size is held to the buffer.
    MemoryRenderingBuffer buffer = grounded(8, 8);
    p.draw_rotated(-4, -4, int_max, int_max, 0.3f, buffer);
    p.draw_at(-4.5f, -4.5f, int_max, int_max, buffer);
    EXPECT_NE(buffer.rgb(4, 4), ground);
}

TEST(MemoryRenderingBuffer, fills_plain_or_checkered_and_copies_clipped_blocks) {
    MemoryRenderingBuffer buffer(20, 10);
    buffer.fill(0x123456, 1);
    EXPECT_EQ(buffer.rgb(0, 0), 0x123456u);
    EXPECT_EQ(buffer.rgb(7, 7), 0x123456u);
    EXPECT_EQ(buffer.rgb(8, 0), 0xFFFFFFu);
    EXPECT_EQ(buffer.rgb(0, 8), 0xFFFFFFu);
    EXPECT_EQ(buffer.rgb(8, 8), 0x123456u);
    buffer.fill(0xABCDEF, 0);
    EXPECT_EQ(buffer.rgb(19, 9), 0xABCDEFu);
    pengui::PixelImage image(100, 200, 6, 5);
    buffer.set_target(&image);
    buffer.copy_block(103, 198, 50, 4); // held to the buffer, then to the image
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool copied = x >= 3 && y < 2;
            EXPECT_EQ(image.rgb(x, y), copied ? 0xABCDEFu : 0u) << x << "," << y;
        }
    }
    buffer.copy_block(int_min, int_max, int_max, int_max); // far away: nothing
    EXPECT_EQ(image.rgb(0, 4), 0u);
}

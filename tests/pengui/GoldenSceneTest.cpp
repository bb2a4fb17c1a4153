// A small scene (two background bands, a knob, a text box) painted through
// the window's tile loop, compared pixel by pixel with an image composed
// here from the pictures' own pixels; and the same scene painted and driven
// without a single allocation.
#include "pengui/BackgroundItem.h"
#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/Knob.h"
#include "pengui/TextBox.h"
#include "pengui/ToolkitHarness.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pengui;

namespace {

constexpr int width = 200;
constexpr int height = 160;

// Opaque band pictures of 256-entry palettes.
std::uint32_t band_palette(int band, int i) {
    return (band == 0 ? i * 0x010203u : 0xFF0000u - i * 0x000102u) & 0xFFFFFFu;
}
int band_index(int band, int x, int y) {
    return band == 0 ? (x + 3 * y) % 256 : (7 * x + y) % 256;
}

test::ApicBuilder band(int b, int h) {
    test::ApicBuilder p;
    p.kind = 0;
    p.width = width;
    p.height = h;
    for (int i = 0; i < 256; ++i) {
        p.palette.push_back(band_palette(b, i));
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < width; ++x) {
            p.pixels.push_back(static_cast<std::uint8_t>(band_index(b, x, y)));
        }
    }
    return p;
}

constexpr std::uint32_t face_colour = 0x3366CC;
constexpr int face_alpha = 200;
constexpr std::uint32_t text_colour = 0xFF0000;

struct GoldenScene {
    GoldenScene()
        : top(band(0, 100)), bottom(band(1, 60)),
          face(test::solid(21, 21, face_colour, face_alpha)), pointer(test::solid(3, 3, 0xFFFFFF)) {
        // Font: every code 1 pixel wide, 'A' 4 and 'B' 3; three ink rows.
        test::ApicBuilder f;
        f.kind = 2;
        f.bits = 0;
        std::vector<int> widths(256, 1);
        widths['A'] = 4;
        widths['B'] = 3;
        for (int w : widths) {
            f.width += w;
        }
        f.height = 4;
        f.pixels.assign(static_cast<std::size_t>(f.width) * 3, 255);
        for (int g = 0; g < 256; ++g) {
            f.pixels.insert(f.pixels.end(), widths[g], g % 2 == 0 ? 0 : 255);
        }
        font_bytes = f.bytes();
        font = FontFactory::instance().create(font_bytes.data(), font_bytes.size());

        window.set_background_root(&bands);
        bands.add_child(&top_item, 100);
        bands.add_child(&bottom_item, 60);
        top_item.set_picture(top.picture);
        bottom_item.set_picture(bottom.picture);
        bands.set_position(0, 0);

        face.picture.set_anchor(10, 10);
        pointer.picture.set_anchor(1, 1);
        knob.set_frame(0, face.picture);
        knob.set_picture(Knob::pointer_picture, pointer.picture);
        knob.set_pointer_radius(6);
        text.set_font(font.get());
        text.set_colour(text_colour);
        text.set_text("AB");
        scene.window.set_background_root(&bands);
        scene.add(knob, 60, 110, 0, 0);
        knob.set_box(-10, -10, 11, 11);
        scene.add(text, 120, 20, 60, 10);
        text.set_box_size(60, 10);
        scene.open();
        knob.set_value_from_outside(0.5, 1); // pointer straight up
    }

    // The expected picture, composed pixel by pixel.
    std::uint32_t expected(int x, int y) const {
        const int b = y < 100 ? 0 : 1;
        const std::uint32_t ground = band_palette(b, band_index(b, x, b == 0 ? y : y - 100));
        int c[3] = {int(ground & 0xFF), int((ground >> 8) & 0xFF), int(ground >> 16)};
        auto blend = [&c](std::uint32_t colour, int a) {
            for (int k = 0; k < 3; ++k) {
                const int s = (colour >> (8 * k)) & 0xFF;
                c[k] = c[k] + ((a * (s - c[k])) >> 8);
            }
        };
        if (x >= 50 && x < 71 && y >= 100 && y < 121) {
            blend(face_colour, face_alpha);
        }
        if (x >= 59 && x < 62 && y >= 103 && y < 106) {
            c[0] = c[1] = c[2] = 255; // the pointer, 6 pixels above the centre
        }
        if (y >= 20 && y < 23 && x >= 120 && x < 127) {
            blend(text_colour, 255); // "AB": 7 pixels of full coverage
        }
        return std::uint32_t(c[0]) | std::uint32_t(c[1]) << 8 | std::uint32_t(c[2]) << 16;
    }

    test::OwnedPicture top, bottom, face, pointer;
    std::vector<std::uint8_t> font_bytes;
    std::unique_ptr<FontInterface> font;
    test::ControlScene scene{width, height};
    HeadlessWindow& window = scene.window;
    BackgroundSplit bands;
    BackgroundItem top_item, bottom_item;
    Knob knob;
    TextBox text;
};

} // namespace

TEST(GoldenScene, any_rectangle_painted_through_the_tiles_matches_the_composed_image) {
    GoldenScene g;
    const Rect rects[] = {{0, 0, width, height},
                          {100, 90, 140, 135},
                          {127, 127, 129, 129},
                          {-50, -50, 30, 300},
                          {55, 101, 56, 102}};
    for (const Rect& r : rects) {
        const PixelImage image = g.window.render(r);
        ASSERT_EQ(image.width(),
                  std::max<long long>(
                      std::min(r.x1, width) - static_cast<long long>(std::max(r.x0, 0)), 0));
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                ASSERT_EQ(image.rgb(x, y), g.expected(image.x() + x, image.y() + y))
                    << "rect " << r.x0 << "," << r.y0 << " pixel " << image.x() + x << ","
                    << image.y() + y;
            }
        }
    }
}

TEST(GoldenScene, painting_and_message_delivery_allocate_nothing) {
    test::FakeClock clock;
    GoldenScene g;
    g.window.render(Rect{0, 0, width, height}); // warm-up outside the count
    long allocations = 0;
    {
        const test::AllocationCounter counter;
        g.window.redraw(Rect{0, 0, width, height});
        // A knob drag with timers, repaints as it goes, then the release.
        g.window.mouse_button(60, 110, MouseClick::left);
        for (int i = 1; i <= 20; ++i) {
            g.window.mouse_move(60, 110 - 3 * i);
            clock.set(i * 0.03);
            g.window.run_timers();
            g.window.paint();
        }
        g.window.mouse_button(60, 50, 0);
        for (int i = 21; i <= 200; ++i) {
            clock.set(i * 0.03);
            g.window.run_timers();
        }
        g.window.paint();
        // A text edit that is requested and then cancelled.
        g.text.set_editable(true);
        g.window.mouse_button(125, 22, MouseClick::left);
        g.text.handle(ShowObject(false));
        allocations = counter.count();
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(g.knob.value(), 0.5);
    EXPECT_EQ(g.window.running_timers(), 0);
}

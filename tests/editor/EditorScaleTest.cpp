// The editor at scales 1, 1.5 and 2: its layout turned into device pixels
// without gaps or overlaps, and its 2x picture drawn anew from the 2x skin
// (not an enlarged 1x one, yet the same picture). The X11 tests drive it at
// 1.5 and 2 (tests/apps/quevrin).
#include "EditorHarness.h"

#include "editor/SkinControls.h"
#include "pengui/PixelImage.h"
#include "pengui/Scale.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace editor;

namespace {

using editor_test::EditorHarness;
using layout::ControlId;
using pengui::Scale;

// The editor as the filter makes it, its window at a scale.
struct ScaledEditor {
    explicit ScaledEditor(Scale scale)
        : env("QUEVRIN_SCALE", std::to_string(scale.factor())), scale(scale) {}
    // The device point of a control's logical position.
    layout::Point at(ControlId id, int copy = 0) const {
        const layout::Point p = EditorHarness::at(id, copy);
        return {scale.device(p.x), scale.device(p.y)};
    }
    test::ScopedEnv env;
    Scale scale;
    EditorHarness e;
};

TEST(EditorScale, sections_tile_the_window_and_boxes_meet_or_part_as_they_do_at_1) {
    for (const Scale& scale : Scale::all) {
        SCOPED_TRACE(scale.factor());
        const int width = scale.device(layout::window_width);
        const int height = scale.device(layout::window_height);
        std::vector<int> covered(std::size_t(width) * std::size_t(height), 0);
        for (const layout::Section& s : layout::sections) {
            const pengui::Rect r = skin::device(s.window, scale);
            for (int y = r.y0; y < r.y1; ++y)
                for (int x = r.x0; x < r.x1; ++x)
                    ++covered[std::size_t(y) * std::size_t(width) + std::size_t(x)];
        }
        int wrong = 0;
        for (const int c : covered)
            wrong += c != 1 ? 1 : 0;
        EXPECT_EQ(wrong, 0) << "device pixels in a gap or under two sections";

        // Every pair of control boxes, in every copy of their sections.
        std::vector<layout::Rect> boxes;
        for (const layout::Control& c : layout::controls)
            for (int n = 0; n < layout::copies(c); ++n)
                boxes.push_back(layout::window_box(c, n));
        const auto overlap = [](const auto& a, const auto& b) {
            return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
        };
        for (std::size_t i = 0; i < boxes.size(); ++i)
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const pengui::Rect a = skin::device(boxes[i], scale);
                const pengui::Rect b = skin::device(boxes[j], scale);
                EXPECT_EQ(overlap(a, b), overlap(boxes[i], boxes[j])) << i << " and " << j;
                EXPECT_EQ(a.x1 == b.x0, boxes[i].x1 == boxes[j].x0) << i << " and " << j;
                EXPECT_EQ(a.y1 == b.y0, boxes[i].y1 == boxes[j].y0) << i << " and " << j;
            }
    }
}

// The share of 2 x 2 blocks of `image` inside `area` (1x pixels) whose four
// pixels are not all alike: none in an enlarged picture.
double detailed_blocks(const pengui::PixelImage& image, const layout::Rect& area) {
    int detailed = 0;
    for (int y = area.y0; y < area.y1; ++y)
        for (int x = area.x0; x < area.x1; ++x) {
            const std::uint32_t p = image.rgb(2 * x, 2 * y);
            detailed += image.rgb(2 * x + 1, 2 * y) != p || image.rgb(2 * x, 2 * y + 1) != p ||
                                image.rgb(2 * x + 1, 2 * y + 1) != p
                            ? 1
                            : 0;
        }
    return double(detailed) / (area.width() * area.height());
}

TEST(EditorScale, at_2_the_editor_is_drawn_anew_and_halved_it_is_the_1x_picture) {
    ScaledEditor one(Scale::all[0]);
    ScaledEditor two(Scale::all[2]);
    for (ScaledEditor* s : {&one, &two}) {
        s->e.click(s->at(ControlId::delay_2));
        s->e.click(s->at(ControlId::line_time, 1));
        s->e.run(1.0);
    }
    int width = 0, height = 0;
    two.e.gui->get_size(width, height);
    EXPECT_EQ(width, 1000);
    EXPECT_EQ(height, 844);
    const pengui::PixelImage small = one.e.window->render(pengui::Rect{0, 0, 500, 422});
    const pengui::PixelImage large = two.e.window->render(pengui::Rect{0, 0, width, height});
    ASSERT_EQ(large.width(), 1000);
    ASSERT_EQ(large.height(), 844);

    // Text and knob edges carry detail an enlargement has not.
    const layout::Rect tempo = layout::window_box(layout::control(ControlId::tempo_box));
    const layout::Rect knob = layout::window_box(layout::control(ControlId::filter_cutoff), 1);
    EXPECT_GT(detailed_blocks(large, tempo), 0.15) << "the tempo read-out is an enlargement";
    EXPECT_GT(detailed_blocks(large, knob), 0.3) << "line 2's cutoff knob is an enlargement";

    // Each 2 x 2 block averaged is the 1x pixel, give or take antialiasing
    // and hinting along edges and letters (about 2 % of the channels).
    long long total = 0;
    int far_off = 0;
    for (int y = 0; y < 422; ++y)
        for (int x = 0; x < 500; ++x)
            for (int shift = 0; shift < 24; shift += 8) {
                int sum = 0;
                for (int k = 0; k < 4; ++k)
                    sum += int(large.rgb(2 * x + (k & 1), 2 * y + (k >> 1)) >> shift & 0xFF);
                const int d = std::abs(sum / 4 - int(small.rgb(x, y) >> shift & 0xFF));
                total += d;
                far_off += d > 64 ? 1 : 0;
            }
    const double mean = double(total) / (500.0 * 422 * 3);
    EXPECT_LT(mean, 4.0) << "mean difference per channel";
    EXPECT_LT(far_off, 500 * 422 * 3 * 3 / 100) << "channels off by more than a quarter";
}

} // namespace

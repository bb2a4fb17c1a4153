// The editor-sized repaint through the window's tile loop: 500 x 422 pixels,
// five opaque 500-wide background bands, 60 knobs (face, rotated pointer,
// focus ring) and 40 text boxes; and the cost per pixel of the rotated and
// sub-pixel picture draws on their own.

#include "pengui/ApicBuilder.h"
#include "pengui/BackgroundItem.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/HeadlessWindow.h"
#include "pengui/Knob.h"
#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/Messages.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"
#include "pengui/SPTreeSplit.h"
#include "pengui/TextBox.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace pengui;

namespace {

// A picture made from builder bytes that live as long as it.
struct Owned {
    explicit Owned(const test::ApicBuilder& b) : bytes(b.bytes()) {
        data = PicDataFactory::instance().create(bytes.data(), bytes.size());
        picture.set_data(data.get());
    }
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<PicDataInterface> data;
    Picture picture;
};

// An opaque band with a full palette.
test::ApicBuilder band(int height, int seed) {
    test::ApicBuilder b;
    b.kind = 0;
    b.width = 500;
    b.height = height;
    for (int i = 0; i < 256; ++i) {
        b.palette.push_back(static_cast<std::uint32_t>(i * 0x010101 + seed) & 0xFFFFFF);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < 500; ++x) {
            b.pixels.push_back(static_cast<std::uint8_t>((x * 7 + y * 13 + seed) & 0xFF));
        }
    }
    return b;
}

// A round alpha picture of size x size: opaque inside radius r, soft edge.
test::ApicBuilder disc(int size, double r, double ring) {
    test::ApicBuilder b;
    b.width = b.height = size;
    for (int i = 0; i < 16; ++i) {
        b.palette.push_back(static_cast<std::uint32_t>(i * 0x0F0F0F));
    }
    const double c = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x - c, y - c);
            const double inside = ring > 0 ? 1 - std::fabs(d - r) / ring : r - d + 0.5;
            const int a = static_cast<int>(std::clamp(inside, 0.0, 1.0) * 255);
            b.pixels.push_back(static_cast<std::uint8_t>((x + y) % 16));
            b.pixels.push_back(static_cast<std::uint8_t>(a));
        }
    }
    return b;
}

test::ApicBuilder pointer_picture() {
    test::ApicBuilder b;
    b.width = 4;
    b.height = 14;
    b.palette = {0xFFFFFF};
    for (int i = 0; i < 4 * 14; ++i) {
        b.pixels.push_back(0);
        b.pixels.push_back(255);
    }
    return b;
}

// A 13-pixel strip of 256 glyphs 5 to 8 wide, as the editor's small font.
std::vector<std::uint8_t> font_bytes() {
    test::ApicBuilder b;
    b.kind = 2;
    b.bits = 0;
    std::vector<int> widths;
    for (int g = 0; g < 256; ++g) {
        widths.push_back(5 + g % 4);
        b.width += widths.back();
    }
    b.height = 13;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < b.width; ++x) {
            b.pixels.push_back(static_cast<std::uint8_t>((x * 31 + y * 17) % 3 == 0 ? 255 : 0));
        }
    }
    for (int g = 0; g < 256; ++g) {
        b.pixels.insert(b.pixels.end(), widths[g], g % 2 == 0 ? 0 : 255);
    }
    return b.bytes();
}

struct EditorScene {
    EditorScene()
        : window(500, 422), face(disc(37, 17, 0)), pointer(pointer_picture()),
          focus(disc(37, 17, 2)), font_data(font_bytes()) {
        font = FontFactory::instance().create(font_data.data(), font_data.size());
        const int heights[] = {120, 122, 58, 122, 122};
        for (int i = 0; i < 5; ++i) {
            bands.push_back(std::make_unique<Owned>(band(heights[i], 40 * i)));
            items.push_back(std::make_unique<BackgroundItem>());
            items.back()->set_picture(bands.back()->picture);
            background.add_child(items.back().get(), heights[i]);
        }
        face.picture.set_anchor(18, 18);
        pointer.picture.set_anchor(2, 13);
        focus.picture.set_anchor(18, 18);
        for (int i = 0; i < 60; ++i) {
            auto knob = std::make_unique<Knob>();
            knob->set_box(-18, -18, 19, 19);
            knob->set_frame(0, face.picture);
            knob->set_picture(Knob::pointer_picture, pointer.picture);
            knob->set_picture(Knob::focus_picture, focus.picture);
            knob->set_rotate_pointer(true);
            knob->set_position_in_group(25 + 48 * (i % 10), 30 + 65 * (i / 10));
            group.add_control(knob.get());
            knobs.push_back(std::move(knob));
        }
        for (int i = 0; i < 40; ++i) {
            auto box = std::make_unique<TextBox>();
            box->set_box(0, 0, 60, 13);
            box->set_box_size(60, 13);
            box->set_font(font.get());
            box->set_alignment(i % 3);
            box->set_text("123.45 ms");
            box->set_position_in_group(10 + 98 * (i % 5), 55 + 52 * (i / 5));
            group.add_control(box.get());
            boxes.push_back(std::move(box));
        }
        controls.add_child(&group, 500);
        window.set_background_root(&background);
        window.set_control_root(&controls);
        background.set_position(0, 0);
        controls.set_position(0, 0);
        window.open(nullptr);
        for (std::size_t i = 0; i < knobs.size(); ++i) {
            knobs[i]->set_value_from_outside(i / 59.0, 1);
            // A press on a disabled knob gives it the focus and nothing else.
            knobs[i]->disable();
            knobs[i]->handle(MouseClick(knobs[i]->absolute_x(), knobs[i]->absolute_y(), 1));
        }
    }

    HeadlessWindow window;
    Owned face, pointer, focus;
    std::vector<std::uint8_t> font_data;
    std::unique_ptr<FontInterface> font;
    std::vector<std::unique_ptr<Owned>> bands;
    std::vector<std::unique_ptr<BackgroundItem>> items;
    BackgroundSplit background;
    CtrlGroupSplit controls{SPTreeSplit::row};
    CtrlGroupItem group;
    std::vector<std::unique_ptr<Knob>> knobs;
    std::vector<std::unique_ptr<TextBox>> boxes;
};

void full_repaint(benchmark::State& state) {
    EditorScene scene;
    for (auto _ : state) {
        scene.window.redraw(Rect{0, 0, 500, 422});
        benchmark::DoNotOptimize(scene.window.screen().row(0));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 500 * 422);
}

// Picture pixels drawn per second by one sub-pixel draw of a 37 x 37 alpha
// picture into the 128 x 128 buffer.
void rotated_draw(benchmark::State& state) {
    Owned face(disc(37, 17, 0));
    face.picture.set_anchor(18, 18);
    MemoryRenderingBuffer buffer;
    for (auto _ : state) {
        face.picture.draw_rotated(-64.0f, -64.0f, 128, 128, 0.7f, buffer);
        benchmark::DoNotOptimize(buffer.pixels());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 37 * 37);
}

void fractional_draw(benchmark::State& state) {
    Owned face(disc(37, 17, 0));
    face.picture.set_anchor(18, 18);
    MemoryRenderingBuffer buffer;
    for (auto _ : state) {
        face.picture.draw_at(-64.25f, -63.5f, 128, 128, buffer);
        benchmark::DoNotOptimize(buffer.pixels());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 37 * 37);
}

} // namespace

BENCHMARK(full_repaint)->Unit(benchmark::kMillisecond);
BENCHMARK(rotated_draw);
BENCHMARK(fractional_draw);

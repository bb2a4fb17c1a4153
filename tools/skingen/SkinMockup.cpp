#include "SkinMockup.h"

#include "Canvas.h"

#include "editor/EditorLayout.h"
#include "editor/SkinPictures.h"
#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/MemoryRenderingBuffer.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"
#include "pengui/Picture.h"
#include "pengui/PixelImage.h"
#include "pengui/TextStyle.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

using namespace editor;

namespace skingen {

namespace {
using layout::Style;

class Skin {
public:
    bool load(const std::string& dir, std::string& error) {
        for (const layout::SkinFont& f : layout::skin_fonts) {
            const std::vector<char>& b = read(dir, f.name);
            fonts_.push_back(pengui::FontFactory::instance().create(b.data(), b.size()));
            if (!fonts_.back()) {
                error = std::string("the toolkit refuses ") + dir + "/" + f.name + ".apic";
                return false;
            }
        }
        for (const layout::SkinPicture& p : layout::skin_pictures) {
            const std::vector<char>& b = read(dir, p.name);
            std::unique_ptr<pengui::PicDataInterface> data =
                pengui::PicDataFactory::instance().create(b.data(), b.size());
            if (!data) {
                error = std::string("the toolkit refuses ") + dir + "/" + p.name + ".apic";
                return false;
            }
            pengui::Picture& pic = pictures_[p.name];
            pic.set_data(data.get());
            pic.set_anchor(p.anchor_x, p.anchor_y);
            data_.push_back(std::move(data));
        }
        return true;
    }
    const pengui::FontInterface& font(int index) const { return *fonts_[std::size_t(index)]; }
    // The named picture, with another anchor when the control sets one.
    pengui::Picture picture(const std::string& name) const { return pictures_.at(name); }
    pengui::Picture picture(const std::string& name, int ax, int ay) const {
        pengui::Picture p = pictures_.at(name);
        p.set_anchor(ax, ay);
        return p;
    }

private:
    const std::vector<char>& read(const std::string& dir, const std::string& name) {
        std::ifstream in(dir + "/" + name + ".apic", std::ios::binary);
        std::vector<char>& b = bytes_[name];
        b.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return b;
    }

    std::map<std::string, std::vector<char>> bytes_;
    std::vector<std::unique_ptr<pengui::FontInterface>> fonts_;
    std::vector<std::unique_ptr<pengui::PicDataInterface>> data_;
    std::map<std::string, pengui::Picture> pictures_;
};

// A picture with its owner's origin in the window, maybe turned.
struct Item {
    pengui::Picture picture;
    double x, y;
    double angle = 0.0;
    bool rotated = false;
};

// A text box's line with the top-left of its box in the window.
struct TextItem {
    pengui::TextStyle style;
    const pengui::FontInterface* font;
    int x, y;
};

// What the read-outs show in each of the two windows: a line-2 filter
// parameter, and a tap's pan as a new instance might show it.
const char* sample_text(layout::ControlId id, bool line_2) {
    switch (id) {
    case layout::ControlId::label:
        return "Stereo delay";
    case layout::ControlId::tempo_box:
        return line_2 ? "120.00" : "96.50";
    case layout::ControlId::morph_box:
        return line_2 ? "1.0" : "0.3";
    case layout::ControlId::param_name:
        return line_2 ? "D2 filt reso" : "Tap 2 pan";
    case layout::ControlId::param_value:
        return line_2 ? "-6.0" : "L 35";
    case layout::ControlId::param_unit:
        return line_2 ? "dB" : "%";
    case layout::ControlId::lfo_period_box:
        return line_2 ? "3/4" : "2 beat";
    default: // the LFO depth
        return line_2 ? "45.0 %" : "0.0 %";
    }
}

const char* pointer_of(Style s) {
    switch (s) {
    case Style::knob_small:
    case Style::knob_small_focus:
        return "kn_05_spn";
    case Style::knob_large:
        return "kn_07_spn";
    case Style::knob_morph:
        return "kn_08_spn";
    default:
        return "kn_06_spn";
    }
}

void add_control(const Skin& skin, const layout::Control& c, int n, int& knob_count,
                 std::vector<Item>& items) {
    const layout::Point p = layout::window_position(c, n);
    const double x = p.x, y = p.y;
    switch (c.style) {
    case Style::knob_small:
    case Style::knob_small_focus:
    case Style::knob_medium:
    case Style::knob_large:
    case Style::knob_morph: {
        // values 0, 0.1, ... 1 in turn: the pointer at eleven angles
        const double v = (knob_count++ % 11) / 10.0;
        const double angle = (v * -0.75 + 0.625) * 2 * pi;
        const double radius = c.style == Style::knob_morph ? 8.0 : 0.0;
        items.push_back({skin.picture(c.picture), x, y});
        items.push_back({skin.picture(pointer_of(c.style)), x + std::cos(angle) * radius,
                         y - std::sin(angle) * radius, angle, true});
        break;
    }
    case Style::spin:
        for (const char* name : {"sp_02_hnd_0", "sp_02_up_0", "sp_02_dwn_0"})
            items.push_back({skin.picture(name), x, y});
        break;
    case Style::filter_switch: { // the default type, 2
        const layout::Point cell = layout::filter_switch_cells[2];
        items.push_back({skin.picture(c.picture), x, y});
        items.push_back({skin.picture("sw_03_2", -cell.x, -cell.y), x, y});
        break;
    }
    case Style::wave_switch: // the default waveform, 0, is cell 0
        items.push_back({skin.picture(c.picture), x, y});
        items.push_back({skin.picture("sw_04_0"), x, y});
        break;
    case Style::text_box:
        break;
    default:
        if (c.picture != nullptr)
            items.push_back({skin.picture(c.picture), x, y});
        break;
    }
}

TextItem text_item(const Skin& skin, const layout::Control& c, bool line_2) {
    const layout::Rect box = layout::window_box(c);
    TextItem t{{}, &skin.font(c.text.font), box.x0, box.y0};
    t.style.set_box_size(box.width(), box.height());
    t.style.set_alignment(c.text.align);
    t.style.set_colour(c.text.colour);
    t.style.set_text(sample_text(c.id, line_2));
    return t;
}

void compose(const std::vector<Item>& items, const std::vector<TextItem>& texts,
             pengui::PixelImage& image) {
    constexpr int tile = pengui::MemoryRenderingBuffer::default_size;
    pengui::MemoryRenderingBuffer buffer;
    buffer.set_target(&image);
    for (int ty = 0; ty < image.height(); ty += tile)
        for (int tx = 0; tx < image.width(); tx += tile) {
            buffer.fill(0xFF00FF, 0); // magenta shows any hole
            for (const Item& it : items) {
                const float ox = float(tx - it.x), oy = float(ty - it.y);
                if (it.rotated)
                    it.picture.draw_rotated(ox, oy, tile, tile, float(it.angle), buffer);
                else
                    it.picture.draw_at(ox, oy, tile, tile, buffer);
            }
            for (const TextItem& t : texts)
                t.style.draw(*t.font, {tx - t.x, ty - t.y, tx - t.x + tile, ty - t.y + tile},
                             buffer);
            buffer.copy_block(tx, ty, tile, tile);
        }
}
} // namespace

bool skin_mockup(const std::string& skin_dir, RgbaImage& out, std::string& error) {
    Skin skin;
    if (!skin.load(skin_dir, error))
        return false;
    constexpr int gap = 16;
    out = RgbaImage(2 * layout::window_width + gap, layout::window_height);
    for (int variant = 0; variant < 2; ++variant) {
        const bool line_2 = variant == 0;
        std::vector<Item> items;
        for (const layout::Band& b : layout::bands) {
            const bool off_band = std::string(b.picture) == "bkg_02_nodelay2";
            if (b.y0 == 300 && off_band == line_2)
                continue;
            items.push_back({skin.picture(b.picture), 0.0, double(b.y0)});
        }
        int knob_count = 0;
        std::vector<TextItem> texts;
        for (const layout::Control& c : layout::controls) {
            if (c.style == Style::text_box)
                texts.push_back(text_item(skin, c, line_2));
            for (int n = 0; n < layout::copies(c); ++n)
                if (line_2 || layout::section_of(c, n).id != layout::SectionId::delay_2)
                    add_control(skin, c, n, knob_count, items);
        }
        pengui::PixelImage image(0, 0, layout::window_width, layout::window_height);
        compose(items, texts, image);
        const int x0 = variant * (layout::window_width + gap);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const std::uint32_t c = image.rgb(x, y);
                out.at(x0 + x, y) = {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c),
                                     255};
            }
    }
    for (int y = 0; y < out.height; ++y)
        for (int x = layout::window_width; x < layout::window_width + gap; ++x)
            out.at(x, y) = {0x60, 0x60, 0x60, 255};
    return true;
}

} // namespace skingen

#pragma once

#include "pengui/BackgroundItem.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/Knob.h"
#include "pengui/Messages.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"
#include "pengui/Picture.h"
#include "pengui/PushButton.h"
#include "pengui/SPTreeSplit.h"
#include "pengui/TextBox.h"
#include "pengui/WindowInterface.h"
#include "pengui/x11/EventLoopX11.h"

#include <memory>
#include <string>
#include <vector>

namespace test {

// A small scene from the skin: a background band, a knob, an editable text
// box, a push button, and a spot that logs its clicks. The same scene is
// built once per window, so that two windows can be compared.
struct SkinScene {
    static constexpr int width = 500;
    static constexpr int height = 120;
    static constexpr int knob_x = 100;
    static constexpr int knob_y = 60;
    static constexpr int text_x = 200;
    static constexpr int text_y = 50;
    static constexpr int button_x = 350;
    static constexpr int button_y = 50;
    static constexpr int clicks_x = 420;
    static constexpr int clicks_y = 40;

    // Records the clicks it hears (buttons held, double-click flag).
    struct ClickLog : pengui::ControlInterface {
        int on_click(const pengui::MouseClick& m) override {
            log.push_back(std::to_string(m.buttons) + "/" + std::to_string(m.double_click));
            return 0;
        }
        std::vector<std::string> log;
    };

    // A knob that adds up the movements it hears.
    struct TravelKnob : pengui::Knob {
        int on_mouse_move(const pengui::MouseMove& m) override {
            travel_x += m.x;
            travel_y += m.y;
            return Knob::on_mouse_move(m);
        }
        int travel_x = 0;
        int travel_y = 0;
    };

    // The background band, counting the tiles it is asked to paint.
    struct CountingItem : pengui::BackgroundItem {
        int handle_down(const pengui::MessageInterface& m) override {
            tiles += dynamic_cast<const pengui::Redraw*>(&m) != nullptr ? 1 : 0;
            return BackgroundItem::handle_down(m);
        }
        int tiles = 0;
    };

    explicit SkinScene(pengui::WindowInterface& window) {
        auto& pictures = pengui::PicDataFactory::instance();
        band_data = pictures.create("bkg_02_top");
        band.set_data(band_data.get());
        band_item.set_picture(band);
        bands.add_child(&band_item, height);
        bands.set_position(0, 0);
        window.set_background_root(&bands);
        window.set_control_root(&root);
        root.add_child(&group, width);

        face_data = pictures.create("kn_05");
        face.set_data(face_data.get());
        face.set_anchor(8, 8);
        knob.set_frame(0, face);
        knob.set_rotate_frame(true);
        knob.set_drag_range(1000);
        place(knob, knob_x, knob_y);
        // Room for the face turned by 45 degrees.
        knob.set_box(-13, -13, 14, 14);

        font = pengui::FontFactory::instance().create("font_03");
        text.set_font(font.get());
        text.set_editable(true);
        text.set_colour(0xFFFFFF);
        text.set_text("Quevrin");
        place(text, text_x, text_y);
        text.set_box(0, 0, 80, 14);
        text.set_box_size(80, 14);

        button.set_frame_count(5);
        for (int i = 0; i < 5; ++i) {
            button_data[i] = pictures.create("pb_11_" + std::to_string(i));
            button_frames[i].set_data(button_data[i].get());
            button.set_frame(i, button_frames[i]);
        }
        place(button, button_x, button_y);
        button.set_box(0, 0, 13, 13);

        place(clicks, clicks_x, clicks_y);
        clicks.set_box(0, 0, 20, 20);
        root.set_position(0, 0);
    }

    void place(pengui::ControlInterface& control, int x, int y) {
        control.set_position_in_group(x, y);
        group.add_control(&control);
    }

    std::unique_ptr<pengui::PicDataInterface> band_data, face_data, button_data[5];
    std::unique_ptr<pengui::FontInterface> font;
    pengui::Picture band, face, button_frames[5];
    pengui::BackgroundSplit bands;
    CountingItem band_item;
    pengui::CtrlGroupSplit root{pengui::SPTreeSplit::row};
    pengui::CtrlGroupItem group;
    TravelKnob knob;
    pengui::TextBox text;
    pengui::PushButton button;
    ClickLog clicks;
};

} // namespace test

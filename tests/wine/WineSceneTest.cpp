// A toolkit scene in the Win32 window layer inside Wine, driven from outside
// by tests/wine/run.sh through the X server:
//   quevrin_wine_scene DIR SKIN_DIR
// The scene (a background band, a knob and an editable text box from the
// skin's pictures and font) is first painted offscreen into DIR/headless.ppm;
// then it opens in a WindowWin32 and DIR/ready gives the window's screen
// rectangle, the knob's centre and the text box's centre. The driver captures
// the screen, drags the knob, types "42" Enter and "99" Escape into the box,
// and creates DIR/done; the program then checks what the scene heard.
#include "Check.h"

#include "pengui/BackgroundItem.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/FontFactory.h"
#include "pengui/FontInterface.h"
#include "pengui/HeadlessWindow.h"
#include "pengui/Knob.h"
#include "pengui/Messages.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"
#include "pengui/SPTreeSplit.h"
#include "pengui/TextBox.h"
#include "pengui/win32/WindowWin32.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace pengui;

namespace {

constexpr int width = 240;
constexpr int height = 100;
constexpr int knob_x = 60;
constexpr int knob_y = 50;
constexpr Rect text_area{120, 40, 200, 54};
constexpr DWORD drive_timeout_ms = 90000;

std::vector<std::uint8_t> read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Counts the timer's ticks.
class TickCounter : public MessageHandlerInterface {
public:
    int handle(const MessageInterface& message) override {
        if (dynamic_cast<const Notify*>(&message) != nullptr) {
            ++ticks;
        }
        return 0;
    }
    int ticks = 0;
};

struct Scene {
    explicit Scene(const std::string& skin) {
        for (const char* name : {"bkg_02_top", "kn_05"}) {
            bytes.push_back(read_file(skin + "\\" + name + ".apic"));
            data.push_back(
                PicDataFactory::instance().create(bytes.back().data(), bytes.back().size()));
        }
        font_bytes = read_file(skin + "\\font_03.apic");
        font = FontFactory::instance().create(font_bytes.data(), font_bytes.size());
        ok = data[0] != nullptr && data[1] != nullptr && font != nullptr;
        if (!ok) {
            return;
        }
        background.set_data(data[0].get());
        face.set_data(data[1].get());
        face.set_anchor(data[1]->width() / 2, data[1]->height() / 2);
        band.set_picture(background);
        bands.add_child(&band, height);
        bands.set_position(0, 0);
        controls.add_child(&group, width);
        knob.set_frame(0, face);
        knob.set_rotate_frame(true);
        knob.set_box(-9, -9, 9, 9);
        knob.set_position_in_group(knob_x, knob_y);
        group.add_control(&knob);
        text.set_font(font.get());
        text.set_colour(0xFFFFFF);
        text.set_editable(true);
        text.set_text("7");
        text.set_box(0, 0, text_area.x1 - text_area.x0, text_area.y1 - text_area.y0);
        text.set_box_size(text_area.x1 - text_area.x0, text_area.y1 - text_area.y0);
        text.set_position_in_group(text_area.x0, text_area.y0);
        group.add_control(&text);
        controls.set_position(0, 0);
    }
    void show_in(WindowInterface& window) {
        window.set_background_root(&bands);
        window.set_control_root(&controls);
    }

    bool ok = false;
    std::vector<std::vector<std::uint8_t>> bytes;
    std::vector<std::unique_ptr<PicDataInterface>> data;
    std::vector<std::uint8_t> font_bytes;
    std::unique_ptr<FontInterface> font;
    Picture background, face;
    BackgroundSplit bands{SPTreeSplit::column};
    BackgroundItem band;
    CtrlGroupSplit controls{SPTreeSplit::row};
    CtrlGroupItem group;
    Knob knob;
    TextBox text;
};

bool write_ppm(const std::string& path, const PixelImage& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width() << " " << image.height() << "\n255\n";
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* p = image.row(y);
        for (int x = 0; x < image.width(); ++x, p += 4) {
            out.put(static_cast<char>(p[2]))
                .put(static_cast<char>(p[1]))
                .put(static_cast<char>(p[0]));
        }
    }
    return static_cast<bool>(out);
}

// Runs the window's messages until the driver's file appears.
bool wait_for_driver(const std::string& done) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < drive_timeout_ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: quevrin_wine_scene DIR SKIN_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    Scene scene(argv[2]);
    if (!check(scene.ok, "the skin's pictures and font load")) {
        return 1;
    }
    {
        HeadlessWindow offscreen(width, height);
        scene.show_in(offscreen);
        offscreen.open(nullptr);
        check(write_ppm(dir + "\\headless.ppm", offscreen.render(Rect{0, 0, width, height})),
              "the offscreen picture is written");
    }

    HWND frame = CreateWindowExA(0, "STATIC", "Quevrin toolkit scene", WS_POPUP | WS_VISIBLE, 0, 0,
                                 width, height, nullptr, nullptr, nullptr, nullptr);
    WindowWin32 window(width, height);
    scene.show_in(window);
    if (!check(window.open(frame) == 0 && window.native_window() != nullptr,
               "the toolkit window opens")) {
        return 1;
    }
    check(window.open(frame) == 0, "a second open of an open window does nothing");

    TickCounter counter;
    const pengui::SetTimer tick(counter, 0.03);
    check(window.handle(tick) == 0, "a 30 ms timer is armed");
    check(window.handle(pengui::ClearTimer(tick.id + 1000)) == 0,
          "clearing a timer never armed does nothing");

    RECT where{};
    GetWindowRect(window.native_window(), &where);
    {
        std::ofstream ready(dir + "\\ready.tmp");
        ready << where.left << " " << where.top << " " << width << " " << height << " "
              << where.left + knob_x << " " << where.top + knob_y << " "
              << where.left + (text_area.x0 + text_area.x1) / 2 << " "
              << where.top + (text_area.y0 + text_area.y1) / 2 << "\n";
    }
    MoveFileA((dir + "\\ready.tmp").c_str(), (dir + "\\ready").c_str());
    const double knob_before = scene.knob.value();
    const DWORD started = GetTickCount();
    check(wait_for_driver(dir + "\\done"), "the driver finished");
    const DWORD elapsed = GetTickCount() - started;

    std::printf("knob %.3f -> %.3f, text \"%s\", %d ticks in %lu ms\n", knob_before,
                scene.knob.value(), scene.text.text().c_str(), counter.ticks,
                static_cast<unsigned long>(elapsed));
    check(scene.knob.value() > knob_before, "dragging the knob upwards raised its value");
    check(scene.text.text() == "42", "Enter set the typed value and Escape left it");
    check(counter.ticks >= static_cast<int>(elapsed / 30 / 4),
          "the 30 ms timer ticked while the messages ran");
    check(window.handle(pengui::ClearTimer(tick.id)) == 0, "the timer is cleared");
    DestroyWindow(frame);
    std::printf("scene: %d failed checks\n", failed_checks());
    return failed_checks() == 0 ? 0 : 1;
}

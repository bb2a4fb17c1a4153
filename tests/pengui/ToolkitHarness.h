#pragma once

#include "pengui/ApicBuilder.h"
#include "pengui/ControlInterface.h"
#include "pengui/CtrlGroupItem.h"
#include "pengui/DefaultEventListener.h"
#include "pengui/HeadlessWindow.h"
#include "pengui/Messages.h"
#include "pengui/PicDataFactory.h"
#include "pengui/PicDataInterface.h"
#include "pengui/Picture.h"
#include "pengui/SPTreeSplit.h"
#include "pengui/ToolkitClock.h"

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace test {

// The toolkit clock held at a time the test sets, restored when the test
// ends however it ends.
class FakeClock {
public:
    FakeClock() {
        time() = 0;
        pengui::ToolkitClock::set_source(&now);
    }
    ~FakeClock() { pengui::ToolkitClock::set_source(nullptr); }
    void set(double seconds) { time() = seconds; }
    static double now() { return time(); }

private:
    static double& time() {
        static double t = 0;
        return t;
    }
};

// A listener that logs what its control tells it, and can refuse changes.
class LoggingListener : public pengui::DefaultEventListener {
public:
    bool accept_change(int priority) override {
        log.push_back("accept " + std::to_string(priority));
        return accept;
    }
    void gesture_ended(int priority) override {
        log.push_back("ended " + std::to_string(priority));
    }
    void action(int kind, int data) override {
        log.push_back("action " + std::to_string(kind) + " " + std::to_string(data));
    }
    void before_message(const pengui::MessageInterface& m) override {
        if (dynamic_cast<const pengui::MouseCaptureLost*>(&m) != nullptr) {
            log.push_back("capture lost");
        }
    }
    void focus_gained() override { log.push_back("focus"); }
    bool has(const std::string& entry) const {
        for (const std::string& e : log) {
            if (e == entry) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> log;
    bool accept = true;
};

// A headless window of width x height whose control tree is one group.
struct ControlScene {
    explicit ControlScene(int width = 200, int height = 160) : window(width, height) {
        window.set_control_root(&root);
        root.add_child(&group, width);
    }
    // Puts a control at (x, y) with a bounding box of w x h.
    void add(pengui::ControlInterface& control, int x, int y, int w, int h) {
        control.set_box(0, 0, w, h);
        control.set_position_in_group(x, y);
        group.add_control(&control);
        root.set_position(0, 0);
    }
    void open() { window.open(nullptr); }

    pengui::HeadlessWindow window;
    pengui::CtrlGroupSplit root{pengui::SPTreeSplit::row};
    pengui::CtrlGroupItem group;
};

// Picture data made from builder bytes that stay alive with it.
struct OwnedPicture {
    explicit OwnedPicture(const ApicBuilder& b) : bytes(b.bytes()) {
        data = pengui::PicDataFactory::instance().create(bytes.data(), bytes.size());
        picture.set_data(data.get());
    }
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<pengui::PicDataInterface> data;
    pengui::Picture picture;
};

// A w x h picture of one colour and alpha.
inline ApicBuilder solid(int w, int h, std::uint32_t colour, int alpha = 255) {
    ApicBuilder b;
    b.width = w;
    b.height = h;
    b.palette = {colour};
    for (int i = 0; i < w * h; ++i) {
        b.pixels.push_back(0);
        b.pixels.push_back(static_cast<std::uint8_t>(alpha));
    }
    return b;
}

} // namespace test

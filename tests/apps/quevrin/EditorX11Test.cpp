// `quevrin editor` on a real X server (the suite's virtual display), driven
// by xdotool as a user drives it: the window's pixels equal `quevrin
// screenshot` of the same state; drags, typed values, a program recall and
// the second line's switch reach the state saved when the window closes;
// the file streams through the plug-in meanwhile without an underrun.
// Each editor run plays several cases, so that the checks stay quick.
#include "editor/EditorLayout.h"
#include "support/ConnectWithRetries.h"

#include <gtest/gtest.h>
#include <png.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace editor;

namespace {

using Image = std::vector<std::uint32_t>; // 0xRRGGBB, rows top-down
using layout::ControlId;

constexpr int width = layout::window_width;
constexpr int height = layout::window_height;

std::string slurp(const std::string& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The centre of a control in the window (copy n of its section).
layout::Point centre(ControlId id, int n = 0) {
    const layout::Rect box = layout::window_box(layout::control(id), n);
    return {(box.x0 + box.x1) / 2, (box.y0 + box.y1) / 2};
}

// A point of the window at a scale (inside the control whose centre it was).
layout::Point scaled(layout::Point p, double scale) {
    return {int(std::lround(p.x * scale)), int(std::lround(p.y * scale))};
}

// A rectangle of the window: x, y, width, height.
struct Area {
    int x, y, w, h;
};

// Pixels of `area` that differ between two images `stride` pixels wide.
int differences(const Image& a, const Image& b, Area area = {0, 0, width, height},
                int stride = width) {
    int count = 0;
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x)
            count += a[std::size_t(y * stride + x)] != b[std::size_t(y * stride + x)] ? 1 : 0;
    return count;
}

// Where two images of w x h differ, for the failure message: the bounding box.
std::string where(const Image& a, const Image& b, int w = width, int h = height) {
    if (a.size() != b.size())
        return "of different sizes";
    int x0 = w, y0 = h, x1 = -1, y1 = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a[std::size_t(y * w + x)] != b[std::size_t(y * w + x)]) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    return "differing from (" + std::to_string(x0) + ", " + std::to_string(y0) + ") to (" +
           std::to_string(x1) + ", " + std::to_string(y1) + ")";
}

class EditorX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") != nullptr)
            display = test::connect_with_retries([] { return XOpenDisplay(nullptr); });
        if (display == nullptr)
            GTEST_SKIP() << "no X display to open; make test runs these checks inside a virtual "
                            "display";
        if (std::system("command -v xdotool >/dev/null") != 0)
            GTEST_SKIP() << "xdotool is not installed";
        char pattern[] = "/tmp/quevrin-editor-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (!dir.empty())
            std::system(("rm -rf " + dir).c_str());
        if (display != nullptr)
            XCloseDisplay(display);
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    // quevrin with args; its standard output.
    std::string quevrin(const std::string& args) {
        const std::string out = path("out.txt");
        EXPECT_EQ(std::system((std::string(QUEVRIN_CLI_PATH) + " " + args + " >" + out).c_str()), 0)
            << args;
        return slurp(out);
    }

    // The screenshot of the editor with args, as an image.
    Image screenshot(const std::string& args) {
        quevrin("screenshot " + path("shot.png") + " " + args);
        png_image png{};
        png.version = PNG_IMAGE_VERSION;
        Image image;
        if (png_image_begin_read_from_file(&png, path("shot.png").c_str()) == 0)
            return image;
        png.format = PNG_FORMAT_RGB;
        std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
        png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr);
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            image.push_back(std::uint32_t(rgb[i]) << 16 | std::uint32_t(rgb[i + 1]) << 8 |
                            rgb[i + 2]);
        return image;
    }

    // Starts `quevrin editor args` and waits for its window holding the editor.
    void start(const std::vector<std::string>& args) {
        pid = fork();
        if (pid == 0) {
            const int err = open(path("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(err, 2);
            std::vector<char*> argv{const_cast<char*>(QUEVRIN_CLI_PATH),
                                    const_cast<char*>("editor")};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int i = 0; i < 200 && editor == 0; ++i) {
            usleep(50000);
            editor = find_editor();
        }
        ASSERT_NE(editor, 0u) << "the editor's window never appeared: "
                              << slurp(path("stderr.txt"));
    }

    // The child of the top-level window titled "Quevrin", once it exists.
    Window find_editor() {
        Window root = 0, parent = 0, *tops = nullptr, *children = nullptr;
        unsigned count = 0, child_count = 0;
        Window found = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &tops, &count);
        for (unsigned i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            if (XFetchName(display, tops[i], &name) != 0 && std::string(name) == "Quevrin" &&
                XQueryTree(display, tops[i], &root, &parent, &children, &child_count) != 0) {
                found = child_count == 1 ? children[0] : 0;
                XFree(children);
            }
            XFree(name);
        }
        XFree(tops);
        return found;
    }

    // The editor's window as it shows now, shown_width x shown_height.
    Image capture() {
        Image image;
        XImage* x = XGetImage(display, editor, 0, 0, shown_width, shown_height, AllPlanes, ZPixmap);
        if (x == nullptr)
            return image;
        for (int y = 0; y < shown_height; ++y)
            for (int i = 0; i < shown_width; ++i)
                image.push_back(std::uint32_t(XGetPixel(x, i, y)) & 0xFFFFFF);
        XDestroyImage(x);
        return image;
    }

    // Waits up to 3 s for the window to show `expected`; the pixels that differ.
    int settle_on(const Image& expected) {
        int differ = -1;
        for (int i = 0; i < 30 && differ != 0; ++i) {
            usleep(100000);
            const Image now = capture();
            differ =
                now.size() == expected.size()
                    ? differences(now, expected, {0, 0, shown_width, shown_height}, shown_width)
                    : -1;
        }
        return differ;
    }

    // Where the pointer is on the screen (the window sits at its top-left).
    std::pair<int, int> pointer() {
        Window root = 0, child = 0;
        int x = 0, y = 0, wx = 0, wy = 0;
        unsigned mask = 0;
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask);
        return {x, y};
    }

    void xdo(const std::string& args) {
        ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0) << args;
        usleep(300000);
    }
    // An upward drag with `button` at p, in small steps of 4 pixels as a
    // hand makes them.
    void drag_up(layout::Point p, int button, int count = 12) {
        const std::string b = std::to_string(button);
        std::string steps;
        for (int i = 0; i < count; ++i)
            steps += " mousemove_relative -- 0 -4 sleep 0.03";
        xdo("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " mousedown " + b +
            steps + " mouseup " + b);
    }
    void click(layout::Point p) {
        xdo("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 1");
    }
    // A click into a text box, TEXT typed and KEY pressed (by a second
    // xdotool: a key that follows the typing in the same xdotool is lost).
    void type_into(layout::Point p, const std::string& text, const std::string& key) {
        click(p);
        xdo("type --delay 30 -- '" + text + "'");
        xdo("key " + key);
    }

    // Closes the window as the window manager would be asked to (SIGTERM is
    // handled as a close); the program's exit status.
    int close() {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // The lines of `quevrin params` (or a program of a bank dump) by
    // parameter index: index, name, value, unit, normalized value.
    static std::map<int, std::vector<std::string>> params(const std::string& listing) {
        std::map<int, std::vector<std::string>> rows;
        std::istringstream lines(listing);
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> cells;
            std::istringstream fields(line);
            for (std::string cell; std::getline(fields, cell, '\t');)
                cells.push_back(cell);
            if (cells.size() == 5)
                rows[std::stoi(cells[0])] = cells;
        }
        return rows;
    }
    static double normalized(const std::map<int, std::vector<std::string>>& rows, int index) {
        return std::stod(rows.at(index)[4]);
    }

    Display* display = nullptr;
    std::string dir;
    pid_t pid = -1;
    Window editor = 0;
    // The size the editor's window is captured at: the editor's at its scale.
    int shown_width = width;
    int shown_height = height;
};

// Line 1's feedback and time, and line 2's feedback.
constexpr int d1_fdbk = 64;
constexpr int d1_time = 60;
constexpr int d2_fdbk = 97;

TEST_F(EditorX11Test, a_streaming_editor_takes_drags_and_typed_values_into_its_saved_state) {
    quevrin("render --demo " + path("input.wav") + " -q");
    const auto before = params(quevrin("params"));
    start({path("input.wav"), "--audio", "none", "--save-state", path("state.bin")});
    EXPECT_EQ(settle_on(screenshot("")), 0) << "the window differs from the screenshot";

    // The second line's switch grows the controls to five rows: the lower
    // band is painted anew at once, and the repaints of the parts that
    // changed add up to the program with both lines.
    const Image one_line = capture();
    click(centre(ControlId::delay_2));
    const int lower = layout::sections[std::size_t(layout::SectionId::delay_2)].window.y0;
    EXPECT_GT(differences(one_line, capture(), {0, lower, width, height - lower}), 1000);
    const Image both = screenshot("--set \"Flags=BT 2\"");
    EXPECT_EQ(settle_on(both), 0) << where(capture(), both);

    const layout::Point knob = centre(ControlId::line_fdbk);
    drag_up(knob, 1);
    EXPECT_EQ(pointer(), std::make_pair(knob.x, knob.y)) << "the cursor came back after the drag";
    drag_up(knob, 3);
    // A click on line 1's time knob brings its value into the value box.
    click(centre(ControlId::line_time));
    type_into(centre(ControlId::param_value), "3/8", "Return");
    type_into(centre(ControlId::param_value), "1/4", "Escape");

    ASSERT_EQ(close(), 0) << slurp(path("stderr.txt"));
    const std::string err = slurp(path("stderr.txt"));
    EXPECT_NE(err.find("latency: "), std::string::npos) << err;
    EXPECT_NE(err.find("underruns: 0\n"), std::string::npos) << err;
    const auto after = params(quevrin("params --state " + path("state.bin")));
    EXPECT_GT(normalized(after, d1_fdbk), normalized(before, d1_fdbk))
        << "the upward drags raised line 1's feedback";
    EXPECT_GT(normalized(after, d2_fdbk), normalized(before, d2_fdbk))
        << "the right-button drag linked line 2";
    EXPECT_EQ(after.at(d1_time)[2], "3/8") << "Enter kept the typed time, Escape left it";
}

TEST_F(EditorX11Test, a_program_button_with_morph_time_0_recalls_its_memory_at_once) {
    const std::string preset = "--preset \"Ambient wash\"";
    start({"--preset", "Ambient wash", "--save-state", path("state.bin")});
    EXPECT_EQ(settle_on(screenshot(preset)), 0)
        << "the two-line window differs from the screenshot";

    const Image rest = capture();
    type_into(centre(ControlId::morph_box), "0", "Return");
    const layout::Point button = centre(ControlId::program_2);
    const Area face{button.x - 6, button.y - 6, 13, 13};
    click(button);
    // The press animation runs on the editor's timer and ends at rest.
    bool pressed = differences(capture(), rest, face) > 0;
    for (int i = 0; i < 12 && !pressed; ++i) {
        usleep(100000);
        pressed = differences(capture(), rest, face) > 0;
    }
    EXPECT_TRUE(pressed) << "the program button never showed pressed";
    usleep(1500000);
    EXPECT_EQ(differences(capture(), rest, face), 0) << "the button did not come back to rest";

    ASSERT_EQ(close(), 0) << slurp(path("stderr.txt"));
    quevrin("bank defaults " + path("defaults.pbk"));
    const std::string dump = quevrin("bank dump " + path("defaults.pbk"));
    const std::size_t second = dump.find("# 1\t");
    const std::size_t third = dump.find("# 2\t");
    ASSERT_NE(second, std::string::npos);
    const auto memory = params(dump.substr(second, third - second));
    const auto recalled = params(quevrin("params --state " + path("state.bin")));
    ASSERT_EQ(recalled.size(), memory.size());
    for (const auto& [index, row] : memory)
        EXPECT_EQ(recalled.at(index)[4], row[4]) << row[1];
}

// Scale 2, as --scale gives it: the window is the 2x screenshot with one line
// and with two lines and a panel, and a drag of 128 pixels does what 64 do at
// scale 1.
TEST_F(EditorX11Test, at_scale_2_the_window_is_the_2x_screenshot_and_drags_count_logical_pixels) {
    start({"--save-state", path("one.bin")});
    drag_up(centre(ControlId::line_fdbk), 1, 16);
    ASSERT_EQ(close(), 0) << slurp(path("stderr.txt"));
    const auto at_1 = params(quevrin("params --state " + path("one.bin")));

    shown_width = 1000;
    shown_height = 844;
    start({"--scale", "2", "--save-state", path("two.bin")});
    const Image one_line = screenshot("--scale 2");
    EXPECT_EQ(settle_on(one_line), 0) << where(capture(), one_line, 1000, 844);
    click(scaled(centre(ControlId::delay_2), 2));
    click(scaled(centre(ControlId::line_time, 1), 2));
    const Image panel = screenshot("--scale 2 --set \"Flags=BT 2\" --focus \"D2 time\"");
    EXPECT_EQ(settle_on(panel), 0) << where(capture(), panel, 1000, 844);
    drag_up(scaled(centre(ControlId::line_fdbk), 2), 1, 32);
    ASSERT_EQ(close(), 0) << slurp(path("stderr.txt"));
    const auto at_2 = params(quevrin("params --state " + path("two.bin")));
    EXPECT_NE(at_2.at(d1_fdbk)[4], params(quevrin("params")).at(d1_fdbk)[4]);
    EXPECT_EQ(at_2.at(d1_fdbk)[4], at_1.at(d1_fdbk)[4]) << "128 pixels at 2, 64 at 1";
}

TEST_F(EditorX11Test, at_scale_1_5_a_value_typed_into_the_box_takes_effect) {
    shown_width = 750;
    shown_height = 633;
    start({"--scale", "1.5", "--save-state", path("state.bin")});
    const Image shot = screenshot("--scale 1.5");
    EXPECT_EQ(settle_on(shot), 0) << where(capture(), shot, 750, 633);
    click(scaled(centre(ControlId::line_time), 1.5));
    type_into(scaled(centre(ControlId::param_value), 1.5), "3/8", "Return");
    ASSERT_EQ(close(), 0) << slurp(path("stderr.txt"));
    EXPECT_EQ(params(quevrin("params --state " + path("state.bin"))).at(d1_time)[2], "3/8");
}

} // namespace

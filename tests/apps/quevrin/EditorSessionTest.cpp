// Every way out of `quevrin editor --save-state S` leaves the state the filter
// held: the window closed, SIGINT, SIGTERM, SIGHUP (going on from the state
// file it saves into), SIGTERM while a file dialog is open, the X server
// killed, the input cut short while it plays. Each case has a virtual X server
// of its own, so that it can be killed; no temporary file lies beside the
// state while the session runs.
#include "editor/EditorLayout.h"
#include "support/Background.h"
#include "support/ConnectWithRetries.h"

#include <gtest/gtest.h>

// Xlib's macros after the test framework's names.
#include "support/ChildWindows.h"

#include <X11/Xlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

enum class Way { window_closed, signal, dialog_open, display_killed, input_cut };

struct Case {
    const char* name;
    Way way;
    int signo;        // the signal sent (with Way::signal and Way::dialog_open)
    bool plays;       // an input file plays
    bool continued;   // --state is the --save-state file
    int status;       // the editor's exit status
    const char* told; // on stderr, or ""
};

std::string slurp(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// quevrin with args through the shell; its standard output.
std::string quevrin(const std::string& args) {
    std::string out;
    if (std::FILE* p = popen((std::string(QUEVRIN_CLI_PATH) + " " + args).c_str(), "r")) {
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, p)) > 0;)
            out.append(chunk, n);
        pclose(p);
    }
    return out;
}

// The editor's top-level window once it holds the editor, else 0.
Window editor_top(Display* display) {
    for (const Window top : test::child_windows(display, DefaultRootWindow(display))) {
        char* name = nullptr;
        const bool ours = XFetchName(display, top, &name) != 0 && std::string(name) == "Quevrin";
        XFree(name);
        if (ours && test::child_windows(display, top).size() == 1)
            return top;
    }
    return 0;
}

// What the window manager sends when the user closes the window.
void ask_to_close(Display* display, Window top) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = top;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, top, False, NoEventMask, &event);
    XFlush(display);
}

class EditorSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* p : {"Xvfb", "xdotool"})
            if (!test::on_path(p))
                GTEST_SKIP() << p << " is missing: cmake/install-deps.sh installs it";
        dir = fs::temp_directory_path() / ("quevrin-session-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "bin");
        // A file dialog the user leaves open: zenity stands still.
        std::ofstream(dir / "bin" / "zenity") << "#!/bin/sh\nexec sleep 20\n";
        fs::permissions(dir / "bin" / "zenity", fs::perms::owner_all);
        quevrin("render --demo " + (dir / "demo.wav").string() + " -q");
    }
    void TearDown() override {
        if (!dir.empty() && !HasFailure())
            fs::remove_all(dir);
    }

    // Runs one case; what went wrong is reported under its name.
    void run(const Case& c) {
        SCOPED_TRACE(c.name);
        const fs::path state = dir / "state.bin";
        const fs::path input = dir / "input.wav";
        fs::remove(state);
        fs::copy_file(dir / "demo.wav", input, fs::copy_options::overwrite_existing);
        std::vector<std::string> args{QUEVRIN_CLI_PATH, "editor", "--save-state",
                                      state.string(),   "--set",  "D1 fdbk=37"};
        if (c.continued) {
            quevrin("render --demo " + (dir / "out.wav").string() + " --preset 3 -q --save-state " +
                    state.string());
            args.insert(args.end(), {"--state", state.string()});
        } else {
            args.insert(args.end(), {"--preset", "3"});
        }
        if (c.plays)
            args.insert(args.end(), {input.string(), "--audio", "none"});
        const std::string expected = quevrin("params --preset 3 --set 'D1 fdbk=37'");

        std::string name;
        auto server = test::start_display((dir / "xvfb.log").string(), name);
        ASSERT_FALSE(name.empty()) << "Xvfb gave no display";
        Display* display = test::connect_with_retries([&] { return XOpenDisplay(name.c_str()); });
        ASSERT_NE(display, nullptr);
        const char* path = std::getenv("PATH");
        test::Background editor(
            args, {"DISPLAY=" + name, "PATH=" + (dir / "bin").string() + ":" + (path ? path : "")},
            (dir / "stderr.txt").string());
        Window top = 0;
        for (int i = 0; i < 200 && top == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            top = editor_top(display);
        }
        ASSERT_NE(top, 0u) << "no editor window: " << slurp(dir / "stderr.txt");
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_NE(entry.path().filename().string()[0], '.')
                << entry.path() << " lies beside the state during the session";

        int status = -1;
        double seconds = 0.0;
        const auto end = [&](int signo) {
            const auto start = Clock::now();
            status = editor.end(signo, 10.0);
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        };
        switch (c.way) {
        case Way::window_closed:
            ask_to_close(display, top);
            end(0);
            break;
        case Way::signal:
            end(c.signo);
            break;
        case Way::dialog_open: {
            const editor::layout::Rect box = editor::layout::window_box(
                editor::layout::control(editor::layout::ControlId::load_bank), 0);
            std::system(("DISPLAY=" + name + " xdotool mousemove " +
                         std::to_string((box.x0 + box.x1) / 2) + " " +
                         std::to_string((box.y0 + box.y1) / 2) + " click 1")
                            .c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            end(c.signo);
            EXPECT_LT(seconds, 1.0) << "the open dialog held the editor";
            break;
        }
        case Way::display_killed:
            XCloseDisplay(display);
            display = nullptr;
            server->end(SIGKILL, 5.0);
            end(0);
            // What a killed server cannot remove itself.
            fs::remove("/tmp/.X" + name.substr(1) + "-lock");
            fs::remove("/tmp/.X11-unix/X" + name.substr(1));
            break;
        case Way::input_cut:
            fs::resize_file(input, 0);
            EXPECT_NE(test::wait_for(3,
                                     [&] {
                                         return slurp(dir / "stderr.txt").find(c.told) !=
                                                        std::string::npos
                                                    ? "told"
                                                    : "";
                                     }),
                      "")
                << "the break was not told while the editor ran";
            end(SIGTERM);
            break;
        }
        if (display != nullptr)
            XCloseDisplay(display);
        const std::string err = slurp(dir / "stderr.txt");
        EXPECT_EQ(status, c.status) << err;
        EXPECT_NE(err.find(c.told), std::string::npos) << err;
        EXPECT_TRUE(quevrin("params --state " + state.string()) == expected)
            << "the state saved is not the program the editor held; " << err;
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path() << " was left";
    }

    fs::path dir;
};

TEST_F(EditorSessionTest, every_way_out_saves_the_state_the_filter_held) {
    const Case cases[] = {
        {"window closed", Way::window_closed, 0, true, false, 0, ""},
        {"SIGINT", Way::signal, SIGINT, false, false, 0, ""},
        {"SIGTERM", Way::signal, SIGTERM, true, false, 0, ""},
        {"SIGHUP, going on in one file", Way::signal, SIGHUP, false, true, 0, ""},
        {"SIGTERM with a dialog open", Way::dialog_open, SIGTERM, false, false, 0, ""},
        {"X server killed", Way::display_killed, 0, true, false, 1,
         "the X display went away; the state is saved in"},
        {"input cut short", Way::input_cut, 0, true, false, 2,
         "the stream broke off while it played"},
    };
    for (const Case& c : cases)
        run(c);
}

} // namespace

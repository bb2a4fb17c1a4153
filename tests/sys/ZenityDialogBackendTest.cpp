// The POSIX dialogs: how zenity is started and how its answers are read.
// Most cases run a stand-in zenity script that records its arguments; one
// runs the real zenity when a display is available.
#include "sys/posix/ZenityDialogBackend.h"

#include "sys/Clock.h"
#include "sys/FileSelector.h"
#include "sys/SimpleMessageBox.h"
#include "sys/TempDir.h"
#include "sys/TestEnvironment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

using Status = sys::FileDialogResult::Status;
using Answer = sys::MessageBoxAnswer;

// A zenity stand-in on PATH that records its arguments one a line, prints
// the given output and exits with the given status.
class FakeZenity {
public:
    FakeZenity(const std::string& output, int status)
        : display("DISPLAY", ":99"), path("PATH", dir.path) {
        dir.add_script("zenity", "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                     arguments_file() + "'\nprintf '" + output + "'\nexit " +
                                     std::to_string(status));
    }

    std::string arguments() const {
        std::ifstream in(arguments_file());
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string arguments_file() const { return dir.path + "/arguments"; }

    TempDir dir;
    ScopedEnv display;
    ScopedEnv path;
};

sys::FileDialogRequest bank_request(sys::FileDialogMode mode) {
    sys::FileDialogRequest request;
    request.mode = mode;
    request.title = "Load bank";
    request.filters = {{"All files", "*.*"}, {"Preset bank files", "*.pbk"}, {"Both", "*.a;*.b"}};
    request.selected_filter = 1;
    request.initial_path = "/banks/my bank.pbk";
    return request;
}

TEST(ZenityDialogBackend, reads_the_file_dialog_s_answer_from_output_and_exit_status) {
    struct Case {
        const char* what;
        std::string output;
        int status;
        Status expected;
        std::string expected_path;
    };
    const Case cases[] = {
        {"chosen", "/banks/new one\\n", 0, Status::chosen, "/banks/new one"},
        {"chosen without newline", "/banks/x", 0, Status::chosen, "/banks/x"},
        {"nothing printed", "", 0, Status::failed, ""},
        {"cancelled", "", 1, Status::cancelled, ""},
        {"zenity error", "", 255, Status::failed, ""},
        {"timed out", "", 5, Status::failed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeZenity zenity(c.output, c.status);
        sys::ZenityDialogBackend backend;
        const sys::FileDialogResult result =
            backend.run_file_dialog(bank_request(sys::FileDialogMode::open));
        EXPECT_EQ(result.status, c.expected);
        EXPECT_EQ(result.path, c.expected_path);
        if (c.expected == Status::chosen) {
            EXPECT_EQ(result.selected_filter, 1);
        }
    }
}

TEST(ZenityDialogBackend, starts_the_file_dialog_with_the_selected_filter_first) {
    for (const sys::FileDialogMode mode : {sys::FileDialogMode::open, sys::FileDialogMode::save}) {
        FakeZenity zenity("", 1);
        sys::ZenityDialogBackend backend;
        backend.run_file_dialog(bank_request(mode));
        const std::string save = mode == sys::FileDialogMode::save ? "--save\n" : "";
        EXPECT_EQ(zenity.arguments(), "--file-selection\n--title=Load bank\n" + save +
                                          "--filename=/banks/my bank.pbk\n"
                                          "--file-filter=Preset bank files | *.pbk\n"
                                          "--file-filter=All files | *.*\n"
                                          "--file-filter=Both | *.a *.b\n");
    }
}

TEST(ZenityDialogBackend, maps_the_message_box_exit_status_for_each_button_set) {
    struct Case {
        sys::MessageBoxButtons buttons;
        int default_button;
        int status;
        Answer expected;
        std::string arguments;
    };
    const std::string head = "--title=Bank\n--text=Replace <b>it</b>?\n--no-markup\n";
    const Case cases[] = {
        {sys::MessageBoxButtons::ok, 0, 0, Answer::ok, "--info\n" + head + "--ok-label=OK\n"},
        {sys::MessageBoxButtons::ok, 1, 1, Answer::ok, "--info\n" + head + "--ok-label=OK\n"},
        {sys::MessageBoxButtons::ok, 0, 5, Answer::failed, "--info\n" + head + "--ok-label=OK\n"},
        {sys::MessageBoxButtons::ok_cancel, 0, 0, Answer::ok,
         "--question\n" + head + "--ok-label=OK\n--cancel-label=Cancel\n"},
        {sys::MessageBoxButtons::ok_cancel, 1, 1, Answer::cancel,
         "--question\n" + head + "--ok-label=OK\n--cancel-label=Cancel\n--default-cancel\n"},
        {sys::MessageBoxButtons::yes_no, 4, 0, Answer::yes,
         "--question\n" + head + "--ok-label=Yes\n--cancel-label=No\n"},
        {sys::MessageBoxButtons::yes_no, 1, 1, Answer::no,
         "--question\n" + head + "--ok-label=Yes\n--cancel-label=No\n--default-cancel\n"},
        {sys::MessageBoxButtons::yes_no, 0, 255, Answer::failed,
         "--question\n" + head + "--ok-label=Yes\n--cancel-label=No\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "buttons " << static_cast<int>(c.buttons) << ", exit " << c.status);
        FakeZenity zenity("", c.status);
        sys::ZenityDialogBackend backend;
        const Answer answer =
            backend.run_message_box({"Bank", "Replace <b>it</b>?", c.buttons, c.default_button});
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(zenity.arguments(), c.arguments);
    }
}

TEST(ZenityDialogBackend, fails_without_a_display_or_without_zenity) {
    TempDir empty;
    struct Case {
        const char* what;
        std::optional<std::string> display;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"no display", std::nullopt, std::nullopt},
        {"empty display", "", std::nullopt},
        {"no zenity", ":99", empty.path},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedEnv display("DISPLAY", c.display);
        ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
        std::optional<ScopedEnv> path;
        if (c.path) {
            path.emplace("PATH", c.path);
        }
        sys::ZenityDialogBackend backend;
        EXPECT_EQ(backend.run_file_dialog(bank_request(sys::FileDialogMode::save)).status,
                  Status::failed);
        EXPECT_EQ(backend.run_message_box({"t", "x", sys::MessageBoxButtons::yes_no, 0}),
                  Answer::failed);
        // The platform's back end is the default one for the portable classes.
        sys::FileSelector selector;
        EXPECT_EQ(selector.open(), -1);
        EXPECT_EQ(sys::SimpleMessageBox().show("t", "x", 1, 0), -1);
    }
}

bool on_path(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        if (access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

TEST(ZenityDialogBackend, shows_a_real_message_box_until_it_times_out) {
    const char* display = std::getenv("DISPLAY");
    if (!on_path("zenity") || !on_path("xvfb-run") || display == nullptr || *display == '\0') {
        GTEST_SKIP() << "needs zenity, xvfb-run and a display (run under xvfb-run)";
    }
    sys::ZenityDialogBackend backend(1);
    const double start = sys::now();
    EXPECT_EQ(backend.run_message_box(
                  {"Quevrin test", "Closes by itself.", sys::MessageBoxButtons::ok_cancel, 0}),
              Answer::failed);
    // The box was up until zenity's own timeout closed it.
    EXPECT_GE(sys::now() - start, 0.9);
}

} // namespace

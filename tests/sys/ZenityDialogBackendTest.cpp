// The POSIX dialogs: how zenity is started and how its answers are read.
// A stand-in zenity script records its arguments; one case runs the real
// zenity when a display is available.
#include "sys/posix/ZenityDialogBackend.h"

#include "sys/Clock.h"
#include "sys/FileSelector.h"
#include "sys/SimpleMessageBox.h"
#include "sys/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Status = sys::FileDialogResult::Status;
using Answer = sys::MessageBoxAnswer;
using Buttons = sys::MessageBoxButtons;

// Puts a zenity on PATH that writes its arguments one a line, prints the
// given output and exits with the given status.
struct FakeZenity {
    FakeZenity(const std::string& output, int status) {
        dir.add_script("zenity", "for a in \"$@\"; do echo \"$a\"; done > '" + dir.path +
                                     "/arguments'\nprintf '" + output + "'\nexit " +
                                     std::to_string(status));
    }
    TempDir dir;
    test::ScopedEnv display{"DISPLAY", ":99"};
    test::ScopedEnv path{"PATH", dir.path};
};

const sys::FileDialogRequest bank_request{sys::FileDialogMode::save,
                                          "Save bank",
                                          {{"All", "*.*"}, {"Banks", "*.pbk"}, {"Two", "*.a;*.b"}},
                                          1,
                                          "/banks/my bank.pbk"};

TEST(ZenityDialogBackend, starts_the_file_dialog_with_the_selected_filter_first) {
    FakeZenity zenity("", 1);
    sys::ZenityDialogBackend().run_file_dialog(bank_request);
    EXPECT_EQ(
        zenity.dir.read("arguments"),
        "--file-selection\n--title=Save bank\n--save\n--filename=/banks/my bank.pbk\n"
        "--file-filter=Banks | *.pbk\n--file-filter=All | *.*\n--file-filter=Two | *.a *.b\n");
}

TEST(ZenityDialogBackend, reads_the_file_dialog_s_answer_from_output_and_exit_status) {
    const std::tuple<std::string, int, Status, std::string> cases[] = {
        {"/banks/new one\\n", 0, Status::chosen, "/banks/new one"},
        {"/banks/x", 0, Status::chosen, "/banks/x"},
        {"", 0, Status::failed, ""},
        {"", 1, Status::cancelled, ""},
        {"/banks/x\\n", 255, Status::failed, ""},
    };
    for (const auto& [output, status, expected, expected_path] : cases) {
        FakeZenity zenity(output, status);
        const sys::FileDialogResult result =
            sys::ZenityDialogBackend().run_file_dialog(bank_request);
        EXPECT_EQ(result.status, expected) << output << " " << status;
        EXPECT_EQ(result.path, expected_path);
        EXPECT_EQ(result.selected_filter, expected == Status::chosen ? 1 : 0);
    }
}

TEST(ZenityDialogBackend, labels_the_message_box_and_maps_its_exit_status) {
    const struct {
        Buttons buttons;
        int default_button, status;
        Answer expected;
        std::string tail; // the arguments after the common ones
        sys::MessageBoxIcon icon = sys::MessageBoxIcon::notice;
    } cases[] = {
        {Buttons::ok, 1, 0, Answer::ok, "--ok-label=OK\n"},
        {Buttons::ok, 0, 1, Answer::ok, "--ok-label=OK\n"},
        {Buttons::ok, 0, 5, Answer::failed, "--ok-label=OK\n"},
        {Buttons::ok, 0, 0, Answer::ok, "--ok-label=OK\n", sys::MessageBoxIcon::error},
        {Buttons::ok_cancel, 0, 0, Answer::ok, "--ok-label=OK\n--cancel-label=Cancel\n"},
        {Buttons::ok_cancel, 1, 1, Answer::cancel,
         "--ok-label=OK\n--cancel-label=Cancel\n--default-cancel\n"},
        {Buttons::yes_no, 4, 0, Answer::yes, "--ok-label=Yes\n--cancel-label=No\n"},
        {Buttons::yes_no, 0, 1, Answer::no, "--ok-label=Yes\n--cancel-label=No\n"},
        {Buttons::yes_no, 0, 255, Answer::failed, "--ok-label=Yes\n--cancel-label=No\n"},
    };
    for (const auto& c : cases) {
        FakeZenity zenity("", c.status);
        EXPECT_EQ(sys::ZenityDialogBackend().run_message_box(
                      {"Bank", "<b>Replace</b>?", c.buttons, c.default_button, c.icon}),
                  c.expected)
            << c.tail << c.status;
        const std::string kind = c.buttons != Buttons::ok               ? "--question\n"
                                 : c.icon == sys::MessageBoxIcon::error ? "--error\n"
                                                                        : "--info\n";
        EXPECT_EQ(zenity.dir.read("arguments"),
                  kind + "--title=Bank\n--text=<b>Replace</b>?\n--no-markup\n" + c.tail);
    }
}

TEST(ZenityDialogBackend, fails_without_a_display_or_without_zenity) {
    TempDir empty;
    const std::pair<std::optional<std::string>, std::optional<std::string>> cases[] = {
        {std::nullopt, std::nullopt}, {"", std::nullopt}, {":99", empty.path}};
    for (const auto& [display_value, path_value] : cases) {
        test::ScopedEnv display("DISPLAY", display_value);
        test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
        std::optional<test::ScopedEnv> path;
        if (path_value) {
            path.emplace("PATH", path_value);
        }
        sys::ZenityDialogBackend backend;
        testing::internal::CaptureStderr();
        EXPECT_EQ(backend.run_file_dialog(bank_request).status, Status::failed);
        EXPECT_EQ(backend.run_message_box({"t", "x", Buttons::yes_no, 0}), Answer::failed);
        // The portable classes use the platform's back end by default.
        EXPECT_EQ(sys::FileSelector().open(), -1);
        EXPECT_EQ(sys::SimpleMessageBox().show("t", "x", 1, 0), -1);
        // Without zenity each of the four says so; without a display nothing is tried.
        const std::string told = testing::internal::GetCapturedStderr();
        std::size_t sentences = 0;
        for (std::size_t at = told.find("zenity, which is not installed"); at != std::string::npos;
             at = told.find("zenity, which is not installed", at + 1))
            ++sentences;
        EXPECT_EQ(sentences, path_value ? 4u : 0u) << told;
    }
}

TEST(ZenityDialogBackend, shows_a_real_message_box_until_it_times_out) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0' ||
        std::system("command -v zenity xvfb-run > /dev/null") != 0) {
        GTEST_SKIP() << "needs zenity, xvfb-run and a display (run under xvfb-run)";
    }
    const double start = sys::now();
    EXPECT_EQ(sys::ZenityDialogBackend(1).run_message_box(
                  {"Quevrin test", "Closes by itself.", Buttons::ok_cancel, 0}),
              Answer::failed);
    EXPECT_GE(sys::now() - start, 0.9); // it stayed up until zenity's own timeout
}

} // namespace

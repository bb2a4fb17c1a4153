// The file selector's bookkeeping around a dialog: result codes, filter
// index, default extension and the settings the dialog is asked to show.
#include "sys/FileSelector.h"

#include "sys/ScriptedDialogBackend.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Status = sys::FileDialogResult::Status;
using Answer = std::function<sys::FileDialogResult(const sys::FileDialogRequest&)>;

const std::vector<sys::FileFilter> filters{{"All files", "*.*"},
                                           {"Preset bank files", "*.pbk"},
                                           {"Two kinds", "*.a;*.b"},
                                           {"Read me", "README*"}};

Answer returns(Status status, const std::string& path = "", int index = 0) {
    return [=](const sys::FileDialogRequest&) {
        return sys::FileDialogResult{status, path, index};
    };
}

TEST(FileSelector, a_chosen_name_without_extension_gets_the_selected_filter_s) {
    const struct {
        int selected;
        std::string returned;
        int returned_index;
        std::string expected;
        int expected_index;
    } cases[] = {
        {1, "mybank", 1, "mybank.pbk", 1},
        {1, "my.bank", 1, "my.bank", 1},
        {1, "/home/u.d/mybank", 1, "/home/u.d/mybank.pbk", 1},
        {1, "/home/u/my.bank", 1, "/home/u/my.bank", 1},
        {1, "C:\\banks.old\\mybank", 1, "C:\\banks.old\\mybank.pbk", 1},
        {0, "notes", 0, "notes.*", 0},
        {2, "notes", 2, "notes.b", 2},
        {3, "readme", 3, "readme", 3},     // no extension in the pattern
        {0, "mybank", 1, "mybank.pbk", 1}, // filter changed in the dialog
        {1, "mybank", 7, "mybank.pbk", 1}, // impossible index ignored
        {0, "notes", -1, "notes.*", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.returned);
        ScriptedDialogBackend backend;
        backend.file_answer = returns(Status::chosen, c.returned, c.returned_index);
        sys::FileSelector selector;
        selector.set_filters(filters);
        selector.set_selected_filter_index(c.selected);
        EXPECT_EQ(selector.save(), 0);
        EXPECT_EQ(selector.path, c.expected);
        EXPECT_EQ(selector.get_selected_filter_index(), c.expected_index);
    }
}

TEST(FileSelector, cancel_errors_and_exceptions_leave_path_and_index_alone) {
    const Answer throws_runtime = [](const sys::FileDialogRequest&) -> sys::FileDialogResult {
        throw std::runtime_error("dialog broke");
    };
    const Answer throws_int = [](const sys::FileDialogRequest&) -> sys::FileDialogResult {
        throw 42;
    };
    const std::pair<Answer, int> cases[] = {{returns(Status::cancelled), 1},
                                            {returns(Status::failed), -1},
                                            {returns(Status::chosen, "", 1), -1},
                                            {throws_runtime, -1},
                                            {throws_int, -1}};
    for (const auto& [answer, expected] : cases) {
        ScriptedDialogBackend backend;
        backend.file_answer = answer;
        sys::FileSelector selector;
        selector.set_filters(filters);
        selector.set_selected_filter_index(2);
        selector.path = "/banks/start";
        EXPECT_EQ(selector.open(), expected);
        EXPECT_EQ(selector.save(), expected);
        EXPECT_EQ(selector.path, "/banks/start");
        EXPECT_EQ(selector.get_selected_filter_index(), 2);
    }
}

TEST(FileSelector, asks_the_dialog_for_its_settings_starting_from_all_files) {
    ScriptedDialogBackend backend;
    backend.file_answer = returns(Status::cancelled);
    sys::FileSelector selector;
    selector.open();
    selector.set_filters(filters);
    selector.set_selected_filter_index(1);
    selector.set_title("Save bank");
    selector.path = "/banks/mine.pbk";
    selector.save();

    ASSERT_EQ(backend.file_requests.size(), 2u);
    const sys::FileDialogRequest& first = backend.file_requests[0];
    EXPECT_EQ(first.mode, sys::FileDialogMode::open);
    EXPECT_EQ(first.filters, (std::vector<sys::FileFilter>{{"All files", "*.*"}}));
    EXPECT_EQ(first.selected_filter, 0);
    EXPECT_EQ(first.title + first.initial_path, "");
    const sys::FileDialogRequest& second = backend.file_requests[1];
    EXPECT_EQ(second.mode, sys::FileDialogMode::save);
    EXPECT_EQ(second.filters, filters);
    EXPECT_EQ(second.selected_filter, 1);
    EXPECT_EQ(second.title, "Save bank");
    EXPECT_EQ(second.initial_path, "/banks/mine.pbk");
}

TEST(FileSelector, setting_filters_limits_the_selected_index_to_the_new_list) {
    // selected index, new filter count, index after
    const int cases[][3] = {{2, 3, 2}, {3, 2, 1}, {9, 1, 0}, {1, 0, 0}, {-2, 3, 0}};
    for (const auto& c : cases) {
        sys::FileSelector selector;
        selector.set_selected_filter_index(c[0]);
        selector.set_filters(std::vector<sys::FileFilter>(c[1], {"Any", "*.x"}));
        EXPECT_EQ(selector.get_selected_filter_index(), c[2]) << c[0] << " of " << c[1];
    }
}

} // namespace

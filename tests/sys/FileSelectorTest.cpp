// The file selector's bookkeeping around a dialog: result codes, filter
// index, default extension and what the dialog is asked to show.
#include "sys/FileSelector.h"

#include "sys/ScriptedDialogBackend.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Status = sys::FileDialogResult::Status;

const std::vector<sys::FileFilter> bank_filters{
    {"All files", "*.*"}, {"Preset bank files", "*.pbk"}, {"Two kinds", "*.a;*.b"}};

sys::FileDialogResult chosen(const std::string& path, int index) {
    return {Status::chosen, path, index};
}

TEST(FileSelector, starts_with_one_catch_all_filter_and_nothing_else) {
    sys::FileSelector selector;
    ASSERT_EQ(selector.get_filters().size(), 1u);
    EXPECT_EQ(selector.get_filters()[0], sys::FileFilter("All files", "*.*"));
    EXPECT_EQ(selector.get_selected_filter_index(), 0);
    EXPECT_EQ(selector.get_title(), "");
    EXPECT_EQ(selector.path, "");
}

TEST(FileSelector, a_chosen_name_without_extension_gets_the_selected_pattern_s) {
    struct Case {
        const char* what;
        int selected;
        std::string returned_path;
        int returned_index;
        std::string expected_path;
        int expected_index;
    };
    const Case cases[] = {
        {"bank pattern", 1, "mybank", 1, "mybank.pbk", 1},
        {"name with a dot", 1, "my.bank", 1, "my.bank", 1},
        {"directory with slash", 1, "/home/u/mybank", 1, "/home/u/mybank.pbk", 1},
        {"dot only in a directory", 1, "/home/u.d/mybank", 1, "/home/u.d/mybank.pbk", 1},
        {"dot in the name under a directory", 1, "/home/u/my.bank", 1, "/home/u/my.bank", 1},
        {"backslash separator", 1, "C:\\banks.old\\mybank", 1, "C:\\banks.old\\mybank.pbk", 1},
        {"catch-all pattern", 0, "notes", 0, "notes.*", 0},
        {"filter changed in the dialog", 0, "mybank", 1, "mybank.pbk", 1},
        {"index out of range is ignored", 1, "mybank", 7, "mybank.pbk", 1},
        {"negative index is ignored", 0, "notes", -1, "notes.*", 0},
        {"several patterns", 2, "mybank", 2, "mybank.b", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogBackend backend;
        backend.file_answer = [&](const sys::FileDialogRequest&) {
            return chosen(c.returned_path, c.returned_index);
        };
        sys::FileSelector selector;
        selector.set_filters(bank_filters);
        selector.set_selected_filter_index(c.selected);
        EXPECT_EQ(selector.save(), 0);
        EXPECT_EQ(selector.path, c.expected_path);
        EXPECT_EQ(selector.get_selected_filter_index(), c.expected_index);
    }
}

TEST(FileSelector, a_pattern_without_an_extension_or_an_empty_filter_list_appends_nothing) {
    ScriptedDialogBackend backend;
    backend.file_answer = [](const sys::FileDialogRequest&) { return chosen("readme", 0); };
    sys::FileSelector selector;
    selector.set_filters({{"Read me", "README*"}});
    EXPECT_EQ(selector.open(), 0);
    EXPECT_EQ(selector.path, "readme");

    selector.set_filters({});
    EXPECT_EQ(selector.open(), 0);
    EXPECT_EQ(selector.path, "readme");
    EXPECT_EQ(selector.get_selected_filter_index(), 0);
}

TEST(FileSelector, cancel_error_and_exceptions_leave_the_path_alone) {
    struct Case {
        const char* what;
        std::function<sys::FileDialogResult(const sys::FileDialogRequest&)> answer;
        int expected;
    };
    const Case cases[] = {
        {"cancelled",
         [](const sys::FileDialogRequest&) {
             return sys::FileDialogResult{Status::cancelled, "", 0};
         },
         1},
        {"failed",
         [](const sys::FileDialogRequest&) {
             return sys::FileDialogResult{Status::failed, "", 0};
         },
         -1},
        {"chosen but empty", [](const sys::FileDialogRequest&) { return chosen("", 1); }, -1},
        {"standard exception",
         [](const sys::FileDialogRequest&) -> sys::FileDialogResult {
             throw std::runtime_error("dialog broke");
         },
         -1},
        {"bad allocation",
         [](const sys::FileDialogRequest&) -> sys::FileDialogResult { throw std::bad_alloc(); },
         -1},
        {"anything thrown",
         [](const sys::FileDialogRequest&) -> sys::FileDialogResult { throw 42; }, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogBackend backend;
        backend.file_answer = c.answer;
        sys::FileSelector selector;
        selector.set_filters(bank_filters);
        selector.set_selected_filter_index(1);
        selector.path = "/banks/start";
        EXPECT_EQ(selector.open(), c.expected);
        EXPECT_EQ(selector.save(), c.expected);
        EXPECT_EQ(selector.path, "/banks/start");
        EXPECT_EQ(selector.get_selected_filter_index(), 1);
    }
}

TEST(FileSelector, the_dialog_is_asked_for_the_selector_s_settings) {
    ScriptedDialogBackend backend;
    backend.file_answer = [](const sys::FileDialogRequest&) {
        return sys::FileDialogResult{Status::cancelled, "", 0};
    };
    sys::FileSelector selector;
    selector.set_filters(bank_filters);
    selector.set_selected_filter_index(1);
    selector.set_title("Save bank");
    selector.path = "/banks/mine.pbk";
    selector.open();
    selector.save();

    ASSERT_EQ(backend.file_requests.size(), 2u);
    EXPECT_EQ(backend.file_requests[0].mode, sys::FileDialogMode::open);
    EXPECT_EQ(backend.file_requests[1].mode, sys::FileDialogMode::save);
    for (const sys::FileDialogRequest& request : backend.file_requests) {
        EXPECT_EQ(request.title, "Save bank");
        EXPECT_EQ(request.filters, bank_filters);
        EXPECT_EQ(request.selected_filter, 1);
        EXPECT_EQ(request.initial_path, "/banks/mine.pbk");
    }
}

TEST(FileSelector, setting_filters_limits_the_selected_index_to_the_new_list) {
    struct Case {
        int selected;
        std::size_t filter_count;
        int expected;
    };
    const Case cases[] = {
        {0, 3, 0}, {2, 3, 2}, {3, 2, 1}, {9, 1, 0}, {1, 0, 0}, {-2, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.selected << " with " << c.filter_count);
        sys::FileSelector selector;
        selector.set_selected_filter_index(c.selected);
        selector.set_filters(std::vector<sys::FileFilter>(c.filter_count, {"Any", "*"}));
        EXPECT_EQ(selector.get_selected_filter_index(), c.expected);
        EXPECT_EQ(selector.get_filters().size(), c.filter_count);
    }
}

} // namespace

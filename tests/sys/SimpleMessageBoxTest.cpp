// The message box's result for each button set and answer, and the seam
// through which tests replace the platform's dialogs.
#include "sys/SimpleMessageBox.h"

#include "sys/ScriptedDialogBackend.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Answer = sys::MessageBoxAnswer;

TEST(SimpleMessageBox, maps_each_answer_of_each_button_set) {
    const Answer answers[] = {Answer::ok, Answer::cancel, Answer::yes, Answer::no, Answer::failed};
    // expected result per answer, in the order above, for buttons 0, 1, 2
    const int expected[3][5] = {{0, -1, -1, -1, -1}, {0, 1, -1, -1, -1}, {-1, -1, 0, 1, -1}};
    for (int buttons = 0; buttons < 3; ++buttons) {
        for (int a = 0; a < 5; ++a) {
            ScriptedDialogBackend backend;
            backend.box_answer = [&](const sys::MessageBoxRequest&) { return answers[a]; };
            EXPECT_EQ(sys::SimpleMessageBox().show("T", "x", buttons, 0), expected[buttons][a])
                << "buttons " << buttons << ", answer " << a;
            ASSERT_EQ(backend.box_requests.size(), 1u);
            EXPECT_EQ(static_cast<int>(backend.box_requests[0].buttons), buttons);
        }
    }
}

TEST(SimpleMessageBox, passes_its_arguments_and_fails_on_unknown_sets_or_exceptions) {
    ScriptedDialogBackend backend;
    backend.box_answer = [](const sys::MessageBoxRequest& request) -> Answer {
        if (request.default_button == 3) {
            throw std::runtime_error("no display");
        }
        return Answer::no;
    };
    sys::SimpleMessageBox box;
    EXPECT_EQ(box.show("Overwrite?", "The file exists.\nReplace it?", 2, 1), 1);
    ASSERT_EQ(backend.box_requests.size(), 1u);
    EXPECT_EQ(backend.box_requests[0].title, "Overwrite?");
    EXPECT_EQ(backend.box_requests[0].text, "The file exists.\nReplace it?");
    EXPECT_EQ(backend.box_requests[0].default_button, 1);

    EXPECT_EQ(box.show("t", "x", -1, 0), -1);
    EXPECT_EQ(box.show("t", "x", 3, 0), -1);
    EXPECT_EQ(backend.box_requests.size(), 1u);
    EXPECT_EQ(box.show("t", "x", 2, 3), -1);
}

TEST(DialogBackend, installed_back_ends_nest_and_null_restores_the_platform_s) {
    sys::DialogBackendInterface& platform = sys::platform_dialog_backend();
    EXPECT_EQ(&sys::dialog_backend(), &platform);
    {
        ScriptedDialogBackend outer;
        {
            ScriptedDialogBackend inner;
            EXPECT_EQ(&sys::dialog_backend(), &inner);
        }
        EXPECT_EQ(&sys::dialog_backend(), &outer);
    }
    EXPECT_EQ(&sys::dialog_backend(), &platform);
}

} // namespace

// The message box's result codes for each button set and answer.
#include "sys/SimpleMessageBox.h"

#include "sys/ScriptedDialogBackend.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Answer = sys::MessageBoxAnswer;

TEST(SimpleMessageBox, maps_each_answer_of_each_button_set) {
    struct Case {
        int buttons;
        Answer answer;
        int expected;
    };
    const Case cases[] = {
        {0, Answer::ok, 0},      {0, Answer::cancel, -1}, {0, Answer::yes, -1},
        {0, Answer::failed, -1}, {1, Answer::ok, 0},      {1, Answer::cancel, 1},
        {1, Answer::no, -1},     {1, Answer::failed, -1}, {2, Answer::yes, 0},
        {2, Answer::no, 1},      {2, Answer::ok, -1},     {2, Answer::cancel, -1},
        {2, Answer::failed, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "buttons " << c.buttons << ", answer " << static_cast<int>(c.answer));
        ScriptedDialogBackend backend;
        backend.box_answer = [&](const sys::MessageBoxRequest&) { return c.answer; };
        sys::SimpleMessageBox box;
        EXPECT_EQ(box.show("Title", "Text", c.buttons, 0), c.expected);
        ASSERT_EQ(backend.box_requests.size(), 1u);
        EXPECT_EQ(static_cast<int>(backend.box_requests[0].buttons), c.buttons);
    }
}

TEST(SimpleMessageBox, passes_title_text_and_default_button_through) {
    ScriptedDialogBackend backend;
    backend.box_answer = [](const sys::MessageBoxRequest&) { return Answer::no; };
    sys::SimpleMessageBox box;
    EXPECT_EQ(box.show("Overwrite?", "The file exists.\nReplace it?", 2, 1), 1);
    ASSERT_EQ(backend.box_requests.size(), 1u);
    EXPECT_EQ(backend.box_requests[0].title, "Overwrite?");
    EXPECT_EQ(backend.box_requests[0].text, "The file exists.\nReplace it?");
    EXPECT_EQ(backend.box_requests[0].buttons, sys::MessageBoxButtons::yes_no);
    EXPECT_EQ(backend.box_requests[0].default_button, 1);
}

TEST(SimpleMessageBox, unknown_button_sets_and_exceptions_fail) {
    ScriptedDialogBackend backend;
    backend.box_answer = [](const sys::MessageBoxRequest&) -> Answer {
        throw std::runtime_error("no display");
    };
    sys::SimpleMessageBox box;
    EXPECT_EQ(box.show("t", "x", -1, 0), -1);
    EXPECT_EQ(box.show("t", "x", 3, 0), -1);
    EXPECT_TRUE(backend.box_requests.empty());
    EXPECT_EQ(box.show("t", "x", 1, 0), -1);
    EXPECT_EQ(backend.box_requests.size(), 1u);
}

TEST(DialogBackend, installing_returns_the_previous_one_and_null_restores_the_platform_s) {
    sys::DialogBackendInterface& platform = sys::dialog_backend();
    {
        ScriptedDialogBackend outer;
        EXPECT_EQ(&sys::dialog_backend(), &outer);
        {
            ScriptedDialogBackend inner;
            EXPECT_EQ(&sys::dialog_backend(), &inner);
        }
        EXPECT_EQ(&sys::dialog_backend(), &outer);
    }
    EXPECT_EQ(&sys::dialog_backend(), &platform);
    EXPECT_EQ(&platform, &sys::platform_dialog_backend());
}

} // namespace

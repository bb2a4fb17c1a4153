// The thread check (test builds): an operation on the other role's thread
// stops the program, a restart lets a new thread process, and one thread may
// hold both roles.
#include "mppi/ThreadCheck.h"

#include <gtest/gtest.h>

#include <thread>

#ifdef QUEVRIN_THREAD_CHECKS

namespace {

template <class F>
void on_another_thread(F f) {
    std::thread(f).join();
}

TEST(ThreadCheckDeathTest, an_operation_outside_its_learned_thread_stops_the_program) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            mppi::ThreadCheck check;
            check.editor_thread("set_param");
            on_another_thread([&] { check.editor_thread("set_param"); });
        },
        "set_param runs outside the editor thread");
    EXPECT_DEATH(
        {
            mppi::ThreadCheck check;
            on_another_thread([&] { check.audio_thread("process_block"); });
            check.audio_thread("process_block");
        },
        "process_block runs outside the audio thread");
    EXPECT_DEATH(
        {
            mppi::ThreadCheck check;
            check.editor_thread("create_core");
            on_another_thread([&] { check.restart_audio("start_streaming"); });
        },
        "start_streaming runs outside the editor thread");
}

TEST(ThreadCheck, a_restart_teaches_the_audio_thread_anew_and_one_thread_may_hold_both_roles) {
    mppi::ThreadCheck check;
    check.editor_thread("create_core");
    check.audio_thread("process_block");
    check.restart_audio("start_streaming");
    on_another_thread([&] {
        check.audio_thread("process_block");
        check.audio_thread("process_block");
    });
    check.restart_audio("start_streaming");
    check.audio_thread("process_block");
    check.editor_thread("set_param");
    SUCCEED() << "no check stopped the program";
}

} // namespace

#endif

#pragma once

// The thread tags of one plug-in instance, checked in test builds.
//
// Built with QUEVRIN_THREAD_CHECKS (Debug and sanitizer builds), a
// ThreadCheck learns the audio thread from the first block processed after
// streaming (re)starts and the editor thread from the first editor-side
// operation; an operation tagged for one of them that runs on another thread
// stops the program with a message on stderr. A check is an atomic load and
// at most one compare-exchange: it never allocates, locks or throws, so the
// audio path may use it. Without the option the class is empty and the
// checks compile to nothing.
#ifdef QUEVRIN_THREAD_CHECKS

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace mppi {

class ThreadCheck {
public:
    // [audio thread] The first call after a restart learns the thread.
    void audio_thread(const char* operation) noexcept { expect(audio_, "audio", operation); }
    // [editor thread] The first call learns the thread.
    void editor_thread(const char* operation) noexcept { expect(editor_, "editor", operation); }
    // [editor thread, audio thread stopped] Streaming (re)starts: the next
    // block teaches the audio thread anew.
    void restart_audio(const char* operation) noexcept {
        editor_thread(operation);
        audio_.store(std::thread::id(), std::memory_order_release);
    }

private:
    static void expect(std::atomic<std::thread::id>& role, const char* name,
                       const char* operation) noexcept {
        const std::thread::id self = std::this_thread::get_id();
        std::thread::id known = role.load(std::memory_order_acquire);
        if (known == std::thread::id() &&
            role.compare_exchange_strong(known, self, std::memory_order_acq_rel))
            return;
        if (known == self)
            return;
        std::fprintf(stderr, "quevrin: %s runs outside the %s thread\n", operation, name);
        std::abort();
    }

    std::atomic<std::thread::id> audio_{};
    std::atomic<std::thread::id> editor_{};
};

} // namespace mppi

#define QUEVRIN_ASSERT_AUDIO_THREAD(check) (check).audio_thread(__func__)
#define QUEVRIN_ASSERT_EDITOR_THREAD(check) (check).editor_thread(__func__)
#define QUEVRIN_RESTART_AUDIO_THREAD(check) (check).restart_audio(__func__)

#else

namespace mppi {

class ThreadCheck {};

} // namespace mppi

#define QUEVRIN_ASSERT_AUDIO_THREAD(check) static_cast<void>(check)
#define QUEVRIN_ASSERT_EDITOR_THREAD(check) static_cast<void>(check)
#define QUEVRIN_RESTART_AUDIO_THREAD(check) static_cast<void>(check)

#endif

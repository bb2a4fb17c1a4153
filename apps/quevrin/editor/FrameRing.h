#pragma once

#include <atomic>
#include <cstddef>
#include <vector>

// Stereo float frames from one producer thread to one consumer thread
// without locks: each side owns one counter and only reads the other's, so
// neither ever waits on the other. The consumer may be a real-time audio
// callback: read() neither allocates, locks nor blocks.
class FrameRing {
public:
    static constexpr int channels = 2;

    // [editor thread] Room for at least `frames` frames.
    explicit FrameRing(std::size_t frames);

    // [audio thread, producer] Appends up to `count` frames; how many fitted.
    std::size_t write(const float* frames, std::size_t count);
    // [any thread, consumer] Takes up to `count` frames; how many there were.
    std::size_t read(float* frames, std::size_t count);
    // [any thread] Frames waiting to be read.
    std::size_t available() const;
    std::size_t capacity() const { return mask_ + 1; }

private:
    static_assert(std::atomic<std::size_t>::is_always_lock_free);

    std::vector<float> samples_;
    std::size_t mask_;
    std::atomic<std::size_t> written_{0}; // frames ever written; the producer's
    std::atomic<std::size_t> read_{0};    // frames ever read; the consumer's
};

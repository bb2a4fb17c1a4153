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

    // [editor thread] Room for at least `frames` frames: the power of two
    // that holds them.
    explicit FrameRing(std::size_t frames);
    // [editor thread] Empty, holding at most `frames` frames (at least 1),
    // so that a full ring delays by exactly that; only while neither side runs.
    void resize(std::size_t frames);

    // [audio thread, producer] Appends up to `count` frames; how many fitted.
    std::size_t write(const float* frames, std::size_t count);
    // [any thread, consumer] Takes up to `count` frames; how many there were.
    std::size_t read(float* frames, std::size_t count);
    // [any thread] Frames waiting to be read.
    std::size_t available() const;
    std::size_t capacity() const { return limit_; }

private:
    static_assert(std::atomic<std::size_t>::is_always_lock_free);

    std::vector<float> samples_;
    std::size_t mask_ = 0;                // of the storage, a power of two
    std::size_t limit_ = 1;               // the most frames it holds
    std::atomic<std::size_t> written_{0}; // frames ever written; the producer's
    std::atomic<std::size_t> read_{0};    // frames ever read; the consumer's
};

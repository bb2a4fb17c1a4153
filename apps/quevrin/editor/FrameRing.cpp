#include "FrameRing.h"

#include <algorithm>

namespace {
std::size_t power_of_two_at_least(std::size_t n) {
    std::size_t p = 1;
    while (p < n)
        p <<= 1;
    return p;
}
} // namespace

FrameRing::FrameRing(std::size_t frames) {
    resize(power_of_two_at_least(frames));
}

void FrameRing::resize(std::size_t frames) {
    limit_ = std::max<std::size_t>(frames, 1);
    samples_.assign(power_of_two_at_least(limit_) * channels, 0.0f);
    mask_ = samples_.size() / channels - 1;
    written_.store(0);
    read_.store(0);
}

std::size_t FrameRing::write(const float* frames, std::size_t count) {
    const std::size_t w = written_.load(std::memory_order_relaxed);
    const std::size_t r = read_.load(std::memory_order_acquire);
    const std::size_t n = std::min(count, capacity() - (w - r));
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = ((w + i) & mask_) * channels;
        samples_[at] = frames[i * channels];
        samples_[at + 1] = frames[i * channels + 1];
    }
    written_.store(w + n, std::memory_order_release);
    return n;
}

std::size_t FrameRing::read(float* frames, std::size_t count) {
    const std::size_t r = read_.load(std::memory_order_relaxed);
    const std::size_t w = written_.load(std::memory_order_acquire);
    const std::size_t n = std::min(count, w - r);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t at = ((r + i) & mask_) * channels;
        frames[i * channels] = samples_[at];
        frames[i * channels + 1] = samples_[at + 1];
    }
    read_.store(r + n, std::memory_order_release);
    return n;
}

std::size_t FrameRing::available() const {
    return written_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire);
}

#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

namespace effect {

// The memory of a circular delay buffer: a power-of-two number of elements
// from calloc, which takes blocks this large from pages the system hands out
// zeroed on first touch. An instance then pays, in time and in resident
// memory, only for the part its delays have written.
//
// Clearing costs bookkeeping, not a pass over seconds of memory: the memory is
// kept in chunks of 4 KiB, each clean (zero, unwritten since), dirty
// (written) or stale (written before the last clear). A stale chunk is zeroed
// when it is next read or written, so a call zeroes at most the few chunks its
// own reads and writes touch. The buffer's users announce each stretch before
// reading or writing it; while nothing is stale and nothing clean is left to
// write, an announcement is one comparison.
//
// Threads: allocation on the editor thread with the audio thread stopped;
// everything else belongs to the audio thread.
template <typename T>
class DelayMemory {
    static_assert(std::is_trivially_copyable_v<T>, "elements are zeroed as bytes");

public:
    static constexpr int chunk_length = 4096 / int(sizeof(T));

    // [editor thread, audio thread stopped] `length` zero elements (a power
    // of two); false when the system has no memory for them, and the previous
    // memory stays.
    bool allocate(int length) {
        const int chunks = (length + chunk_length - 1) / chunk_length;
        std::unique_ptr<T, Free> elements(
            static_cast<T*>(std::calloc(std::size_t(length), sizeof(T))));
        std::unique_ptr<std::uint8_t, Free> states(
            static_cast<std::uint8_t*>(std::calloc(std::size_t(chunks), 1)));
        if (!elements || !states)
            return false;
        elements_ = std::move(elements);
        states_ = std::move(states);
        length_ = length;
        chunks_ = chunks;
        clean_ = chunks;
        stale_ = 0;
        return true;
    }

    // [audio thread] Every element reads as zero from now on.
    void clear() noexcept {
        if (clean_ + stale_ == chunks_)
            return;
        std::uint8_t* s = states_.get();
        for (int c = 0; c < chunks_; ++c) {
            if (s[c] == dirty) {
                s[c] = stale;
                ++stale_;
            }
        }
    }

    // [audio thread] Before the elements from `position` on (`count` of them,
    // wrapping at the end) are read.
    void will_read(int position, int count) noexcept {
        if (stale_ != 0)
            touch(position, count, clean);
    }
    // [audio thread] Before they are written, or read and written.
    void will_write(int position, int count) noexcept {
        if (stale_ != 0 || clean_ != 0)
            touch(position, count, dirty);
    }

    T* data() noexcept { return elements_.get(); }
    const T* data() const noexcept { return elements_.get(); }
    int size() const noexcept { return length_; }
    // The raw elements, as they lie in memory: a stale chunk still holds what
    // was written before the clear.
    const T* begin() const noexcept { return data(); }
    const T* end() const noexcept { return data() + length_; }
    const T& operator[](int i) const noexcept { return data()[i]; }

private:
    enum : std::uint8_t { clean, dirty, stale };

    struct Free {
        void operator()(void* p) const noexcept { std::free(p); }
    };

    void touch(int position, int count, std::uint8_t after) noexcept {
        if (count <= 0)
            return;
        int first = (position & (length_ - 1)) / chunk_length;
        int last = ((position + count - 1) & (length_ - 1)) / chunk_length;
        if (count > length_ - chunk_length) {
            first = 0;
            last = chunks_ - 1;
        }
        std::uint8_t* s = states_.get();
        for (int c = first;; c = c + 1 == chunks_ ? 0 : c + 1) {
            if (s[c] == stale) {
                std::memset(static_cast<void*>(data() + std::size_t(c) * chunk_length), 0,
                            std::size_t(chunk_length) * sizeof(T));
                --stale_;
                s[c] = after;
                clean_ += after == clean ? 1 : 0;
            } else if (s[c] == clean && after == dirty) {
                s[c] = dirty;
                --clean_;
            }
            if (c == last)
                break;
        }
    }

    std::unique_ptr<T, Free> elements_;
    std::unique_ptr<std::uint8_t, Free> states_;
    int length_ = 0;
    int chunks_ = 0;
    int clean_ = 0;
    int stale_ = 0;
};

} // namespace effect

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Memory whose usable part ends where an inaccessible page begins: bytes
// placed at its end make any read past them fault at once, so a plug-in that
// trusts a size it was not given is caught at the first byte it overreads.
class GuardedBytes {
public:
    explicit GuardedBytes(std::size_t capacity);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    // Copies bytes so that they end at the guard (their length rounded up to
    // 8, so that the start stays 8-byte aligned); returns where they start.
    void* place(const std::vector<std::uint8_t>& bytes);
    std::size_t capacity() const { return usable_; }

private:
    std::uint8_t* base_ = nullptr;
    std::size_t usable_ = 0;
    std::size_t mapped_ = 0;
};

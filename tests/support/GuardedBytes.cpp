#include "support/GuardedBytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

GuardedBytes::GuardedBytes(std::size_t capacity) {
    const auto page = std::size_t(sysconf(_SC_PAGESIZE));
    usable_ = (capacity + page - 1) / page * page;
    mapped_ = usable_ + page;
    void* p = mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        throw std::bad_alloc();
    }
    base_ = static_cast<std::uint8_t*>(p);
    mprotect(base_ + usable_, page, PROT_NONE);
}

GuardedBytes::~GuardedBytes() {
    munmap(base_, mapped_);
}

void* GuardedBytes::place(const std::vector<std::uint8_t>& bytes) {
    const std::size_t length = std::min(usable_, (bytes.size() + 7) / 8 * 8);
    std::uint8_t* start = base_ + usable_ - length;
    std::memset(start, 0, length);
    if (!bytes.empty()) {
        std::memcpy(start, bytes.data(), std::min(length, bytes.size()));
    }
    return start;
}

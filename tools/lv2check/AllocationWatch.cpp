#include "AllocationWatch.h"

#include <atomic>
#include <cerrno>
#include <cstddef>

namespace {

std::atomic<bool> watching{false};
std::atomic<long> seen{0};
std::atomic<long> all{0};

inline void note() noexcept {
    if (watching.load(std::memory_order_relaxed)) {
        seen.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace

void AllocationWatch::begin() noexcept {
    seen.store(0, std::memory_order_relaxed);
    watching.store(true, std::memory_order_relaxed);
}

long AllocationWatch::end() noexcept {
    watching.store(false, std::memory_order_relaxed);
    const long n = seen.load(std::memory_order_relaxed);
    all.fetch_add(n, std::memory_order_relaxed);
    return n;
}

long AllocationWatch::total() noexcept {
    return all.load(std::memory_order_relaxed);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)

// The sanitizers' allocation hook (compiler-rt; GCC ships no header for it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, std::size_t),
    void (*free_hook)(const volatile void*));

namespace {

void on_malloc(const volatile void*, std::size_t) {
    note();
}

// The hooks come in pairs: without a free hook none is installed.
void on_free(const volatile void*) {}

// Installed before main, for the whole run.
[[maybe_unused]] const int hooks_installed =
    __sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);

} // namespace

#else

// The C library's own entry points, which ours forward to.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);

void* malloc(std::size_t size) {
    note();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) {
    note();
    return __libc_calloc(count, size);
}

void* realloc(void* p, std::size_t size) {
    note();
    return __libc_realloc(p, size);
}

void free(void* p) {
    __libc_free(p);
}

void* memalign(std::size_t alignment, std::size_t size) {
    note();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    note();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    note();
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    void* p = __libc_memalign(alignment, size);
    if (p == nullptr) {
        return ENOMEM;
    }
    *out = p;
    return 0;
}
}

#endif

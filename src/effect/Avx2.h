#pragma once

// Where the compiler can build functions for AVX2 beside the baseline (GCC
// and Clang on x86), QUEVRIN_AVX2 marks such a function, and the engine picks
// those forms at run time when the processor has AVX2. Every such form makes
// the operations its baseline form makes, in the same order and without
// fused multiply-adds, only more lanes at a time: the results are the same.
// Not for Windows: mingw-w64's GCC keeps 16-byte stack alignment but spills
// 256-bit registers with aligned moves.
#if defined(__SSE2__) && defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) &&        \
    !defined(_WIN32)
#define QUEVRIN_HAS_AVX2 1
#define QUEVRIN_AVX2 __attribute__((target("avx2")))
#define QUEVRIN_INLINE __attribute__((always_inline))
#include <immintrin.h>
#else
#define QUEVRIN_INLINE
#endif

namespace effect::avx2 {

// [any thread] Whether the processor runs the AVX2 forms.
inline bool available() noexcept {
#if defined(QUEVRIN_HAS_AVX2)
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2;
#else
    return false;
#endif
}

#if defined(QUEVRIN_HAS_AVX2)
// Runs `loop` (a lambda marked QUEVRIN_INLINE) compiled for AVX2: its loops
// vectorise eight floats wide.
template <typename Loop>
QUEVRIN_AVX2 void wide(const Loop& loop) noexcept {
    loop();
}
#endif

// Runs `loop` in its AVX2 form where the processor has it, else as built.
template <typename Loop>
inline void run(const Loop& loop) noexcept {
#if defined(QUEVRIN_HAS_AVX2)
    if (available()) {
        wide(loop);
        return;
    }
#endif
    loop();
}

} // namespace effect::avx2
